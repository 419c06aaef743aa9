// The end messages close with the line that says where the restore report is; its file
// name carries the time of the run. Tests compare the whole text with the name written
// as "PaltoRestore-<time>.txt".
#pragma once

#include <cwctype>
#include <string>
#include <string_view>

namespace palto::test {

inline constexpr std::wstring_view kReportNameMask = L"PaltoRestore-<time>.txt";

// `text` with every "PaltoRestore-YYYYMMDD-HHMMSS.txt" (or "...-N.txt") as kReportNameMask.
inline std::wstring MaskReportName(std::wstring text)
{
    const std::wstring_view prefix = L"PaltoRestore-";
    for (std::size_t at = text.find(prefix); at != std::wstring::npos; at = text.find(prefix, at + 1)) {
        std::size_t end = at + prefix.size();
        while (end < text.size() && (std::iswdigit(text[end]) || text[end] == L'-')) ++end;
        if (text.compare(end, 4, L".txt") != 0) continue;
        text.replace(at, end + 4 - at, kReportNameMask);
    }
    return text;
}

// The English end message `text` with the line of a report kept in `folder`.
inline std::wstring WithReportIn(std::wstring_view text, std::wstring_view folder)
{
    return std::wstring(text) + L"\n\nThe report of this restore is in " + std::wstring(folder) + L"\\" +
           std::wstring(kReportNameMask);
}

}  // namespace palto::test
