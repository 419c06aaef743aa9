#include "app/ArchiveQuery.h"

#include <exception>
#include <new>
#include <utility>

#include "app/EngineClient.h"
#include "app/MediaPromptBox.h"
#include "engine/RecordReaders.h"

namespace {

constexpr unsigned kNotifyMediaRequest = 3;

// The worker's own copy of the request; the engine's media requests reach it as their
// context, so it lives until the registration is withdrawn.
struct Query {
    ArchiveQueryRequest request;
    PendingArchiveQuery result;
};

std::uint64_t NewQueryId()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

void OnMediaRequest(void* context, void* record)
{
    if (!record) return;
    auto& request = *static_cast<_MediaRequestNotifyData*>(record);
    request.answer = kMediaAnswerCancel;  // unless the user says the medium is there
    if (!context) return;
    const ArchiveQueryRequest& asked = static_cast<const Query*>(context)->request;
    bool shown = false;
    try {
        shown = AskForMedium(asked.promptOwner, request) != 0;
        if (asked.mediaAnswered) asked.mediaAnswered(request, shown);
    } catch (...) {
    }
}

void RunQuery(Query& query, ArchiveQueryResult& result)
{
    // Without the registration a missing medium could not be asked for: the engine's
    // refusal is the outcome of the query.
    result.code =
        GetEngineClient().SetNotifyFunction(kNotifyMediaRequest, reinterpret_cast<void*>(&OnMediaRequest), &query);
    if (result.code != 0) return;
    const ArchiveQueryRequest& r = query.request;
    result.code = OpenArchive(r.projectId, r.archiveId, r.drive, &result.protectedPassword);
}

DWORD WINAPI QueryThread(void* parameter)
{
    std::unique_ptr<Query> query(static_cast<Query*>(parameter));
    const PendingArchiveQuery result = query->result;
    int code = 0;
    try {
        RunQuery(*query, *result);
        code = result->code;
    } catch (const std::bad_alloc&) {
        code = halvex::kOutOfMemory;
    } catch (...) {
        // A query that did not end is no readable backup.
        code = halvex::kBackupUnreadable;
    }
    result->code = code;
    result->ended.store(true, std::memory_order_release);
    int withdrawn = halvex::kInvalidRequest;
    try {
        withdrawn = GetEngineClient().SetNotifyFunction(kNotifyMediaRequest, nullptr, nullptr);
    } catch (...) {
    }
    const ArchiveQueryRequest r = query->request;
    // The engine still holds the query as its context when the withdrawal failed: the
    // query then stays, so that a later media request never reaches freed memory.
    if (withdrawn != 0) query.release();
    ::PostMessageW(r.notify, r.message, static_cast<WPARAM>(static_cast<INT_PTR>(code)),
                   static_cast<LPARAM>(result->id));
    return 0;
}

}  // namespace

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
        auto result = std::make_shared<ArchiveQueryResult>(NewQueryId());
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
