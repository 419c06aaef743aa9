#include "app/Texts.h"

#include <cstdint>
#include <mutex>

#include "app/EngineErrors.h"
#include "app/PaltoApp.h"
#include "resources/ids.h"

namespace {

// Normally filled on the user-interface thread before any worker starts; the lock keeps
// threads apart when the module has no title and every call looks it up again.
std::mutex g_titleLock;
CString g_appTitle;

std::mutex g_handlerLock;
MessageHandler g_messageHandler;

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
    std::lock_guard lock(g_titleLock);
    if (!g_appTitle.IsEmpty()) return g_appTitle;
    g_appTitle.LoadString(QueryOemOnlyFeature() ? IDS_APP_TITLE_OEM : IDS_APP_TITLE);
    if (g_appTitle.IsEmpty()) g_appTitle.LoadString(IDS_APP_TITLE);
    return g_appTitle;
}

void ForgetAppTitle()
{
    std::lock_guard lock(g_titleLock);
    g_appTitle.Empty();
}

int ShowMessage(HWND owner, const CString& text, UINT style)
{
    MessageHandler handler;
    {
        std::lock_guard lock(g_handlerLock);
        handler = g_messageHandler;
    }
    if (handler) return handler(owner, text, style);
    return ::MessageBoxExW(owner, text, GetAppTitle(), style, theApp.m_langId);
}

void SetMessageHandler(MessageHandler handler)
{
    std::lock_guard lock(g_handlerLock);
    g_messageHandler = std::move(handler);
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
