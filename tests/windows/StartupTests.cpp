// Start-up as InitInstance runs it, in child processes of this test program whose
// command lines are chosen by the test: the switch, the context's life, the main window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "frame/PaltoDlg.h"

namespace {

constexpr wchar_t kChildVariable[] = L"PALTO_STARTUP_CHILD";

// Exit codes of the child: what it saw while the wizard window was up.
enum ChildResult : DWORD {
    kTestModeOn = 10,
    kTestModeOff = 11,
    kNoWindow = 12,
    kContextLeft = 13,
};

DWORD g_childResult = kNoWindow;

// In the child: InitInstance as the program runs it; a timer inside the wizard's modal
// loop records the context and closes the window.
int RunChild()
{
    palto::test::RunSoon([] {
        auto* wizard = dynamic_cast<CPaltoDlg*>(theApp.m_pMainWnd);
        if (!wizard || !wizard->m_hWnd || !theApp.m_pContext) return;
        g_childResult = theApp.m_pContext->testMode ? kTestModeOn : kTestModeOff;
        wizard->EndDialog(IDCANCEL);
    });
    const BOOL keepRunning = theApp.InitInstance();
    if (keepRunning || theApp.m_pContext || theApp.m_pMainWnd) return kContextLeft;
    return static_cast<int>(g_childResult);
}

DWORD RunChildWithCommandLine(std::wstring commandLine)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableW(kChildVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    DWORD code = 0;
    if (::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ::WaitForSingleObject(info.hProcess, 30000);
        ::GetExitCodeProcess(info.hProcess, &code);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    ::SetEnvironmentVariableW(kChildVariable, nullptr);
    return code;
}

struct SwitchCase {
    const wchar_t* arguments;
    DWORD expected;
};

class StartupSwitch : public testing::TestWithParam<SwitchCase> {};

TEST_P(StartupSwitch, ReachesTheWizardContext)
{
    // The program path is part of the command line; it is given here without '-' or '/'.
    EXPECT_EQ(RunChildWithCommandLine(std::wstring(L"Palto.exe ") + GetParam().arguments), GetParam().expected)
        << GetParam().arguments;
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
    if (::GetEnvironmentVariableW(kChildVariable, nullptr, 0) > 0) return RunChild();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
