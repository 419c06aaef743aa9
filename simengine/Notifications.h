// The callbacks the caller registered, one per notification id.
#pragma once

#include <cstdint>
#include <mutex>

#include <nlohmann/json.hpp>

#include "engine/HalvexRecords.h"
#include "simengine/Catalog.h"

namespace sim {

class Notifications {
public:
    // False for an id the engine does not send. A null function withdraws the id's.
    bool Set(unsigned id, NotifyFunction function, void* context);

    // Calls the registered function with `record` on the calling thread and returns
    // when it has; false when nothing is registered for `id`. No lock is held during
    // the call, so the callback may call the engine.
    bool Notify(unsigned id, void* record) const;

    void Clear();

private:
    struct Registration {
        NotifyFunction function = nullptr;
        void* context = nullptr;
    };
    mutable std::mutex m_lock;
    Registration m_registrations[kNotifyMediaRequest + 1];
};

// Sends a media request for the backup made at `backupTime` on the calling thread and
// reads the answer back; no answer counts as Cancel. `journal` receives what happened.
bool RequestMedia(const Notifications& notifications, const MediaRequest& media, std::uint64_t backupTime,
                  nlohmann::json& journal);

}  // namespace sim
