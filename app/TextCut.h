// Shortening of texts shown in narrow places (the step panel, the project list).
#pragma once

#include <string>
#include <string_view>

namespace palto {

// A text longer than `longest` characters becomes its first `kept` characters
// followed by "..". A shorter one is returned whole.
std::wstring CutText(std::wstring_view text, size_t longest, size_t kept);

}  // namespace palto
