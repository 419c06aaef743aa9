// Arbitrary prompt templates with arbitrary request values: the prompt must never read
// a value it was not given nor write anywhere (ASan and UBSan watch).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/MediaPrompt.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Part and drive come first; the rest is both templates, split at the first zero byte.
    std::int32_t part = 0;
    std::int32_t drive = 0;
    if (size < sizeof part + sizeof drive) return 0;
    std::memcpy(&part, data, sizeof part);
    std::memcpy(&drive, data + sizeof part, sizeof drive);
    std::wstring templates;
    for (std::size_t i = sizeof part + sizeof drive; i < size; ++i) templates += static_cast<wchar_t>(data[i]);
    const std::size_t split = templates.find(L'\0');
    const std::wstring partTemplate = templates.substr(0, split);
    const std::wstring lastTemplate = split == std::wstring::npos ? templates : templates.substr(split + 1);
    palto::MediaPromptText({partTemplate, lastTemplate}, part, L"2011-03-04 05:06:07", drive);
    return 0;
}
