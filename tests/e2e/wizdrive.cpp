// wizdrive: drives the wizard's windows from the command line, for the screenshot
// tour and for people trying things by hand.
//
//   wizdrive wait WINDOW [TIMEOUT_MS]   wait until the window is shown
//   wizdrive gone WINDOW [TIMEOUT_MS]   wait until it is no longer shown
//   wizdrive click WINDOW ID            press the button with that control id
//   wizdrive text WINDOW [ID]           print the window's (or control's) text
//   wizdrive key WINDOW ID VK           press a key (decimal virtual-key code) in a control
//   wizdrive type WINDOW ID TEXT        put the text into a control (an edit field)
//   wizdrive rect WINDOW                print the window's screen rectangle: X Y WIDTH HEIGHT
//
// WINDOW: "wizard", "box" (a message box), "progress" (the restore progress page),
// "password" (the password dialog) or an exact window title.
// Exit code 0 on success, 1 when the window or control is not there, 2 on wrong usage.
#include <cstdio>
#include <cwchar>
#include <string>

#include "Automation.h"

using namespace palto::e2e;

namespace {

int Usage()
{
    std::fputws(L"usage: wizdrive wait|gone|click|text|key|type|rect WINDOW [ARGS]\n", stderr);
    return 2;
}

int Fail(const wchar_t* what, const std::wstring& which)
{
    std::fwprintf(stderr, L"wizdrive: %ls not found: %ls\n", what, which.c_str());
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) return Usage();
    const std::wstring command = argv[1];
    const std::wstring selector = argv[2];
    const WindowMatch match = MatchSelector(selector);
    const DWORD timeout = argc > 3 && (command == L"wait" || command == L"gone") ? std::wcstoul(argv[3], nullptr, 10)
                                                                                  : 10000;
    if (command == L"gone") return WaitUntilGone(0, match, timeout) ? 0 : Fail(L"end of window", selector);

    HWND window = WaitForTopWindow(0, match, timeout);
    if (!window) return Fail(L"window", selector);
    if (command == L"wait") return 0;
    if (command == L"rect") {
        RECT r{};
        ::GetWindowRect(window, &r);
        std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == L"text" && argc == 3) {
        std::wprintf(L"%ls\n", (selector == L"box" ? MessageBoxText(window) : TextOf(window)).c_str());
        return 0;
    }
    if (argc < 4) return Usage();
    HWND control = FindControl(window, std::wcstol(argv[3], nullptr, 10));
    if (!control) return Fail(L"control", argv[3]);
    if (command == L"click") Click(control);
    else if (command == L"text") std::wprintf(L"%ls\n", TextOf(control).c_str());
    else if (command == L"key" && argc > 4) PressKey(control, std::wcstoul(argv[4], nullptr, 10));
    else if (command == L"type" && argc > 4) ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
    else return Usage();
    return 0;
}
