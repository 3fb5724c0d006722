// The date-time picker wrapper against a real picker: the moment GetTime makes of its fields.
#include <gtest/gtest.h>

#include "fw/afxctl.h"
#include "win/dialog_driver.h"

namespace {

TEST(DateTimeCtrlTest, GetTimeIsTheLocalTimeOfTheFieldsAndZeroBefore1900) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_DATE_CLASSES;
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    const HWND hPicker = ::CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_POPUP, 0, 0, 120, 20, nullptr,
                                           nullptr, nullptr, nullptr);
    ASSERT_TRUE(hPicker);
    CDateTimeCtrl ctl;
    ASSERT_TRUE(ctl.SubclassWindow(hPicker));
    // The test process runs in Japan (UTC+9).
    const struct {
        WORD y, mo, d, h, mi, s;
        std::int32_t expected;
    } cases[] = {
        {2003, 4, 1, 18, 30, 15, CTime(2003, 4, 1, 18, 30, 15).GetTime()},
        {1970, 1, 1, 9, 0, 0, 0},
        {1970, 1, 1, 8, 59, 59, -1},
        {1900, 1, 1, 0, 0, 0, -1},
        {1899, 12, 31, 23, 59, 59, 0},
        {1601, 1, 1, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SYSTEMTIME st{};
        st.wYear = c.y;
        st.wMonth = c.mo;
        st.wDay = c.d;
        st.wHour = c.h;
        st.wMinute = c.mi;
        st.wSecond = c.s;
        ASSERT_TRUE(::SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)))
            << Format(st);
        CTime time(12345);
        EXPECT_EQ(ctl.GetTime(time), static_cast<DWORD>(GDT_VALID)) << Format(st);
        EXPECT_EQ(time.GetTime(), c.expected) << Format(st);
    }
    ctl.UnsubclassWindow();
    ::DestroyWindow(hPicker);
}

} // namespace
