// The application object. The program has exactly one, built at static
// initialization; wWinMain runs it (WinMain.cpp).
#pragma once

#include "framework/CWnd.h"

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returning FALSE ends the process without entering Run.
    virtual BOOL InitInstance();
    // The framework's own message loop, for applications whose InitInstance returns TRUE.
    virtual int Run();
    // Called on the way out; its result is the process's exit code.
    virtual int ExitInstance();

    // Names the registry key for profile settings; nothing here reads or writes profile values.
    void SetRegistryKey(const wchar_t* company) { m_registryKey = company ? company : L""; }

    HINSTANCE m_hInstance = nullptr;
    const wchar_t* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;

protected:
    CString m_registryKey;
    int m_exitCode = 0;
};

// The framework's entry: binds the application object to the module and runs it.
int AfxWinMain(HINSTANCE instance, int showCommand);
