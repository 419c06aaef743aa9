// Start-up as InitInstance runs it, in child processes whose command lines the test
// chooses: the test-mode switch reaches the wizard context, which lives exactly as long
// as the wizard window.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "frame/PaltoDlg.h"

namespace {

// Exit codes of the child: what it saw while the wizard window was up.
enum ChildResult : DWORD {
    kTestModeOn = 10,
    kTestModeOff = 11,
    kNoWindow = 12,
    kContextLeft = 13,
};

int RunInitInstance()
{
    static DWORD seen = kNoWindow;
    palto::test::RunSoon([] {
        auto* wizard = dynamic_cast<CPaltoDlg*>(theApp.m_pMainWnd);
        if (!wizard || !wizard->m_hWnd || !theApp.m_pContext) return;
        seen = theApp.m_pContext->testMode ? kTestModeOn : kTestModeOff;
        wizard->EndDialog(IDCANCEL);
    });
    const BOOL keepRunning = theApp.InitInstance();
    if (keepRunning || theApp.m_pContext || theApp.m_pMainWnd) return kContextLeft;
    return static_cast<int>(seen);
}

struct SwitchCase {
    const wchar_t* arguments;
    DWORD expected;
};

class StartupSwitch : public testing::TestWithParam<SwitchCase> {};

TEST_P(StartupSwitch, ReachesTheWizardContext)
{
    // The program path is part of the command line; here it has no '-' or '/'.
    const std::wstring commandLine = std::wstring(L"Palto.exe ") + GetParam().arguments;
    EXPECT_EQ(palto::test::RunInChild("init", commandLine), GetParam().expected) << GetParam().arguments;
}

INSTANTIATE_TEST_SUITE_P(CommandLines, StartupSwitch, testing::Values(
    SwitchCase{L"-test", kTestModeOn},
    SwitchCase{L"/TEST", kTestModeOn},
    SwitchCase{L"-x-test", kTestModeOn},
    SwitchCase{L"-Test", kTestModeOff},
    SwitchCase{L"-testing", kTestModeOff},
    SwitchCase{L"-test -x", kTestModeOff},
    SwitchCase{L"", kTestModeOff}));

}  // namespace

int main(int argc, char** argv)
{
    return palto::test::TestMain(argc, argv, {{"init", RunInitInstance}});
}
