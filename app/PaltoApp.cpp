#include "app/PaltoApp.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/ResourceModule.h"
#include "app/TestModeSwitch.h"
#include "app/Texts.h"
#include "frame/PaltoDlg.h"

CPaltoApp::CPaltoApp() : CWinApp(nullptr) {}

CPaltoApp::~CPaltoApp() = default;

BOOL CPaltoApp::InitInstance()
{
    ::InitCommonControls();
    CWinApp::InitInstance();
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    const bool testMode = palto::HasTestModeSwitch(::GetCommandLineW());

    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exePath(path, length < MAX_PATH ? length : 0);
    const size_t slash = exePath.rfind(L'\\');
    if (slash == std::wstring::npos) return FALSE;
    const std::wstring folder = exePath.substr(0, slash);

    if (!LoadResourceModule(folder.c_str(), m_langId)) {
        ::MessageBoxW(nullptr, L"Failed to load resource!", L"Tolvane", MB_OK);
        return FALSE;
    }

    auto context = std::make_unique<WizardContext>();
    m_pContext = context.get();
    m_pContext->testMode = testMode;
    m_pContext->oemOnlyFeature = QueryOemOnlyFeature();

    {
        CPaltoDlg wizard(nullptr);
        m_pMainWnd = &wizard;
        wizard.DoModal();
        m_pMainWnd = nullptr;
    }

    m_pContext = nullptr;
    return FALSE;
}

void CPaltoApp::GetEngineErrorText(int code, CString& text)
{
    text = EngineErrorMessage(code);
}
