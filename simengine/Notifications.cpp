#include "simengine/Notifications.h"

#include <windows.h>

namespace sim {

bool Notifications::Set(unsigned id, NotifyFunction function, void* context)
{
    if (id < kNotifyTaskEnd || id > kNotifyMediaRequest) return false;
    std::lock_guard lock(m_lock);
    m_registrations[id] = function ? Registration{function, context} : Registration{};
    return true;
}

bool Notifications::Notify(unsigned id, void* record) const
{
    if (id < kNotifyTaskEnd || id > kNotifyMediaRequest) return false;
    Registration registration;
    {
        std::lock_guard lock(m_lock);
        registration = m_registrations[id];
    }
    if (!registration.function) return false;
    registration.function(registration.context, record);
    return true;
}

void Notifications::Clear()
{
    std::lock_guard lock(m_lock);
    for (Registration& registration : m_registrations) registration = {};
}

bool RequestMedia(const Notifications& notifications, const MediaRequest& media, std::uint64_t backupTime,
                  nlohmann::json& journal)
{
    _MediaRequestNotifyData request{};
    request.part = media.part;
    request.drive = media.drive;
    request.answer = kMediaAnswerCancel;   // what stays when no answer comes
    request.backupTime = backupTime;
    const bool delivered = notifications.Notify(kNotifyMediaRequest, &request);
    journal = {{"part", request.part}, {"drive", request.drive}, {"backupTime", backupTime}, {"delivered", delivered},
               {"answer", request.answer}, {"thread", ::GetCurrentThreadId()}};
    return request.answer == kMediaAnswerOk;
}

}  // namespace sim
