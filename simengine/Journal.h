// The journal: one JSON object per line for every call and notification, appended to
// the file HALVEX_SIM_JOURNAL names, so that tests can see what the engine received.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace sim {

class Journal {
public:
    // The file to append to; an empty path keeps no journal.
    void SetPath(std::wstring path);

    void Write(const nlohmann::json& line);

private:
    std::mutex m_lock;
    std::wstring m_path;
};

// UTF-16 text as the UTF-8 the journal holds.
std::string Utf8(std::u16string_view text);

}  // namespace sim
