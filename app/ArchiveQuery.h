// Opening one backup on a worker thread, as the engine checks it before it is used:
// the engine's media requests are asked on the way, and the outcome is posted to a
// window. Used where the wizard must not block while the user is asked for a disc.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/HalvexRecords.h"
#include "framework/CString.h"

struct ArchiveQueryRequest {
    HWND notify;                 // receives `message` when the query has ended
    UINT message;                // wParam: the engine's code (signed); lParam: the query's id
    HWND promptOwner;            // owns the media prompts; must outlive the query
    std::uint32_t projectId;
    std::uint64_t archiveId;
    wchar_t drive;               // drive letter of the backup's location
    // Told of each media request once it is answered (`shown`: the user was asked), on
    // the engine's thread; may be empty.
    std::function<void(const _MediaRequestNotifyData& request, bool shown)> mediaAnswered = {};
};

// One query, shared by its worker and the window that waits for it. The window takes
// the outcome only from the message that carries the query's id, and only once the
// worker has ended: a message from anywhere else is no outcome of it.
struct ArchiveQueryResult {
    const std::uint64_t id;      // never reused in the process
    std::atomic<bool> ended{false};
    int code = 0;
    CString protectedPassword;   // the backup's protected password; empty: none

    explicit ArchiveQueryResult(std::uint64_t queryId) : id(queryId) {}
    ~ArchiveQueryResult() { protectedPassword.Wipe(); }
};
using PendingArchiveQuery = std::shared_ptr<ArchiveQueryResult>;

// Asks the engine to open one backup, on this thread, with a description of its own that
// is released again on every path; copies the backup's protected password into
// `protectedPassword` when given. The engine's code (its out-of-memory code when the
// description cannot be had). Media requests go to whoever is registered for them.
int OpenArchive(std::uint32_t projectId, std::uint64_t archiveId, wchar_t drive, CString* protectedPassword);

// Starts the worker. It posts its message on every path, exceptions included, and
// withdraws its media-request registration before it ends. Null when no thread could
// be made: nothing is posted then.
//
// The engine's media requests reach the worker's query through its id as their context;
// a request for a query that has ended, or for any other context, is answered Cancel
// without asking anybody.
PendingArchiveQuery StartArchiveQuery(const ArchiveQueryRequest& request);

// The media-request callback the worker registers with the engine.
void ArchiveMediaRequestCallback(void* context, void* record);

// The outcome of `pending` when `lParam` (of the query's message) is its id and its
// worker has ended; `pending` is empty afterwards. Null, and `pending` unchanged, for
// any other message.
PendingArchiveQuery TakeArchiveQueryResult(PendingArchiveQuery& pending, LPARAM lParam);
