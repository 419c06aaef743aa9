// The callbacks the caller registered, one per notification id.
#pragma once

#include <mutex>

#include "engine/HalvexRecords.h"

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

}  // namespace sim
