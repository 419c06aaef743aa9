// Fault injection: the catalog names calls of an operation that fail with a code.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "simengine/Catalog.h"

namespace sim {

class Faults {
public:
    // New faults; call numbers count from 1 again.
    void Reset(std::vector<Fault> faults);

    // Counts a call of `operation` and returns the code it fails with, 0 for none.
    std::int32_t OnCall(std::string_view operation);

private:
    std::mutex m_lock;
    std::vector<Fault> m_faults;
    std::map<std::string, std::uint32_t, std::less<>> m_calls;
};

}  // namespace sim
