// The yardstick of the start-up benchmark: a bare modal dialog built as Palto.exe is
// built (static, the same flags, manifest), which reads the desktop resolution through
// Direct2D as the wizard does (frame/Direct2D.h) and nothing else. Built a second time
// as BareDialogRuntime, which also uses the C++ runtime as the wizard does: the
// yardstick of the wizard's size.
#include <windows.h>

#include <commctrl.h>

#include "frame/Direct2D.h"

#ifdef BARE_DIALOG_WITH_RUNTIME
void UseTheRuntime(HWND dialog);   // RuntimeUse.cpp
#endif

namespace {

constexpr int kTemplate = 100;

ID2D1Factory* g_factory = nullptr;

void ReadDesktopResolution()
{
    float dpiX = 96.0f, dpiY = 96.0f;
    g_factory = CreateDirect2DFactory();
    if (g_factory) g_factory->GetDesktopDpi(&dpiX, &dpiY);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ReadDesktopResolution();
#ifdef BARE_DIALOG_WITH_RUNTIME
        UseTheRuntime(dialog);
#endif
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    ::InitCommonControls();
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(kTemplate), nullptr, &DialogProc, 0);
    if (g_factory) g_factory->Release();
    return 0;
}
