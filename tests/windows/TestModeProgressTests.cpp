// The progress page in test mode, run modally: the simulated restore from its start to
// its end, and a cancel. Ticks are sent to the page from within its modal loop, so the
// simulation takes no 30 seconds.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "resources/ids.h"
#include "testmode/TestMode_RestoreProgress.h"

namespace {

using palto::test::MessageBoxes;
using palto::test::RunSoon;
using palto::test::ScopedContext;

const std::wstring kRestoring = L"Restoring your data...";
const std::wstring kFinishing = L"Finishing the restore...";
const std::wstring kDone = L"The restore has finished successfully. The program closes when you click OK.";
const std::wstring kReallyCancel = L"Do you really want to cancel?";

class TestProgressPage : public CTestMode_RestoreProgress {
public:
    using CTestMode_RestoreProgress::CTestMode_RestoreProgress;

    void Tick() { SendMessage(WM_TIMER, kProgressTimer, 0); }
    void Ticks(int count)
    {
        for (int i = 0; i < count && m_hWnd; ++i) Tick();
    }
    std::wstring Stage() const { return TextOf(GetDlgItem(IDC_PROGRESS_STAGE)).str(); }
    int Bar() const { return static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0)); }
    bool QuitPending() const
    {
        MSG msg{};
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }
};

class TestModeProgress : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        palto::test::LoadEnglishResources();
        ::InitCommonControls();
    }

    void SetUp() override { context->testMode = true; }

    // Runs the page modally with `steps` run inside its loop; true when the page ended
    // the application with exit code 0. A script that leaves the page running ends the
    // loop itself with another code, so that a fault fails the test instead of hanging it.
    bool Run(const std::function<void()>& steps)
    {
        RunSoon([&] {
            steps();
            if (!page.QuitPending()) {
                ADD_FAILURE() << "the page is still running";
                ::PostQuitMessage(99);
            }
        });
        EXPECT_EQ(page.DoModal(), -1);
        MSG msg{};
        return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 0;
    }

    ScopedContext context;
    MessageBoxes boxes;
    TestProgressPage page{*context};
};

TEST_F(TestModeProgress, SimulatesTheRestoreInAHundredTicksAndEndsTheApplicationOnce)
{
    const bool quit = Run([&] {
        EXPECT_EQ(page.Stage(), kRestoring);
        EXPECT_EQ(CWnd::TextOf(page.m_hWnd).str(), L"Tolvane Restore");
        EXPECT_EQ(page.GetDlgItemText(IDC_PROGRESS_PERCENT).str(), L"");
        EXPECT_EQ(page.GetDlgItemText(IDC_PROGRESS_TIME).str(), L"");

        page.Ticks(70);
        EXPECT_EQ(page.Stage(), kRestoring);
        EXPECT_EQ(page.Bar(), 70);
        page.Tick();
        EXPECT_EQ(page.Stage(), kFinishing);
        EXPECT_EQ(page.Bar(), 71);
        page.Ticks(28);
        EXPECT_EQ(page.Bar(), 99);
        EXPECT_TRUE(boxes.texts().empty());
        EXPECT_FALSE(page.QuitPending());

        page.Tick();
        EXPECT_EQ(page.Bar(), 100);
        EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kDone});
        // A tick that was on its way when the timer stopped changes nothing.
        page.Tick();
        EXPECT_EQ(page.GetDlgItemText(IDC_PROGRESS_PERCENT).str(), L"");
        EXPECT_EQ(page.GetDlgItemText(IDC_PROGRESS_TIME).str(), L"");
    });
    EXPECT_TRUE(quit);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kDone});
}

TEST_F(TestModeProgress, RunsOnItsOwnTimer)
{
    const bool quit = Run([&] {
        const ULONGLONG deadline = ::GetTickCount64() + 20000;   // a busy machine is slow
        while (page.Bar() < 2 && ::GetTickCount64() < deadline) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            palto::test::PumpMessages();
        }
        EXPECT_GE(page.Bar(), 2) << "the simulation did not move within 20 seconds";
        page.Ticks(100);
    });
    EXPECT_TRUE(quit);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kDone});
}

TEST_F(TestModeProgress, CancelAnsweredNoGoesOnAndYesEndsWithoutTheSuccessMessage)
{
    boxes.Answer(IDNO);
    boxes.Answer(IDYES);
    const bool quit = Run([&] {
        page.Ticks(40);
        page.SendMessage(WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kReallyCancel});
        EXPECT_FALSE(page.QuitPending());
        page.Tick();
        EXPECT_EQ(page.Bar(), 41);

        page.SendMessage(WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(page.QuitPending());
        page.Ticks(60);
        EXPECT_EQ(page.Bar(), 41);
    });
    EXPECT_TRUE(quit);
    EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{kReallyCancel, kReallyCancel}));
}

}  // namespace
