#include <gtest/gtest.h>

#include "restore/ReportLines.h"

using namespace palto;

TEST(ReportLines, TimesCarryTheirOffsetFromUtc)
{
    struct Case {
        ReportTime time;
        const wchar_t* text;
        const wchar_t* fileName;
    } cases[] = {
        {{2026, 12, 10, 23, 40, 5, 60}, L"2026-12-10 23:40:05 +01:00", L"PaltoRestore-20261210-234005.txt"},
        {{2027, 1, 2, 3, 4, 5, 0}, L"2027-01-02 03:04:05 +00:00", L"PaltoRestore-20270102-030405.txt"},
        {{2026, 7, 1, 9, 0, 0, -330}, L"2026-07-01 09:00:00 -05:30", L"PaltoRestore-20260701-090000.txt"},
        {{2026, 3, 29, 12, 59, 59, 345}, L"2026-03-29 12:59:59 +05:45", L"PaltoRestore-20260329-125959.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReportTimeText(c.time), c.text);
        EXPECT_EQ(ReportFileName(c.time), c.fileName);
    }
}

TEST(ReportLines, AFieldIsOneLineWhateverItsValueHolds)
{
    EXPECT_EQ(ReportField(L"Restore-Type", L"Partition"), L"Restore-Type: Partition");
    EXPECT_EQ(ReportField(L"Engine-Message", L"First line.\r\nSecond\tline.\n"),
              L"Engine-Message: First line.  Second line. ");
    EXPECT_EQ(ReportField(L"Label", std::wstring(L"a\0b", 3)), L"Label: a b");
    EXPECT_EQ(ReportField(L"Label", L""), L"Label: ");
}

TEST(ReportLines, PartsAreJoinedWithBars)
{
    EXPECT_EQ(ReportJoin({L"0", ReportBytes(107374182400), L"100.0 GB"}), L"0 | 107374182400 bytes | 100.0 GB");
    EXPECT_EQ(ReportJoin({L"only"}), L"only");
    EXPECT_EQ(ReportBytes(18446744073709551615ull), L"18446744073709551615 bytes");
}

TEST(ReportLines, ElapsedTimeInHoursMinutesSeconds)
{
    const std::pair<std::int64_t, const wchar_t*> cases[] = {
        {0, L"0:00:00"}, {59, L"0:00:59"}, {3725, L"1:02:05"}, {90061, L"25:01:01"}, {-5, L"0:00:00"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(ReportElapsed(seconds), text) << seconds;
}

TEST(ReportLines, LinesAreUtf8WithCrLf)
{
    EXPECT_EQ(ReportLineBytes(L"Test-Mode: yes"), "Test-Mode: yes\r\n");
    EXPECT_EQ(ReportLineBytes(L"\u00e9\u00df"), "\xC3\xA9\xC3\x9F\r\n");
    EXPECT_EQ(ReportLineBytes(L"\u5fa9\u5143"), "\xE5\xBE\xA9\xE5\x85\x83\r\n");
    EXPECT_EQ(ReportLineBytes(L""), "\r\n");
    EXPECT_EQ(kUtf8ByteOrderMark, "\xEF\xBB\xBF");
}

TEST(ReportLines, CharactersBeyondTheBasicPlaneAndLoneSurrogates)
{
    std::wstring emoji;
    if constexpr (sizeof(wchar_t) == 2) emoji = {wchar_t(0xD83D), wchar_t(0xDCBE)};
    else emoji = {wchar_t(0x1F4BE)};
    EXPECT_EQ(ReportLineBytes(emoji), "\xF0\x9F\x92\xBE\r\n");
    EXPECT_EQ(ReportLineBytes(std::wstring{L'a', wchar_t(0xD800), L'b'}), "a\xEF\xBF\xBD" "b\r\n");
}
