// The settings dialog run as settings mode runs it, driven through its controls: what it shows,
// what OK and the ways of cancelling store, the length rule, help, the About dialog on top of it
// and the live preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "res/resource.h"
#include "fw/afxcp.h"
#include "fw/afxgdi.h"
#include "ui/settings_dlg.h"
#include "win/dialog_driver.h"
#include "win/test_app.h"

namespace {

const std::string kStored = "[SYSTEM]\r\n"
                            "FROM_DATE=2003/04/01 18:30:15\r\n"
                            "TO_DATE=2030/12/24 07:08:09\r\n"
                            "TITLE=○×ソフト株式会社 納期\r\n"
                            "SUBJECT=第一次開発終了まで\r\n";

std::string Repeat(const char* piece, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += piece;
    return s;
}

void SetText(HWND hDlg, int nID, const std::string& text) {
    ::SetDlgItemTextW(hDlg, nID, CA2W(text.c_str()));
}
std::string Text(HWND hDlg, int nID) {
    return WindowText(::GetDlgItem(hDlg, nID));
}
// Ctrl+V and the context menu's paste: the box takes the clipboard's text in one change.
void Paste(HWND hEdit, const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(hEdit));
    ::EmptyClipboard();
    const std::size_t nBytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    ASSERT_NE(hMem, nullptr);
    std::memcpy(::GlobalLock(hMem), text.c_str(), nBytes);
    ::GlobalUnlock(hMem);
    EXPECT_NE(::SetClipboardData(CF_UNICODETEXT, hMem), nullptr);
    ::CloseClipboard();
    ::SendMessageW(hEdit, WM_PASTE, 0, 0);
}

class SettingsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_ini = m_dir.File("Kestrovin.ini");
        SetProfilePath(m_ini);
        TestApp().m_messages.clear();
        TestApp().m_helpRequests.clear();
        TestApp().m_bHelpStarts = TRUE;
    }
    std::size_t RunSettings(std::vector<DialogStep> steps) {
        return DriveDialogs([] { TestApp().RunSettingsDialog(); }, std::move(steps));
    }

    CTempDir m_dir;
    std::string m_ini;
};

TEST_F(SettingsDlgTest, OpensWithTheStoredValuesInAllSixControls) {
    WriteFileBytes(m_ini, kStored);
    // The launch loaded other values; the dialog reloads the file.
    TestApp().m_strTitle = "stale";
    const std::size_t steps =
        RunSettings({{kSettingsCaption, [](HWND hDlg) {
                          EXPECT_EQ(Format(PickerTime(hDlg, IDC_FROM_DATE)), "2003-04-01 18:30:15");
                          EXPECT_EQ(Format(PickerTime(hDlg, IDC_FROM_TIME)), "2003-04-01 18:30:15");
                          EXPECT_EQ(Format(PickerTime(hDlg, IDC_TO_DATE)), "2030-12-24 07:08:09");
                          EXPECT_EQ(Format(PickerTime(hDlg, IDC_TO_TIME)), "2030-12-24 07:08:09");
                          EXPECT_EQ(Text(hDlg, IDC_TITLE), "○×ソフト株式会社 納期");
                          EXPECT_EQ(Text(hDlg, IDC_SUBJECT), "第一次開発終了まで");
                          EXPECT_EQ(::GetFocus(), ::GetDlgItem(hDlg, IDC_TITLE));
                          EXPECT_EQ(TestApp().m_pMainWnd ? TestApp().m_pMainWnd->m_hWnd : nullptr, hDlg);
                          Click(hDlg, IDCANCEL);
                      }}});
    EXPECT_EQ(steps, 1u);
    EXPECT_EQ(TestApp().m_pMainWnd, nullptr);
}

