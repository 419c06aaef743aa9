#include "restore/ReportLines.h"

#include <cstdio>
#include <cstdlib>

namespace palto {

namespace {

// `value` with leading zeros to `width` digits.
std::wstring Padded(long long value, int width)
{
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%0*lld", width, value);
    return text;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool HighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool LowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::wstring ReportTimeText(const ReportTime& t)
{
    const int offset = std::abs(t.offsetMinutes);
    return Padded(t.year, 4) + L"-" + Padded(t.month, 2) + L"-" + Padded(t.day, 2) + L" " + Padded(t.hour, 2) + L":" +
           Padded(t.minute, 2) + L":" + Padded(t.second, 2) + (t.offsetMinutes < 0 ? L" -" : L" +") +
           Padded(offset / 60, 2) + L":" + Padded(offset % 60, 2);
}

std::wstring ReportFileName(const ReportTime& t)
{
    return L"PaltoRestore-" + Padded(t.year, 4) + Padded(t.month, 2) + Padded(t.day, 2) + L"-" + Padded(t.hour, 2) +
           Padded(t.minute, 2) + Padded(t.second, 2) + L".txt";
}

std::wstring ReportField(std::wstring_view key, std::wstring_view value)
{
    std::wstring line(key);
    line += L": ";
    for (const wchar_t c : value) line += (c < 0x20 || c == 0x7F) ? L' ' : c;
    return line;
}

std::wstring ReportJoin(std::initializer_list<std::wstring_view> parts)
{
    std::wstring joined;
    for (const std::wstring_view part : parts) {
        if (!joined.empty()) joined += L" | ";
        joined += part;
    }
    return joined;
}

std::wstring ReportBytes(std::uint64_t bytes)
{
    return std::to_wstring(bytes) + L" bytes";
}

std::wstring ReportElapsed(std::int64_t seconds)
{
    if (seconds < 0) seconds = 0;
    return std::to_wstring(seconds / 3600) + L":" + Padded(seconds % 3600 / 60, 2) + L":" + Padded(seconds % 60, 2);
}

std::string ReportLineBytes(std::wstring_view line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char32_t c = static_cast<char32_t>(line[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (HighSurrogate(c) && i + 1 < line.size() && LowSurrogate(static_cast<char32_t>(line[i + 1]))) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(line[++i]) - 0xDC00);
            }
        }
        if (HighSurrogate(c) || LowSurrogate(c) || c > 0x10FFFF) c = 0xFFFD;
        AppendUtf8(out, c);
    }
    out += "\r\n";
    return out;
}

}  // namespace palto
