#include "framework/CWnd.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace {
// The window property holds the object's identity, not its address: a window that
// outlives its object never leads to a later object at the same address.
constexpr wchar_t kObjectProperty[] = L"Palto.CWnd";

// Every window object in existence, by identity; objects are made and destroyed on any
// thread. Never destroyed: windows and engine threads may still ask while static
// destructors run at the program's end.
struct LiveObjects {
    std::mutex lock;
    std::unordered_map<CWnd::Identity, CWnd*> objects;
};

LiveObjects& Live()
{
    static LiveObjects* live = new LiveObjects;
    return *live;
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
    // Properties are per process: a window of another process never yields an object.
    DWORD process = 0;
    ::GetWindowThreadProcessId(hWnd, &process);
    if (process != ::GetCurrentProcessId()) return nullptr;
    const auto identity = reinterpret_cast<std::uintptr_t>(::GetPropW(hWnd, kObjectProperty));
    if (!identity) return nullptr;
    CWnd* wnd = nullptr;
    {
        LiveObjects& live = Live();
        std::lock_guard lock(live.lock);
        const auto found = live.objects.find(identity);
        if (found != live.objects.end()) wnd = found->second;
    }
    if (!wnd) {
        ::RemovePropW(hWnd, kObjectProperty);
        CountStrayMessage(hWnd, 0);
    }
    return wnd;
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
    ::SetPropW(hWnd, kObjectProperty, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(m_identity)));
}

void CWnd::Unbind()
{
    if (m_hWnd) ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

void CWnd::LeaveMessage(UINT message)
{
    if (message == WM_NCDESTROY) {
        // The window is gone for the system: nobody finds the object through it any more,
        // but a handler further out may still use the object and its handle.
        ::RemovePropW(m_hWnd, kObjectProperty);
        m_finalMessageSeen = true;
    }
    if (--m_messageDepth > 0 || !m_finalMessageSeen) return;
    m_finalMessageSeen = false;
    m_hWnd = nullptr;
    PostNcDestroy();
}
