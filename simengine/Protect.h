// The protected form of a password that EncryptString gives: a keyed transform, equal
// for equal texts and different for texts that differ in anything, letter case too.
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::u16string ProtectedForm(std::u16string_view text);

}  // namespace sim
