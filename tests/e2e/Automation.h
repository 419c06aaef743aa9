// Driving the real Palto.exe from outside, as a user would: start it, find its
// windows, read their texts, press their buttons, answer its message boxes. Windows of
// one Wine prefix are visible to every program in it, as they are on one desktop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace palto::e2e {

// A started program; killed when the object goes while it still runs. Programs of any
// path length start.
class Process {
public:
    Process(const std::wstring& exe, const std::wstring& arguments);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD id() const { return m_info.dwProcessId; }
    bool started() const { return m_info.hProcess != nullptr; }
    // The exit code, or STILL_ACTIVE when it has not ended within the time.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    void StartThroughWineLauncher(const std::wstring& exe, const std::wstring& commandLine);
    PROCESS_INFORMATION m_info{};
};

// Which top-level window: "wizard" (the window with Back, Next and Cancel), "box" (a
// message box), "progress" (the restore progress page), or else the exact window title. Only windows of `processId` (0: any).
using WindowMatch = std::function<bool(HWND)>;
WindowMatch MatchSelector(const std::wstring& selector);

HWND FindTopWindow(DWORD processId, const WindowMatch& match);
HWND WaitForTopWindow(DWORD processId, const WindowMatch& match, DWORD timeoutMs);
bool WaitUntilGone(DWORD processId, const WindowMatch& match, DWORD timeoutMs);

// A control of any depth below `top` (the wizard's pages are children of children).
HWND FindControl(HWND top, int id);
std::wstring TextOf(HWND window);
// The text of a message box.
std::wstring MessageBoxText(HWND box);
// The texts of a drop-down list's entries, in list order.
std::vector<std::wstring> ComboEntries(HWND combo);

// Waits until the window shows exactly `text`.
bool WaitForText(HWND window, const std::wstring& text, DWORD timeoutMs);
// The window with the keyboard focus in the program's user-interface thread.
HWND FocusedWindow(DWORD processId);

// Presses a button without waiting for what it starts (a modal message box, say).
void Click(HWND button);
void PressKey(HWND window, UINT virtualKey);

}  // namespace palto::e2e
