#include "app/ArchiveQuery.h"

#include <exception>
#include <new>
#include <utility>

#include "app/CallbackTargets.h"
#include "app/EngineClient.h"
#include "app/MediaPromptBox.h"
#include "engine/RecordReaders.h"

namespace {

constexpr unsigned kNotifyMediaRequest = 3;

// The worker's own copy of the request. The engine's media requests name it by the
// query's id, so one that comes after the worker has ended finds nothing.
struct Query {
    ArchiveQueryRequest request;
    PendingArchiveQuery result;
};
using Queries = CallbackTargets<Query>;

void RunQuery(Query& query, ArchiveQueryResult& result)
{
    // Without the registration a missing medium could not be asked for: the engine's
    // refusal is the outcome of the query.
    result.code = GetEngineClient().SetNotifyFunction(
        kNotifyMediaRequest, reinterpret_cast<void*>(&ArchiveMediaRequestCallback), CallbackContext(result.id));
    if (result.code != 0) return;
    const ArchiveQueryRequest& r = query.request;
    result.code = OpenArchive(r.projectId, r.archiveId, r.drive, &result.protectedPassword);
}

// Runs the query while it can be found for the media requests; its code.
int RunRegisteredQuery(std::unique_ptr<Query> owned)
{
    try {
        const std::shared_ptr<Query> query(std::move(owned));
        ArchiveQueryResult& result = *query->result;
        Queries::Instance().Add(result.id, query);
        RunQuery(*query, result);
        return result.code;
    } catch (const std::bad_alloc&) {
        return halvex::kOutOfMemory;
    } catch (...) {
        // A query that did not end is no readable backup.
        return halvex::kBackupUnreadable;
    }
}

// Even when the engine refuses the withdrawal, a late request it sends names the query
// by its id only, and finds nothing.
void WithdrawMediaRequests(std::uint64_t queryId)
{
    Queries::Instance().Remove(queryId);
    try {
        GetEngineClient().SetNotifyFunction(kNotifyMediaRequest, nullptr, nullptr);
    } catch (...) {
    }
}

DWORD WINAPI QueryThread(void* parameter)
{
    std::unique_ptr<Query> query(static_cast<Query*>(parameter));
    const ArchiveQueryRequest request = query->request;
    const PendingArchiveQuery result = query->result;
    result->code = RunRegisteredQuery(std::move(query));
    result->ended.store(true, std::memory_order_release);
    WithdrawMediaRequests(result->id);
    ::PostMessageW(request.notify, request.message, static_cast<WPARAM>(static_cast<INT_PTR>(result->code)),
                   static_cast<LPARAM>(result->id));
    return 0;
}

}  // namespace

void ArchiveMediaRequestCallback(void* context, void* record)
{
    if (!record) return;
    auto& request = *static_cast<_MediaRequestNotifyData*>(record);
    request.answer = kMediaAnswerCancel;  // unless the user says the medium is there
    const auto query = Queries::Instance().Find(context);
    if (!query) return;
    try {
        const bool shown = AskForMedium(query->request.promptOwner, request) != 0;
        if (query->request.mediaAnswered) query->request.mediaAnswered(request, shown);
    } catch (...) {
    }
}

int OpenArchive(std::uint32_t projectId, std::uint64_t archiveId, wchar_t drive, CString* protectedPassword)
{
    std::unique_ptr<_ProjectDesc> desc;
    try {
        desc = std::make_unique<_ProjectDesc>();
    } catch (const std::bad_alloc&) {
        return halvex::kOutOfMemory;
    }
    Caller& engine = GetEngineClient();
    const int result = engine.QueryArchiveProject(projectId, archiveId, *desc, drive);
    if (result != 0) return result;
    std::exception_ptr failure;
    try {
        if (protectedPassword) *protectedPassword = palto::EncryptedPasswordText(desc.get());
    } catch (...) {
        failure = std::current_exception();
    }
    engine.FreeProject(*desc);   // the engine's texts go back on every path
    if (failure) std::rethrow_exception(failure);
    return 0;
}

PendingArchiveQuery StartArchiveQuery(const ArchiveQueryRequest& request)
{
    try {
        auto result = std::make_shared<ArchiveQueryResult>(NewCallbackToken());
        auto query = std::make_unique<Query>(Query{request, result});
        HANDLE thread = ::CreateThread(nullptr, 0, &QueryThread, query.get(), 0, nullptr);
        if (!thread) return nullptr;
        query.release();  // the worker's from now on
        ::CloseHandle(thread);
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

PendingArchiveQuery TakeArchiveQueryResult(PendingArchiveQuery& pending, LPARAM lParam)
{
    if (!pending || static_cast<std::uint64_t>(lParam) != pending->id ||
        !pending->ended.load(std::memory_order_acquire)) {
        return nullptr;
    }
    return std::move(pending);
}
