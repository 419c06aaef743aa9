// Opening one backup on a worker thread, as the engine checks it before it is used:
// the engine's media requests are asked on the way, and the outcome is posted to a
// window. Used where the wizard must not block while the user is asked for a disc.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/CString.h"

struct ArchiveQueryRequest {
    HWND notify;                 // receives `message` when the query has ended
    UINT message;                // wParam: the engine's code (signed); lParam: the result
    HWND promptOwner;            // owns the media prompts; must outlive the query
    std::uint32_t projectId;
    std::uint64_t archiveId;
    wchar_t drive;               // drive letter of the backup's location
};

// What the worker hands over with its message.
struct ArchiveQueryResult {
    int code = 0;
    CString protectedPassword;   // the backup's protected password; empty: none
    ~ArchiveQueryResult() { protectedPassword.Wipe(); }

    // Takes over the result that came with the worker's message (its lParam); null for none.
    static std::unique_ptr<ArchiveQueryResult> Take(LPARAM lParam)
    {
        return std::unique_ptr<ArchiveQueryResult>(reinterpret_cast<ArchiveQueryResult*>(lParam));
    }
};

// Asks the engine to open one backup, on this thread, with a description of its own that
// is released again on every path; copies the backup's protected password into
// `protectedPassword` when given. The engine's code (its out-of-memory code when the
// description cannot be had). Media requests go to whoever is registered for them.
int OpenArchive(std::uint32_t projectId, std::uint64_t archiveId, wchar_t drive, CString* protectedPassword);

// Starts the worker. It posts its message on every path, exceptions included, and
// withdraws its media-request registration before it ends. False when no thread could
// be made: nothing is posted then.
bool StartArchiveQuery(const ArchiveQueryRequest& request);
