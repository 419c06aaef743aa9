#include "app/PaltoApp.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/ProfileFile.h"
#include "app/ProgramPath.h"
#include "app/ResourceModule.h"
#include "app/TestModeSwitch.h"
#include "app/Texts.h"
#include "frame/PaltoDlg.h"

namespace {

// The one message that cannot come from the resource module: there is none to use.
void ShowStartupFailure()
{
    ::MessageBoxW(nullptr, L"Failed to load resource!", L"Tolvane", MB_OK);
}

// The wizard as start-up runs it. It remembers whether its window came up: DoModal
// gives -1 both when the window could not be made (a module without the wizard's
// dialogs) and when a quit message ended it (the end of a restore).
class CStartupWizard final : public CPaltoDlg {
public:
    CStartupWizard() : CPaltoDlg(nullptr) {}
    BOOL OnInitDialog() override
    {
        m_windowMade = true;
        return CPaltoDlg::OnInitDialog();
    }
    bool m_windowMade = false;
};

}  // namespace

CPaltoApp::CPaltoApp() : CWinApp(nullptr) {}

CPaltoApp::~CPaltoApp() = default;

BOOL CPaltoApp::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    const bool testMode = palto::HasTestModeSwitch(::GetCommandLineW());

    // The modules beside a program of MAX_PATH characters or more would have paths
    // that the system does not load everywhere.
    const std::wstring exePath = ExecutablePath();
    if (exePath.empty() || exePath.size() >= MAX_PATH) {
        ShowStartupFailure();
        return FALSE;
    }
    const std::wstring folder = FolderOf(exePath);
    if (folder.empty()) return FALSE;

    if (!LoadResourceModule(folder.c_str(), m_langId)) {
        ShowStartupFailure();
        return FALSE;
    }

    auto context = std::make_unique<WizardContext>();
    m_pContext = context.get();
    m_pContext->testMode = testMode;
    m_pContext->oemOnlyFeature = QueryOemOnlyFeature();
    if (const auto answers = palto::AnswerFileArgument(::GetCommandLineW())) m_pContext->answerFile = ReadAnswerFile(*answers);

    bool windowMade = false;
    {
        CStartupWizard wizard;
        m_pMainWnd = &wizard;
        wizard.DoModal();
        m_pMainWnd = nullptr;
        windowMade = wizard.m_windowMade;
    }

    m_pContext = nullptr;
    if (!windowMade) ShowStartupFailure();
    return FALSE;
}

void CPaltoApp::GetEngineErrorText(int code, CString& text)
{
    text = EngineErrorMessage(code);
}
