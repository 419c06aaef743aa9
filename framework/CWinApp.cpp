#include "framework/CWinApp.h"

#include "framework/Afx.h"

namespace {
CWinApp* g_app = nullptr;
HINSTANCE g_resourceModule = nullptr;
}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule ? g_resourceModule : ::GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceModule = module;
}

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName)
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!CWnd::WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_exitCode;
}

int AfxWinMain(HINSTANCE instance, int)
{
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) ::DestroyWindow(app->m_pMainWnd->m_hWnd);
        return app->ExitInstance();
    }
    return app->Run();
}
