#include "app/Texts.h"

#include <cstdint>
#include <mutex>
#include <string_view>

#include "app/EngineErrors.h"
#include "app/PaltoApp.h"
#include "resources/ids.h"

namespace {

// Workers and engine threads may still show a message or ask for the title while the
// process ends: this state is made on first use and never destroyed.
struct TextState {
    // Normally filled on the user-interface thread before any worker starts; the lock
    // keeps threads apart when the module has no title and every call looks it up again.
    std::mutex titleLock;
    CString appTitle;

    std::mutex handlerLock;
    MessageHandler messageHandler;
};

TextState& State()
{
    static TextState* const state = new TextState;
    return *state;
}

}  // namespace

CString LoadText(UINT id)
{
    if (id == IDS_APP_TITLE) return GetAppTitle();
    CString text;
    text.LoadString(id);
    return text;
}

CString GetAppTitle()
{
    TextState& state = State();
    std::lock_guard lock(state.titleLock);
    if (!state.appTitle.IsEmpty()) return state.appTitle;
    state.appTitle.LoadString(QueryOemOnlyFeature() ? IDS_APP_TITLE_OEM : IDS_APP_TITLE);
    if (state.appTitle.IsEmpty()) state.appTitle.LoadString(IDS_APP_TITLE);
    return state.appTitle;
}

void ForgetAppTitle()
{
    TextState& state = State();
    std::lock_guard lock(state.titleLock);
    state.appTitle.Empty();
}

int ShowMessage(HWND owner, const CString& text, UINT style)
{
    MessageHandler handler;
    {
        std::lock_guard lock(State().handlerLock);
        handler = State().messageHandler;
    }
    if (handler) return handler(owner, text, style);
    return ::MessageBoxExW(owner, text, GetAppTitle(), style, theApp.m_langId);
}

namespace {

// The owner of the box that ends itself; boxes are shown on the window's thread only.
HWND g_closingBoxOwner = nullptr;

BOOL CALLBACK CloseOwnedBox(HWND window, LPARAM)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::GetWindow(window, GW_OWNER) == g_closingBoxOwner && std::wstring_view(className) == L"#32770")
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK CloseBoxInTime(HWND, UINT, UINT_PTR, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseOwnedBox, 0);
}

}  // namespace

int ShowMessageClosingItself(HWND owner, const CString& text, UINT style, UINT seconds)
{
    g_closingBoxOwner = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, seconds * 1000, &CloseBoxInTime);
    const int answer = ShowMessage(owner, text, style);
    if (timer) ::KillTimer(nullptr, timer);
    g_closingBoxOwner = nullptr;
    return answer;
}

void SetMessageHandler(MessageHandler handler)
{
    std::lock_guard lock(State().handlerLock);
    State().messageHandler = std::move(handler);
}

CString EngineErrorMessage(int code)
{
    return CString(palto::EngineErrorText(code, [](unsigned id) { return LoadText(id).str(); }));
}

CString FormatFileTime(std::uint64_t fileTime)
{
    // The local time of that day, with that day's daylight saving time: converting with
    // today's offset (FileTimeToLocalFileTime) would show a summer backup an hour off
    // in winter. A value beyond what a FILETIME can hold shows zeros.
    const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME utcFields{}, t{};
    const bool converted = fileTime <= static_cast<std::uint64_t>(INT64_MAX) && ::FileTimeToSystemTime(&utc, &utcFields) &&
                           ::SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &t);
    if (!converted) t = {};
    CString text;
    text.Format(L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}