// The template's texts read back as it holds them, whatever the system's ANSI code page.
TEST_F(SettingsDlgTest, ShowsTheTemplatesTextsWhole) {
    RunSettings({{kSettingsCaption, [](HWND hDlg) {
                      EXPECT_EQ(WindowText(hDlg), kSettingsCaption);
                      std::vector<std::string> texts;
                      for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
                          texts.push_back(WindowText(h));
                      for (const char* label : {"タイトル", "件名", "OK", "キャンセル", "ヘルプ",
                                                "期限開始日情報", "期限終了日情報"})
                          EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
                      Click(hDlg, IDCANCEL);
                  }}});
}

// Both dialogs draw their Japanese in a face Windows has for it, at the template's height,
// whatever the ANSI code page; the links keep their own font. The fonts go with the dialogs.
TEST_F(SettingsDlgTest, EveryControlDrawsInAJapaneseFace) {
    std::vector<HFONT> fonts;
    const auto check = [&](HWND hDlg) {
        LOGFONTW dialogFont{};
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hDlg, WM_GETFONT, 0, 0)),
                                 sizeof dialogFont, &dialogFont));
        int nChecked = 0;
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            // Icons, the rule and the preview keep no font; the links have their own.
            const HFONT hFont = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
            const int id = ::GetDlgCtrlID(h);
            if (!hFont || id == IDC_MAIL_LINK || id == IDC_WEB_LINK)
                continue;
            SCOPED_TRACE(WindowText(h));
            LOGFONTW lf{};
            ASSERT_TRUE(::GetObjectW(hFont, sizeof lf, &lf));
            EXPECT_EQ(lf.lfHeight, dialogFont.lfHeight);
            const CClientDC dc(h);
            const CSelectObject select(dc, hFont);
            wchar_t face[LF_FACESIZE] = L"";
            ::GetTextFaceW(dc, LF_FACESIZE, face);
            EXPECT_EQ(::GetTextCharset(dc), SHIFTJIS_CHARSET);
            EXPECT_TRUE(AfxHasJapaneseFace(CW2A(face))) << CW2A(face).GetString();
            fonts.push_back(hFont);
            ++nChecked;
        }
        EXPECT_GE(nChecked, 3); // the About dialog has three: OK and two labels
    };
    const std::size_t steps = RunSettings({
        {kSettingsCaption,
         [&](HWND hDlg) {
             check(hDlg);
             ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_VERSION_INFO, BN_CLICKED),
                            reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_VERSION_INFO)));
         }},
        {kAboutCaption,
         [&](HWND hAbout) {
             check(hAbout);
             Click(hAbout, IDOK);
         }},
        {kSettingsCaption, [](HWND hDlg) { Click(hDlg, IDCANCEL); }},
    });
    EXPECT_EQ(steps, 3u);
    for (const HFONT hFont : fonts)
        EXPECT_EQ(::GetObjectType(hFont), 0u);
}

