// The lines of the restore report, without a file and without a clock: the fields in
// fixed English keys, times with their offset from UTC, sizes, and the UTF-8 bytes that
// go to the file. The report is read in the recovery environment, often with a clock
// that is not the local one, so every time says how far from UTC it is.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace palto {

// A moment as the computer's clock shows it, and how far that clock is from UTC.
struct ReportTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int offsetMinutes = 0;   // local minus UTC: +60 for UTC+01:00
};

// "2026-12-10 23:40:05 +01:00".
std::wstring ReportTimeText(const ReportTime& time);

// "PaltoRestore-20261210-234005.txt".
std::wstring ReportFileName(const ReportTime& time);

// "Key: value". Line breaks and other control characters of the value (engine texts,
// labels, translated messages) become blanks: one field is always one line.
std::wstring ReportField(std::wstring_view key, std::wstring_view value);

// The parts of a field's value joined with " | ".
std::wstring ReportJoin(std::initializer_list<std::wstring_view> parts);

// "107374182400 bytes".
std::wstring ReportBytes(std::uint64_t bytes);

// "1:02:05" for 3725 seconds; a negative count (a clock set back) is 0:00:00.
std::wstring ReportElapsed(std::int64_t seconds);

// The line as it goes into the file: UTF-8 with CRLF. Lone surrogates become U+FFFD.
std::string ReportLineBytes(std::wstring_view line);

// What opens the file, so that Notepad reads it as UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace palto
