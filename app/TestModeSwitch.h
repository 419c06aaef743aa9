// The command-line switch for test mode.
#pragma once

#include <string_view>

namespace palto {

// True when the command line, split into tokens at every '-' and '/', holds a token
// that is exactly "test" or exactly "TEST". Blanks are not separators, so "-test -x"
// gives the token "test " and no match; the program path is a token like any other.
bool HasTestModeSwitch(std::wstring_view commandLine);

}  // namespace palto
