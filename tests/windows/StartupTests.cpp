// Start-up as InitInstance runs it, in child processes whose command lines and folders
// the test chooses: the test-mode switch reaches the wizard context, which lives exactly
// as long as the wizard window, and the configuration file is found beside the program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/ArchiveQuery.h"
#include "app/CallbackTargets.h"
#include "frame/PaltoDlg.h"
#include "restore/RestoreNotifications.h"

namespace {

// Exit codes of the child: what it saw while the wizard window was up.
enum ChildResult : DWORD {
    kTestModeOn = 10,
    kTestModeOff = 11,
    kNoWindow = 12,
    kContextLeft = 13,
    kOemOn = 14,
    kOemOff = 15,
    kEndedCleanly = 16,
    kWrongLateAnswer = 17,
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

// A copy of this program, the engine and the committed configuration file (its OEM
// switch on) in a folder whose name the ANSI code page cannot spell.
class ForeignNamedFolder {
public:
    ForeignNamedFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"palto-\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC-\u65E5\u672C-" +
                 std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_path.c_str(), nullptr);
        Copy(L"startup_tests.exe", L"startup_tests.exe");
        Copy(L"Halvex.dll", L"Halvex.dll");
        Copy(L"golden-pconfig.dcf", L"pconfig.dcf");
    }
    ~ForeignNamedFolder()
    {
        for (const std::wstring& file : m_files) ::DeleteFileW(file.c_str());
        ::RemoveDirectoryW(m_path.c_str());
    }
    std::wstring program() const { return m_path + L"\\startup_tests.exe"; }

private:
    void Copy(const wchar_t* file, const wchar_t* name)
    {
        m_files.push_back(m_path + L"\\" + name);
        ::CopyFileW((palto::test::ProgramFolder() + L"\\" + file).c_str(), m_files.back().c_str(), FALSE);
    }
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

TEST(Startup, TheConfigurationFileIsFoundInAFolderOfAnyName)
{
    ForeignNamedFolder folder;
    ASSERT_NE(::GetFileAttributesW(folder.program().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(palto::test::RunInChild("oem", L"startup_tests", folder.program()), kOemOn);
}

// What engine threads may do at any moment, the program's end included: notifications
// for a restore and an archive check that nobody registered, and a window object made
// and destroyed. True when each was answered as for nobody (Cancel, no answer) and the
// object was known while it existed.
bool CallInAsTheEngineDoes()
{
    void* const nobody = CallbackContext(NewCallbackToken());
    _MediaRequestNotifyData restoreMedia{};
    restoreMedia.answer = kMediaAnswerOk;
    MediaRequestCallback(nobody, &restoreMedia);
    _MediaRequestNotifyData checkMedia{};
    checkMedia.answer = kMediaAnswerOk;
    ArchiveMediaRequestCallback(nobody, &checkMedia);
    _EngineMessageNotifyData message{};
    message.answer = 5;
    EngineMessageCallback(nobody, &message);
    _TaskEndNotifyData end{};
    TaskEndCallback(nobody, &end);
    const CWnd wnd;
    return restoreMedia.answer == kMediaAnswerCancel && checkMedia.answer == kMediaAnswerCancel &&
           message.answer == 0 && CWnd::IsLive(wnd.GetIdentity());
}

// Made before any registry is first used, so destroyed after every static object that
// is made later: its last call comes after their owners are gone.
struct LastCaller {
    ~LastCaller()
    {
        if (!CallInAsTheEngineDoes()) std::_Exit(kWrongLateAnswer);
    }
};

// An engine thread that keeps calling in while main returns and the program ends.
int CallInWhileTheProgramEnds()
{
    static LastCaller last;
    static std::atomic<int> rounds{0};
    std::thread([] {
        for (;; ++rounds)
            if (!CallInAsTheEngineDoes()) std::_Exit(kWrongLateAnswer);
    }).detach();
    while (rounds.load() < 2) ::Sleep(1);   // the thread is calling in
    return kEndedCleanly;
}

TEST(ProgramEnd, EngineNotificationsWhileTheProgramEndsAreAnsweredAsForNobody)
{
    EXPECT_EQ(palto::test::RunInChild("late calls", L"startup_tests"), kEndedCleanly);
}

}  // namespace

int main(int argc, char** argv)
{
    return palto::test::TestMain(argc, argv, {{"init", RunInitInstance},
                                              {"oem", [] { return static_cast<int>(QueryOemOnlyFeature() ? kOemOn : kOemOff); }},
                                              {"late calls", CallInWhileTheProgramEnds}});
}
