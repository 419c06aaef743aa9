// The objects the engine's callbacks reach, each by a token that is never reused in the
// process. The engine holds the token as the callback's context, never an address, so a
// callback that arrives after its object was forgotten, or has gone, finds nothing and
// can never reach a later object.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

// A token no other callback target of the process has had or will have; never 0.
inline std::uintptr_t NewCallbackToken()
{
    static std::atomic<std::uintptr_t> last{0};
    return ++last;
}

// The context the engine is given for the target of `token`.
inline void* CallbackContext(std::uintptr_t token)
{
    return reinterpret_cast<void*>(token);
}

// The targets of one type by token. Weak: the registry keeps no target alive; a callback
// holds its target only while it runs.
template <class Target>
class CallbackTargets {
public:
    // The process's registry of targets of this type. Never destroyed: engine threads may
    // still call in while the program's static objects are destroyed at its end.
    static CallbackTargets& Instance()
    {
        static auto* targets = new CallbackTargets;
        return *targets;
    }

    void Add(std::uintptr_t token, const std::shared_ptr<Target>& target)
    {
        std::lock_guard lock(m_lock);
        m_targets[token] = target;
    }

    void Remove(std::uintptr_t token)
    {
        std::lock_guard lock(m_lock);
        m_targets.erase(token);
    }

    // The target a callback's context names, while it exists and is registered.
    std::shared_ptr<Target> Find(void* context) const
    {
        if (!context) return nullptr;
        std::lock_guard lock(m_lock);
        const auto found = m_targets.find(reinterpret_cast<std::uintptr_t>(context));
        return found == m_targets.end() ? nullptr : found->second.lock();
    }

private:
    CallbackTargets() = default;

    mutable std::mutex m_lock;
    std::map<std::uintptr_t, std::weak_ptr<Target>> m_targets;
};
