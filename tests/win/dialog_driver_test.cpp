// The dialog driver's watchdog: a step that cannot be carried out fails at once, naming itself,
// and the dialogs it leaves open are closed, so the test binary goes on.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "res/resource.h"
#include "win/dialog_driver.h"
#include "win/test_app.h"

namespace {

BOOL CALLBACK CancelFromOutside(HWND hWnd, LPARAM) {
    if (::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd))
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// From a second thread, cancels whatever the test thread still shows after a while: without it
// a driver that never gives up would hang this test instead of failing it.
class CBackstop {
public:
    explicit CBackstop(int nAfterMs)
        : m_thread([this, nAfterMs, tid = ::GetCurrentThreadId()] {
              const auto start = std::chrono::steady_clock::now();
              while (!m_bDone) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
                  if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(nAfterMs))
                      ::EnumThreadWindows(tid, &CancelFromOutside, 0);
              }
          }) {}
    ~CBackstop() {
        m_bDone = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_bDone{false};
    std::thread m_thread;
};

TEST(DialogDriverTest, AStuckStepFailsAtOnceNamingItAndClosesWhatIsOpen) {
    CTempDir dir;
    SetProfilePath(dir.File("Kestrovin.ini"));
    const auto openAbout = [](HWND hDlg) { ::PostMessageA(hDlg, WM_COMMAND, IDC_VERSION_INFO, 0); };
    const auto nothing = [](HWND) {};
    const struct {
        const char* name;
        std::vector<DialogStep> steps;
        std::size_t carriedOut;
        const char* failure;
    } cases[] = {
        {"never appears", {{"no such dialog", nothing}}, 0, "step 1 of 1 (dialog \"no such dialog\")"},
        // The About dialog disables the settings dialog below it.
        {"stays disabled", {{kSettingsCaption, openAbout}, {kSettingsCaption, nothing}}, 1, "step 2 of 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Closing a dialog takes Wine up to 2 s, more on a busy machine; the backstop comes well
        // after the driver's close.
        CBackstop backstop(30000);
        const DWORD start = ::GetTickCount();
        std::size_t carriedOut = 0;
        EXPECT_NONFATAL_FAILURE(
            carriedOut = DriveDialogs([] { TestApp().RunSettingsDialog(); }, c.steps, 1000), c.failure);
        EXPECT_EQ(carriedOut, c.carriedOut);
        EXPECT_LT(::GetTickCount() - start, 20000u) << "not closed by the driver";
        EXPECT_EQ(FindDialog(kSettingsCaption), nullptr);
        EXPECT_EQ(FindDialog(kAboutCaption), nullptr);
    }
}

} // namespace
