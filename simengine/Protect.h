// The protected form of a password that EncryptString gives: a keyed transform, equal
// for equal texts and different for texts that differ in anything, letter case too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

// At least 36 characters; `length` characters when it asks for more.
std::u16string ProtectedForm(std::u16string_view text, std::size_t length = 0);

}  // namespace sim
