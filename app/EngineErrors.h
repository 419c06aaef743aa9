// The texts of the engine's result codes: a fixed table of the codes the wizard knows,
// and a general failure text with the code for every other one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace palto {

// The string id of a code of the table, 0 for a code the table does not hold.
unsigned EngineErrorStringId(std::int32_t code);

// The text the user sees for `code`: the table's string, or the general failure text
// (string IDS_ENGINE_ERROR_OTHER), two blanks and the code in signed decimal. A table
// string missing from the resource module falls back to the general form, so that a
// failure never shows an empty box. `loadText` gives a string's text, empty when missing.
std::wstring EngineErrorText(std::int32_t code, const std::function<std::wstring(unsigned id)>& loadText);

}  // namespace palto
