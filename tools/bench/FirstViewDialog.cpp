// A second yardstick of the start-up benchmark: the windows of the wizard's first view
// and nothing else. From the English module beside it, loaded as the wizard loads it, it
// makes the main window, the step panel and the type page from their templates, places
// and shows them as the wizard does, and gives the page the focus; it reads the desktop
// resolution through Direct2D as the bare dialog does. No texts, fonts, engine or
// configuration: what the wizard takes beyond this program is its own code.
#include <windows.h>

#include <commctrl.h>

#include "frame/Direct2D.h"
#include "resources/ids.h"

namespace {

HMODULE g_module = nullptr;
ID2D1Factory* g_factory = nullptr;
float g_dpiX = 96.0f, g_dpiY = 96.0f;

INT_PTR CALLBACK ChildProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A child from its template, at a position in 96-DPI pixels, shown.
HWND MakeChild(HWND parent, UINT templateId, float x96, float y96)
{
    HWND child = ::CreateDialogParamW(g_module, MAKEINTRESOURCEW(templateId), parent, &ChildProc, 0);
    if (!child) return nullptr;
    RECT client{};
    ::GetClientRect(child, &client);
    ::MoveWindow(child, static_cast<int>(g_dpiX * x96 / 96.0f), static_cast<int>(g_dpiY * y96 / 96.0f),
                 client.right, client.bottom, TRUE);
    ::ShowWindow(child, SW_SHOW);
    return child;
}

INT_PTR CALLBACK MainProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        g_factory = CreateDirect2DFactory();
        if (g_factory) g_factory->GetDesktopDpi(&g_dpiX, &g_dpiY);
        MakeChild(dialog, IDD_STEP_PANEL, 8, 44);
        HWND page = MakeChild(dialog, IDD_TYPE_PAGE, 144, 44);
        if (page) ::SetFocus(page);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    ::InitCommonControls();
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (!length || length >= MAX_PATH) return 1;
    wchar_t* name = path;
    for (wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    const wchar_t module[] = L"MainrENU.dll";
    if (name - path + sizeof module / sizeof *module > MAX_PATH) return 1;
    for (size_t i = 0; i < sizeof module / sizeof *module; ++i) name[i] = module[i];
    g_module = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!g_module) return 1;
    ::DialogBoxParamW(g_module, MAKEINTRESOURCEW(IDD_MAIN), nullptr, &MainProc, 0);
    if (g_factory) g_factory->Release();
    return 0;
}
