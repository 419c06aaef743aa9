// A window the program talks to through its HWND. Dialogs bind themselves to their
// window (FromHandlePermanent finds them again); controls attached with DDX_Control
// only hold the handle and own nothing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/CString.h"
#include "framework/MessageMap.h"

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }

    // The object bound to a window of this process, or null for a window that is not ours.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Offers a message to PreTranslateMessage of every window of ours from the message's
    // window up to its top-level window, innermost first; TRUE when one of them took it.
    static BOOL WalkPreTranslateTree(MSG* pMsg);

    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // A number that names this object and no other for the life of the process: unlike
    // its address, which the heap hands to a later object once this one has gone.
    using Identity = std::uint64_t;
    Identity GetIdentity() const { return m_identity; }

    // Whether the object named `identity` exists now. The dialog procedure and the message
    // map take the identity before they call into an object and ask afterwards, so that
    // an object freed meanwhile (and a new one at its address) is not touched as if it
    // were the one they called.
    static bool IsLive(Identity identity);
    // How many messages met an object that had gone since the process started: each one
    // is a fault of the program (an object freed under its own handler, say).
    static unsigned long StrayMessages();

    // Window and child-control helpers (thin wrappers of the Win32 calls).
    CWnd* GetParent() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    CString GetDlgItemText(int id) const { return TextOf(GetDlgItem(id)); }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    CString GetWindowText() const { return TextOf(m_hWnd); }
    static CString TextOf(HWND hWnd);
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add);
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    void SetFont(HFONT font, BOOL redraw = TRUE)
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL Invalidate(BOOL erase = TRUE) { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    // Off, a window is not repainted as it changes (WM_SETREDRAW).
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw, 0); }
    BOOL DestroyWindow();

protected:
    // The class's message map: TRUE with `result` set when a handler took the message.
    virtual BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called by a handler of the message map: its message goes on to the later entries,
    // the base class's map and the default processing, as if the handler were not there.
    void DeclineMessage() { m_messageDeclined = true; }
    // The message map's bracket around one handler (handlers may nest through SendMessage).
    bool BeginHandler()
    {
        const bool outer = m_messageDeclined;
        m_messageDeclined = false;
        return outer;
    }
    bool EndHandler(bool outerDeclined)
    {
        const bool handled = !m_messageDeclined;
        m_messageDeclined = outerDeclined;
        return handled;
    }

    // Binding of the object to its window, kept in a window property.
    void Bind(HWND hWnd);
    void Unbind();
    // Called once the window has received its last message (WM_NCDESTROY) and every
    // message of it that was still being handled has returned.
    virtual void PostNcDestroy() {}

    // Counts the messages of this window being handled (they nest through SendMessage),
    // so that a window destroyed inside one of its own handlers stays bound until the
    // outermost returns.
    void EnterMessage() { ++m_messageDepth; }
    void LeaveMessage(UINT message);

    // Counts a message that met an object that had gone.
    static void CountStrayMessage(HWND hWnd, UINT message);

    friend class CDialog;

private:
    const Identity m_identity;
    bool m_messageDeclined = false;
    int m_messageDepth = 0;
    bool m_finalMessageSeen = false;
};
