#include "simengine/RestoreTask.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "engine/HalvexCodes.h"

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(20);

}  // namespace

RestoreTask::RestoreTask(std::uint32_t projectId, RestoreScript script, std::uint64_t backupTime,
                         const Notifications& notifications, Journal& journal)
    : m_projectId(projectId),
      m_script(std::move(script)),
      m_backupTime(backupTime),
      m_notifications(notifications),
      m_journal(journal),
      m_phase(m_script.stages.empty() ? 0 : m_script.stages.front().phase),
      m_firstStage(!m_script.stages.empty() && m_script.stages.front().firstStage),
      m_thread(&RestoreTask::Run, this)
{
}

RestoreTask::~RestoreTask()
{
    Stop();
    if (m_thread.joinable()) m_thread.join();
}

bool RestoreTask::Ended() const
{
    std::lock_guard lock(m_lock);
    return m_ended;
}

void RestoreTask::Progress(_ProgressInfo& progress) const
{
    std::lock_guard lock(m_lock);
    progress.phase = m_phase;
    progress.percent = m_percent;
    progress.firstStage = m_firstStage;
}

void RestoreTask::Stop()
{
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
}

bool RestoreTask::StopRequested() const
{
    std::lock_guard lock(m_lock);
    return m_stop;
}

void RestoreTask::Publish(const Stage& stage, std::int32_t percent)
{
    std::lock_guard lock(m_lock);
    m_phase = stage.phase;
    m_percent = percent;
    m_firstStage = stage.firstStage;
}

void RestoreTask::Run()
{
    std::int32_t result = m_script.result;
    for (std::size_t i = 0; i < m_script.stages.size(); ++i) {
        if (const std::int32_t failure = RunStage(i)) {
            result = failure;
            break;
        }
    }
    _TaskEndNotifyData end{};
    end.result = result;
    const bool delivered = m_notifications.Notify(kNotifyTaskEnd, &end);
    m_journal.Write({{"notify", "TaskEnd"}, {"projectId", m_projectId}, {"result", result}, {"delivered", delivered},
                     {"thread", ::GetCurrentThreadId()}});
    std::lock_guard lock(m_lock);
    m_ended = true;
}

// Percent goes from 0 to 100 over the stage's time; time spent in callbacks does not
// count. Returns 0 when the stage has run to its end, else the code the task ends with.
std::int32_t RestoreTask::RunStage(std::size_t index)
{
    const Stage& stage = m_script.stages[index];
    std::vector<const RestoreEvent*> events;
    for (const RestoreEvent& event : m_script.events)
        if (event.stage == index) events.push_back(&event);
    std::stable_sort(events.begin(), events.end(), [](auto* a, auto* b) { return a->percent < b->percent; });

    const auto duration = std::chrono::milliseconds(stage.durationMs);
    Clock::duration elapsed{};
    auto next = events.begin();
    for (;;) {
        const std::int32_t percent =
            duration.count() == 0 ? 100 : static_cast<std::int32_t>(std::min<Clock::rep>(100, elapsed * 100 / duration));
        Publish(stage, percent);
        for (; next != events.end() && (*next)->percent <= percent; ++next) {
            if (const std::int32_t failure = Send(**next)) return failure;
        }
        if (StopRequested()) return halvex::kCancelled;
        if (percent >= 100) return 0;

        const auto before = Clock::now();
        std::unique_lock lock(m_lock);
        m_wake.wait_for(lock, kTick, [this] { return m_stop; });
        elapsed += Clock::now() - before;
    }
}

// Sends one scripted notification and reads the answer: 0 to go on, else the code the
// task ends with.
std::int32_t RestoreTask::Send(const RestoreEvent& event)
{
    if (event.mediaRequest) {
        nlohmann::json line;
        const bool ok = RequestMedia(m_notifications, *event.mediaRequest, m_backupTime, line);
        line["notify"] = "MediaRequest";
        m_journal.Write(line);
        return ok ? 0 : halvex::kMediumNotAvailable;
    }
    _EngineMessageNotifyData message{};
    message.param = event.param;
    message.code = event.code;
    const bool delivered = m_notifications.Notify(kNotifyEngineMessage, &message);
    m_journal.Write({{"notify", "EngineMessage"}, {"code", message.code}, {"param", message.param},
                     {"delivered", delivered}, {"answer", message.answer}, {"thread", ::GetCurrentThreadId()}});
    if (message.code == halvex::kAskGoOn && message.answer != 1) return halvex::kCancelled;
    return 0;
}

}  // namespace sim