TEST_F(SettingsDlgTest, OkStoresWhatTheControlsHold) {
    const struct {
        const char* name;
        std::string title, subject;
    } cases[] = {
        {"texts", "新しいタイトル", "件名"},
        {"empty texts", "", ""},
        {"60 bytes", Repeat("あ", 30), Repeat("x", 60)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(m_ini.c_str());
        RunSettings({{kSettingsCaption, [&](HWND hDlg) {
                          SetPickerTime(hDlg, IDC_FROM_DATE, 2003, 4, 1, 7, 1, 2);
                          SetPickerTime(hDlg, IDC_FROM_TIME, 2010, 12, 31, 18, 30, 15);
                          SetPickerTime(hDlg, IDC_TO_DATE, 2003, 4, 2, 23, 59, 59);
                          SetPickerTime(hDlg, IDC_TO_TIME, 1999, 1, 1, 6, 0, 59);
                          SetText(hDlg, IDC_TITLE, c.title);
                          SetText(hDlg, IDC_SUBJECT, c.subject);
                          Click(hDlg, IDOK);
                      }}});
        // Date fields from the date picker, time of day (seconds included) from the time picker.
        const std::string stored = ReadFileBytes(m_ini);
        for (const std::string& line :
             {std::string("FROM_DATE=2003/04/01 18:30:15"), std::string("TO_DATE=2003/04/02 06:00:59"),
              "TITLE=" + c.title, "SUBJECT=" + c.subject})
            EXPECT_NE(stored.find("\n" + line + "\r\n"), std::string::npos) << line << " in\n" << stored;
        EXPECT_EQ(std::string(TestApp().m_strTitle), c.title);
        EXPECT_TRUE(TestApp().m_messages.empty());
    }
}

TEST_F(SettingsDlgTest, EnterIsOkAndAStartAfterTheDueTimeIsSavedAsEntered) {
    WriteFileBytes(m_ini, kStored);
    RunSettings({{kSettingsCaption, [](HWND hDlg) {
                      SetPickerTime(hDlg, IDC_FROM_DATE, 2031, 1, 1, 0, 0, 0);
                      SetPickerTime(hDlg, IDC_FROM_TIME, 2031, 1, 1, 12, 0, 0);
                      SetPickerTime(hDlg, IDC_TO_DATE, 2004, 1, 1, 0, 0, 0);
                      SetPickerTime(hDlg, IDC_TO_TIME, 2004, 1, 1, 8, 0, 0);
                      PressKey(VK_RETURN);
                  }}});
    const std::string text = ReadFileBytes(m_ini);
    EXPECT_NE(text.find("FROM_DATE=2031/01/01 12:00:00\r\nTO_DATE=2004/01/01 08:00:00\r\n"),
              std::string::npos)
        << text;
}

TEST_F(SettingsDlgTest, CancelEscapeAndTheCloseBoxWriteNothing) {
    const struct {
        const char* name;
        void (*cancel)(HWND);
    } ways[] = {
        {"Cancel button", [](HWND hDlg) { Click(hDlg, IDCANCEL); }},
        {"Escape", [](HWND) { PressKey(VK_ESCAPE); }},
        {"close box", [](HWND hDlg) { ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        WriteFileBytes(m_ini, kStored);
        const std::size_t steps = RunSettings({{kSettingsCaption, [&](HWND hDlg) {
                                                    SetText(hDlg, IDC_TITLE, "edited");
                                                    SetPickerTime(hDlg, IDC_TO_DATE, 2004, 1, 1, 0, 0, 0);
                                                    way.cancel(hDlg);
                                                }}});
        EXPECT_EQ(steps, 1u);
        EXPECT_EQ(FindDialog(kSettingsCaption), nullptr);
        EXPECT_EQ(ReadFileBytes(m_ini), kStored);
        EXPECT_EQ(std::string(TestApp().m_strTitle), "○×ソフト株式会社 納期");
        EXPECT_EQ(std::string(TestApp().m_timeTo.Format("%Y/%m/%d %H:%M:%S")), "2030/12/24 07:08:09");
    }
}

TEST_F(SettingsDlgTest, TextsOverSixtyBytesAreRefusedWithTheFocusOnTheirBox) {
    WriteFileBytes(m_ini, kStored);
    const std::string message = "Please enter no more than 60 characters.";
    RunSettings({
        {kSettingsCaption,
         [&](HWND hDlg) {
             // Both too long: only the subject, exchanged first, is reported.
             SetText(hDlg, IDC_TITLE, Repeat("x", 61));
             SetText(hDlg, IDC_SUBJECT, Repeat("あ", 30) + "x");
             Click(hDlg, IDOK);
             ASSERT_EQ(TestApp().m_messages.size(), 1u);
             EXPECT_EQ(TestApp().m_messages[0].text, message);
             EXPECT_TRUE(TestApp().m_messages[0].type & MB_ICONEXCLAMATION);
             EXPECT_EQ(::GetFocus(), ::GetDlgItem(hDlg, IDC_SUBJECT));
             DWORD start = 1, end = 0;
             ::SendDlgItemMessageA(hDlg, IDC_SUBJECT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                   reinterpret_cast<LPARAM>(&end));
             EXPECT_EQ(start, 0u);
             EXPECT_EQ(end, 31u); // 30 double-byte characters and one more
             EXPECT_TRUE(::IsWindowVisible(hDlg));

             // Then the title.
             SetText(hDlg, IDC_SUBJECT, "ok");
             Click(hDlg, IDOK);
             ASSERT_EQ(TestApp().m_messages.size(), 2u);
             EXPECT_EQ(::GetFocus(), ::GetDlgItem(hDlg, IDC_TITLE));
             EXPECT_EQ(Text(hDlg, IDC_TITLE), Repeat("x", 61)); // left as the user left it
             EXPECT_EQ(ReadFileBytes(m_ini), kStored);

             SetText(hDlg, IDC_TITLE, Repeat("x", 60));
             Click(hDlg, IDOK);
         }},
    });
    EXPECT_EQ(TestApp().m_messages.size(), 2u);
    EXPECT_NE(ReadFileBytes(m_ini).find("TITLE=" + Repeat("x", 60) + "\r\nSUBJECT=ok\r\n"),
              std::string::npos);
}

TEST_F(SettingsDlgTest, AStoredLongerTitleIsShownWholeAndTakesNoMore) {
    const std::string longTitle = Repeat("長", 35); // 70 bytes, edited by hand
    WriteFileBytes(m_ini, "[SYSTEM]\r\nTITLE=" + longTitle + "\r\n");
    RunSettings({{kSettingsCaption, [&](HWND hDlg) {
                      EXPECT_EQ(Text(hDlg, IDC_TITLE), longTitle);
                      // Over the limit already: nothing more goes in, but the user may shorten it.
                      const HWND hTitle = ::GetDlgItem(hDlg, IDC_TITLE);
                      ::SendMessageW(hTitle, EM_SETSEL, 70, 70);
                      ::SendMessageW(hTitle, WM_CHAR, L'a', 1);
                      EXPECT_EQ(Text(hDlg, IDC_TITLE), longTitle);
                      ::SendMessageW(hTitle, WM_CHAR, VK_BACK, 1);
                      EXPECT_EQ(Text(hDlg, IDC_TITLE), Repeat("長", 34));
                      Click(hDlg, IDOK);
                      EXPECT_EQ(TestApp().m_messages.size(), 1u);
                      EXPECT_EQ(::GetFocus(), ::GetDlgItem(hDlg, IDC_TITLE));
                      Click(hDlg, IDCANCEL);
                  }}});
    EXPECT_EQ(ReadFileBytes(m_ini), "[SYSTEM]\r\nTITLE=" + longTitle + "\r\n");
}

// What the user inserts stops at 60 bytes of code page 932, whole characters only, however many
// characters that is; the caret stays after what was taken.
TEST_F(SettingsDlgTest, TypingAndPastingStopAtSixtyBytes) {
    enum How { kTyped, kPasted, kComposed }; // by character, at once, or through an input method
    const struct {
        const char* name;
        std::string before;
        int selStart, selEnd;
        std::string insert;
        How how;
        std::string after;
        int caret;
    } cases[] = {
        {"typed single-byte", "", 0, 0, Repeat("a", 70), kTyped, Repeat("a", 60), 60},
        {"typed double-byte", "", 0, 0, Repeat("あ", 31), kTyped, Repeat("あ", 30), 30},
        {"one byte left", "x" + Repeat("あ", 29), 30, 30, "いb", kTyped, "x" + Repeat("あ", 29) + "b", 31},
        {"pasted in the middle", "ab", 1, 1, Repeat("う", 40), kPasted, "a" + Repeat("う", 29) + "b", 30},
        {"pasted over a selection", Repeat("x", 60), 0, 4, "ええええ", kPasted, "ええ" + Repeat("x", 56), 2},
        // The paste starts like the user's text after the caret, or ends like the text before it:
        // only the paste is cut, at its end.
        {"pasted, starting like the text after the caret", Repeat("a", 48) + "納期まで", 48, 48, "納期は",
         kPasted, Repeat("a", 48) + "納期納期まで", 50},
        {"pasted, ending like the text before the caret", Repeat("a", 46) + "納期まで", 48, 48, "はは納期",
         kPasted, Repeat("a", 46) + "納期はは納まで", 51},
        {"pasted over a selection, starting like it", Repeat("a", 48) + "納期まで", 48, 49, "納期はは",
         kPasted, Repeat("a", 48) + "納期は期まで", 51},
        {"deleted from a stored long text", Repeat("長", 35), 10, 10, "\b", kTyped, Repeat("長", 34), 9},
        {"composed", Repeat("x", 57), 57, 57, "おおお", kComposed, Repeat("x", 57) + "お", 58},
    };
    RunSettings({{kSettingsCaption, [&](HWND hDlg) {
                      const HWND hSubject = ::GetDlgItem(hDlg, IDC_SUBJECT);
                      for (const auto& c : cases) {
                          SCOPED_TRACE(c.name);
                          SetText(hDlg, IDC_SUBJECT, c.before);
                          ::SendMessageW(hSubject, EM_SETSEL, c.selStart, c.selEnd);
                          const std::wstring insert(CA2W(c.insert.c_str()));
                          if (c.how == kComposed) {
                              // The unfinished text stands whole until the input method ends.
                              ::SendMessageW(hSubject, WM_IME_STARTCOMPOSITION, 0, 0);
                              for (const wchar_t ch : insert)
                                  ::SendMessageW(hSubject, WM_CHAR, ch, 1);
                              EXPECT_EQ(Text(hDlg, IDC_SUBJECT), c.before + c.insert);
                              ::SendMessageW(hSubject, WM_IME_ENDCOMPOSITION, 0, 0);
                          } else if (c.how == kTyped) {
                              for (const wchar_t ch : insert)
                                  ::SendMessageW(hSubject, WM_CHAR, ch, 1);
                          } else {
                              Paste(hSubject, insert);
                          }
                          EXPECT_EQ(Text(hDlg, IDC_SUBJECT), c.after);
                          DWORD start = 0, end = 0;
                          ::SendMessageW(hSubject, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                         reinterpret_cast<LPARAM>(&end));
                          EXPECT_EQ(start, static_cast<DWORD>(c.caret));
                          EXPECT_EQ(end, static_cast<DWORD>(c.caret));
                      }
                      Click(hDlg, IDCANCEL);
                  }}});
}

TEST_F(SettingsDlgTest, AStoredTimeWithoutLocalFieldsLeavesThePickersAtNow) {
    // An empty TO_DATE reads as the invalid time, which no picker can show.
    WriteFileBytes(m_ini, "[SYSTEM]\r\nFROM_DATE=2003/04/01 18:30:15\r\nTO_DATE=\r\n");
    const CTime before = CTime::GetCurrentTime();
    RunSettings({{kSettingsCaption, [](HWND hDlg) {
                      EXPECT_EQ(Format(PickerTime(hDlg, IDC_FROM_DATE)), "2003-04-01 18:30:15");
                      Click(hDlg, IDOK);
                  }}});
    const CTime after = CTime::GetCurrentTime();
    // Stored as the pickers held it: now, to the second.
    EXPECT_GE(TestApp().m_timeTo, before);
    EXPECT_LE(TestApp().m_timeTo, after);
    EXPECT_NE(
        ReadFileBytes(m_ini).find("TO_DATE=" + std::string(TestApp().m_timeTo.Format("%Y/%m/%d %H:%M:%S"))),
        std::string::npos);
}

TEST_F(SettingsDlgTest, DatePickersOfferOnlyTheDaysATimeCanHold) {
    WriteFileBytes(m_ini, kStored);
    RunSettings({{kSettingsCaption, [](HWND hDlg) {
                      for (const int id : {IDC_FROM_DATE, IDC_TO_DATE}) {
                          SYSTEMTIME range[2]{};
                          const DWORD flags = static_cast<DWORD>(::SendDlgItemMessageA(
                              hDlg, id, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
                          ASSERT_EQ(flags, static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
                          // In Japan the span runs from 1970-01-01 09:00 to 3001-01-01 08:59:59.
                          EXPECT_EQ(Format(range[0]).substr(0, 10), "1970-01-01");
                          EXPECT_EQ(Format(range[1]).substr(0, 10), "3001-01-01");
                      }
                      // Beyond it nothing is taken; inside it, past 2038 too, everything is.
                      SetPickerTime(hDlg, IDC_TO_DATE, 3001, 1, 2, 0, 0, 0);
                      EXPECT_EQ(Format(PickerTime(hDlg, IDC_TO_DATE)), "2030-12-24 07:08:09");
                      SetPickerTime(hDlg, IDC_TO_DATE, 1969, 12, 31, 0, 0, 0);
                      EXPECT_EQ(Format(PickerTime(hDlg, IDC_TO_DATE)), "2030-12-24 07:08:09");
                      SetPickerTime(hDlg, IDC_TO_DATE, 2040, 1, 1, 0, 0, 0);
                      EXPECT_EQ(Format(PickerTime(hDlg, IDC_TO_DATE)), "2040-01-01 00:00:00");
                      // On the last day, a time of day after the span's end is stored as the end.
                      // The date pickers' own times of day lie outside the span on purpose.
                      SetPickerTime(hDlg, IDC_TO_DATE, 3001, 1, 1, 18, 0, 0);
                      SetPickerTime(hDlg, IDC_TO_TIME, 2000, 1, 1, 23, 0, 0);
                      SetPickerTime(hDlg, IDC_FROM_DATE, 1970, 1, 1, 5, 0, 0);
                      SetPickerTime(hDlg, IDC_FROM_TIME, 2000, 1, 1, 8, 59, 59);
                      Click(hDlg, IDOK);
                  }}});
    const std::string text = ReadFileBytes(m_ini);
    EXPECT_NE(text.find("FROM_DATE=1970/01/01 09:00:00\r\nTO_DATE=3001/01/01 08:59:59\r\n"),
              std::string::npos)
        << text;
}

TEST_F(SettingsDlgTest, AFailedSaveIsReportedNamingTheFile) {
    // A folder where the file should be: every write fails.
    ::CreateDirectoryA(m_ini.c_str(), nullptr);
    RunSettings({{kSettingsCaption, [](HWND hDlg) { Click(hDlg, IDOK); }}});
    ::RemoveDirectoryA(m_ini.c_str());
    ASSERT_EQ(TestApp().m_messages.size(), 1u);
    const std::string& text = TestApp().m_messages[0].text;
    EXPECT_EQ(text.rfind("設定を保存できませんでした。", 0), 0u) << text;
    EXPECT_NE(text.find(m_ini), std::string::npos) << text;
}

TEST_F(SettingsDlgTest, F1AsksForTheActiveDialogsTopic) {
    RunSettings({
        {kSettingsCaption, [](HWND) { PressKey(VK_F1); }},
        {kSettingsCaption,
         [](HWND hDlg) {
             EXPECT_EQ(TestApp().m_helpRequests, std::vector<DWORD_PTR>{0x20000 + IDD_SETTINGS});
             TestApp().m_bHelpStarts = FALSE;
             ::PostMessageA(hDlg, WM_COMMAND, IDC_VERSION_INFO, 0);
         }},
        {kAboutCaption, [](HWND) { PressKey(VK_F1); }},
        {kAboutCaption,
         [](HWND hAbout) {
             EXPECT_EQ(TestApp().m_helpRequests.back(), 0x20000u + IDD_ABOUT);
             ASSERT_EQ(TestApp().m_messages.size(), 1u);
             EXPECT_EQ(TestApp().m_messages[0].text, "Failed to launch help.");
             Click(hAbout, IDOK);
         }},
        {kSettingsCaption, [](HWND hDlg) { Click(hDlg, IDCANCEL); }},
    });
    EXPECT_EQ(TestApp().m_helpRequests.size(), 2u);
}

TEST_F(SettingsDlgTest, HelpButtonOpensTheAboutDialogOverTheSettings) {
    WriteFileBytes(m_ini, kStored);
    HWND hSettings = nullptr;
    const std::size_t steps = RunSettings({
        {kSettingsCaption,
         [&](HWND hDlg) {
             hSettings = hDlg;
             SetText(hDlg, IDC_TITLE, "編集中");
             ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_VERSION_INFO, BN_CLICKED),
                            reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, IDC_VERSION_INFO)));
         }},
        {kAboutCaption,
         [&](HWND hAbout) {
             EXPECT_EQ(::GetWindow(hAbout, GW_OWNER), hSettings);
             EXPECT_FALSE(::IsWindowEnabled(hSettings));
             ::PostMessageA(hAbout, WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {kSettingsCaption,
         [](HWND hDlg) {
             EXPECT_EQ(Text(hDlg, IDC_TITLE), "編集中");
             EXPECT_EQ(::GetActiveWindow(), hDlg);
             Click(hDlg, IDCANCEL);
         }},
    });
    EXPECT_EQ(steps, 3u);
    EXPECT_EQ(ReadFileBytes(m_ini), kStored);
}

// The dialog object itself, run without the settings mode around it, to reach its preview.
TEST_F(SettingsDlgTest, PreviewDrawsTheStoredSettingsAndKeepsCounting) {
    CTestApp& app = TestApp();
    app.m_timeFrom = CTime(2026, 12, 1, 9, 0, 0);
    app.m_timeTo = CTime(2027, 3, 31, 18, 30, 0);
    app.m_strTitle = "タイトル";
    app.m_strSubject = "件名";
    RECT marker{};
    HBITMAP hBitmap = nullptr;
    {
        CSettingsDlg dlg;
        DriveDialogs([&] { EXPECT_EQ(dlg.DoModal(), IDCANCEL); },
                     {{kSettingsCaption, [&](HWND hDlg) {
                           ASSERT_TRUE(dlg.m_wndPreview.m_hWnd);
                           EXPECT_EQ(::GetParent(dlg.m_wndPreview.m_hWnd), hDlg);
                           EXPECT_TRUE(::IsWindowVisible(dlg.m_wndPreview.m_hWnd));
                           ::GetWindowRect(::GetDlgItem(hDlg, IDC_PREVIEW), &marker);
                           RECT preview{};
                           ::GetWindowRect(dlg.m_wndPreview.m_hWnd, &preview);
                           EXPECT_TRUE(::EqualRect(&marker, &preview));

                           // Some of the frame is ink, and the frame changes as the seconds go by.
                           const HDC hBuffer = dlg.m_wndPreview.GetBufferDC();
                           ASSERT_TRUE(hBuffer);
                           hBitmap = dlg.m_wndPreview.GetBufferBitmap();
                           const int W = preview.right - preview.left, H = preview.bottom - preview.top;
                           auto snapshot = [&] {
                               std::string pixels;
                               for (int y = 0; y < H; ++y)
                                   for (int x = 0; x < W; ++x)
                                       pixels += ::GetPixel(hBuffer, x, y) ? '#' : '.';
                               return pixels;
                           };
                           const std::string first = snapshot();
                           EXPECT_NE(first.find('#'), std::string::npos);
                           EXPECT_TRUE(PumpUntil([&] { return snapshot() != first; }, 2500));
                           Click(hDlg, IDCANCEL);
                       }}});
        EXPECT_EQ(dlg.m_wndPreview.m_hWnd, nullptr);
    }
    // The back buffer belongs to the preview object, which goes with the dialog object.
    EXPECT_EQ(::GetObjectType(hBitmap), 0u);
}

} // namespace
