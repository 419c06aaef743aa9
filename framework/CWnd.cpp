#include "framework/CWnd.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace {
// Every window object in existence, by identity, and the identity of the object each of
// our windows is bound to: an identity, not an address, so that a window that outlives its
// object never leads to a later object at the same address. Held in the process rather
// than in window properties, which the window manager keeps out of process and answers
// for with a round trip on every message. Objects are made and destroyed on any thread.
// Never destroyed: windows and engine threads may still ask while static destructors run
// at the program's end.
struct LiveObjects {
    std::mutex lock;
    std::unordered_map<CWnd::Identity, CWnd*> objects;
    std::unordered_map<HWND, CWnd::Identity> windows;
};

LiveObjects& Live()
{
    static LiveObjects* live = new LiveObjects;
    return *live;
}

// The window no longer leads to the object named `identity`.
void ForgetWindow(HWND hWnd, CWnd::Identity identity)
{
    LiveObjects& live = Live();
    std::lock_guard lock(live.lock);
    const auto bound = live.windows.find(hWnd);
    if (bound != live.windows.end() && bound->second == identity) live.windows.erase(bound);
}

CWnd::Identity NewIdentity()
{
    static std::atomic<CWnd::Identity> last{0};
    return ++last;
}

std::atomic<unsigned long> g_strayMessages{0};
}  // namespace

CWnd::CWnd() : m_identity(NewIdentity())
{
    LiveObjects& live = Live();
    std::lock_guard lock(live.lock);
    live.objects.emplace(m_identity, this);
}

CWnd::~CWnd()
{
    // An object that goes away before its window must not be found again through it.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND hWnd = m_hWnd;
        Unbind();
        ::DestroyWindow(hWnd);
    }
    LiveObjects& live = Live();
    std::lock_guard lock(live.lock);
    live.objects.erase(m_identity);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd) return nullptr;
    LiveObjects& live = Live();
    {
        std::lock_guard lock(live.lock);
        const auto bound = live.windows.find(hWnd);
        if (bound == live.windows.end()) return nullptr;
        const auto found = live.objects.find(bound->second);
        if (found != live.objects.end()) return found->second;
        live.windows.erase(bound);
    }
    CountStrayMessage(hWnd, 0);
    return nullptr;
}

bool CWnd::IsLive(Identity identity)
{
    LiveObjects& live = Live();
    std::lock_guard lock(live.lock);
    return live.objects.count(identity) != 0;
}

unsigned long CWnd::StrayMessages()
{
    return g_strayMessages.load();
}

void CWnd::CountStrayMessage(HWND hWnd, UINT message)
{
    ++g_strayMessages;
    char text[96];
    std::snprintf(text, sizeof text, "Palto: window %p named an object that had gone (message 0x%04X)\n",
                  static_cast<void*>(hWnd), message);
    ::OutputDebugStringA(text);
}

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd;) {
        if (CWnd* wnd = FromHandlePermanent(hWnd); wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (!(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)) break;  // reached the top-level window
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

CWnd* CWnd::GetParent() const
{
    return FromHandlePermanent(::GetParent(m_hWnd));
}

CString CWnd::TextOf(HWND hWnd)
{
    if (!hWnd) return {};
    std::wstring text(::GetWindowTextLengthW(hWnd) + 1, L'\0');
    text.resize(::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size())));
    return CString(std::move(text));
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add)
{
    const DWORD style = GetExStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, changed);
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::Bind(HWND hWnd)
{
    m_hWnd = hWnd;
    LiveObjects& live = Live();
    std::lock_guard lock(live.lock);
    live.windows[hWnd] = m_identity;
}

void CWnd::Unbind()
{
    if (m_hWnd) ForgetWindow(m_hWnd, m_identity);
    m_hWnd = nullptr;
}

void CWnd::LeaveMessage(UINT message)
{
    if (message == WM_NCDESTROY) {
        // The window is gone for the system: nobody finds the object through it any more,
        // but a handler further out may still use the object and its handle.
        ForgetWindow(m_hWnd, m_identity);
        m_finalMessageSeen = true;
    }
    if (--m_messageDepth > 0 || !m_finalMessageSeen) return;
    m_finalMessageSeen = false;
    m_hWnd = nullptr;
    PostNcDestroy();
}
