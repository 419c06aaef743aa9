// Arbitrary templates with an arbitrary mix of arguments: formatting must never read
// an argument it was not given nor write anywhere (ASan and UBSan watch).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    // The first byte chooses the arguments: two bits each for up to four of them.
    const std::uint8_t choice = data[0];
    std::wstring templ;
    for (std::size_t i = 1; i < size; ++i) templ += static_cast<wchar_t>(data[i]);

    const std::wstring text = L"text";
    std::vector<palto::FormatArg> args;
    for (int k = 0; k < (choice & 3) + 1; ++k) {
        switch ((choice >> (2 * k)) & 3) {
        case 0: args.emplace_back(-7); break;
        case 1: args.emplace_back(1.5e300); break;
        case 2: args.emplace_back(text); break;
        default: args.emplace_back(L'x'); break;
        }
    }
    const std::size_t count = (choice >> 7) ? args.size() : args.size() / 2;  // sometimes too few
    palto::FormatTemplate(templ, std::span(args.data(), count));
    palto::FormatInserts(templ, std::span(args.data(), count));
    return 0;
}
