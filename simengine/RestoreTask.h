// A restore task on a thread of its own: it moves through the stages of its script,
// sends the script's media requests and engine messages through the notifications,
// and ends with the task-end notification. Progress and stop are answered at any
// time, also while the task's thread waits in a callback.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "engine/HalvexRecords.h"
#include "simengine/Catalog.h"
#include "simengine/Journal.h"
#include "simengine/Notifications.h"

namespace sim {

class RestoreTask {
public:
    // `backupTime` is the restored backup's time, named in media requests.
    RestoreTask(std::uint32_t projectId, RestoreScript script, std::uint64_t backupTime, const Notifications& notifications,
                Journal& journal);
    ~RestoreTask();   // stops the task and waits for its thread
    RestoreTask(const RestoreTask&) = delete;
    RestoreTask& operator=(const RestoreTask&) = delete;

    std::uint32_t projectId() const { return m_projectId; }
    bool Ended() const;
    void Progress(_ProgressInfo& progress) const;

    // Ends the task early with kCancelled; it stops at once unless its thread waits
    // in a callback, and then when the callback returns.
    void Stop();

private:
    void Run();
    std::int32_t RunStage(std::size_t index);
    std::int32_t Send(const RestoreEvent& event);
    void Publish(const Stage& stage, std::int32_t percent);
    bool StopRequested() const;

    const std::uint32_t m_projectId;
    const RestoreScript m_script;
    const std::uint64_t m_backupTime;
    const Notifications& m_notifications;
    Journal& m_journal;

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_ended = false;
    std::int32_t m_phase = 0;
    std::int32_t m_percent = 0;
    bool m_firstStage = false;

    std::thread m_thread;   // last: starts when everything above is ready
};

}  // namespace sim
