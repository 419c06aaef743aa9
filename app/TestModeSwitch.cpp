#include "app/TestModeSwitch.h"

namespace palto {

bool HasTestModeSwitch(std::wstring_view commandLine)
{
    size_t start = 0;
    while (start <= commandLine.size()) {
        size_t end = commandLine.find_first_of(L"-/", start);
        if (end == std::wstring_view::npos) end = commandLine.size();
        const std::wstring_view token = commandLine.substr(start, end - start);
        if (token == L"test" || token == L"TEST") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace palto
