#include "restore/RestoreNotifications.h"

#include <atomic>
#include <cstdint>

#include "app/CallbackTargets.h"
#include "app/EngineClient.h"
#include "app/MediaPromptBox.h"
#include "frame/WizardMessages.h"

namespace {

using Runs = CallbackTargets<RestoreRun>;

// The token of the run whose callbacks the engine holds; 0: nobody's.
std::atomic<std::uintptr_t> g_registered{0};

std::shared_ptr<RestoreRun> FindRun(void* context)
{
    return Runs::Instance().Find(context);
}

// Sets all three, even after a refusal, and returns the engine's first refusal (0: none).
int SetCallbacks(void* taskEnd, void* engineMessage, void* mediaRequest, void* context)
{
    Caller& engine = GetEngineClient();
    const int codes[] = {engine.SetNotifyFunction(kNotifyTaskEnd, taskEnd, context),
                         engine.SetNotifyFunction(kNotifyEngineMessage, engineMessage, context),
                         engine.SetNotifyFunction(kNotifyMediaRequest, mediaRequest, context)};
    for (const int code : codes)
        if (code != 0) return code;
    return 0;
}

}  // namespace

int RegisterRestoreNotifications(const std::shared_ptr<RestoreRun>& run)
{
    Runs::Instance().Add(run->Token(), run);
    g_registered.store(run->Token());
    return SetCallbacks(reinterpret_cast<void*>(&TaskEndCallback), reinterpret_cast<void*>(&EngineMessageCallback),
                        reinterpret_cast<void*>(&MediaRequestCallback), CallbackContext(run->Token()));
}

void WithdrawRestoreNotifications(const RestoreRun& run)
{
    Runs::Instance().Remove(run.Token());
    std::uintptr_t registered = run.Token();
    if (g_registered.compare_exchange_strong(registered, 0)) SetCallbacks(nullptr, nullptr, nullptr, nullptr);
}

void TaskEndCallback(void* context, void* record)
{
    const auto run = FindRun(context);
    if (!run || !record) return;
    const auto& end = *static_cast<const _TaskEndNotifyData*>(record);
    ::PostMessageW(run->Window(), WM_RESTORE_END, 0, static_cast<LPARAM>(end.result));
}

void EngineMessageCallback(void* context, void* record)
{
    if (!record) return;
    auto& message = *static_cast<_EngineMessageNotifyData*>(record);
    message.answer = 0;   // stays when nobody is there to answer
    const auto run = FindRun(context);
    const HWND window = run ? run->Window() : nullptr;
    if (!window) return;
    // The window thread shows the text or asks the question; this thread waits for it.
    // A window that has gone meanwhile answers 0.
    const LRESULT answer = ::SendMessageW(window, WM_ENGINE_MESSAGE, static_cast<WPARAM>(static_cast<INT_PTR>(message.code)),
                                          static_cast<LPARAM>(message.param));
    message.answer = static_cast<std::int32_t>(answer);
}

void MediaRequestCallback(void* context, void* record)
{
    if (!record) return;
    auto& request = *static_cast<_MediaRequestNotifyData*>(record);
    const auto run = FindRun(context);
    if (!run || !run->Window()) {
        request.answer = kMediaAnswerCancel;
        return;
    }
    OnMediaRequest(*run, request);
}

void OnMediaRequest(const RestoreRun& run, _MediaRequestNotifyData& request)
{
    // Timers belong to the window's thread: it stops and restarts polling itself. A page
    // that has gone, or is ending, lets no prompt be shown; one that lets it waits with
    // its end until the prompt is answered, so that the box never outlives its owner.
    const HWND window = run.Window();
    request.answer = kMediaAnswerCancel;   // stays when the box cannot be shown
    bool shown = false;
    if (::SendMessageW(window, WM_RESTORE_POLLING, FALSE, 0)) {
        shown = AskForMedium(window, request) != 0;
        ::SendMessageW(window, WM_RESTORE_POLLING, TRUE, 0);
    }
    if (run.report) run.report->MediaRequest(request.part, static_cast<wchar_t>(request.drive), request.answer, shown);
}
