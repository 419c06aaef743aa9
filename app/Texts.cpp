#include "app/Texts.h"

#include <mutex>

#include "app/PaltoApp.h"
#include "resources/ids.h"

namespace {

// Filled on the user-interface thread before any worker starts, read by all threads after.
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
    if (!g_appTitle.IsEmpty()) return g_appTitle;
    g_appTitle.LoadString(QueryOemOnlyFeature() ? IDS_APP_TITLE_OEM : IDS_APP_TITLE);
    if (g_appTitle.IsEmpty()) g_appTitle.LoadString(IDS_APP_TITLE);
    return g_appTitle;
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

CString FormatFileTime(std::uint64_t fileTime)
{
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    FILETIME local{};
    SYSTEMTIME t{};
    ::FileTimeToLocalFileTime(&utc, &local);
    ::FileTimeToSystemTime(&local, &t);
    CString text;
    text.Format(L"%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}
