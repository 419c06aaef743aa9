#include "simengine/Faults.h"

namespace sim {

void Faults::Reset(std::vector<Fault> faults)
{
    std::lock_guard lock(m_lock);
    m_faults = std::move(faults);
    m_calls.clear();
}

std::int32_t Faults::OnCall(std::string_view operation)
{
    std::lock_guard lock(m_lock);
    auto it = m_calls.find(operation);
    if (it == m_calls.end()) it = m_calls.emplace(std::string(operation), 0).first;
    const std::uint32_t call = ++it->second;
    for (const Fault& fault : m_faults)
        if (fault.operation == operation && (fault.call == 0 || fault.call == call)) return fault.code;
    return 0;
}

}  // namespace sim
