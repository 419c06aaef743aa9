#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "framework/Format.h"

using palto::FormatArg;
using palto::FormatInserts;
using palto::FormatTemplate;
using palto::FormatText;

namespace {

TEST(FormatText, FillsTheConversionsTheTemplatesUse)
{
    EXPECT_EQ(FormatText(L"Disk %d: %s (%.2f GB)", 1, L"Data", 12.5), L"Disk 1: Data (12.50 GB)");
    EXPECT_EQ(FormatText(L"%04d-%02d-%02d %02d:%02d:%02d", 2013, 7, 4, 9, 5, 1), L"2013-07-04 09:05:01");
    EXPECT_EQ(FormatText(L"%i|%u|%x|%X|%o", -3, 7u, 255, 255, 8), L"-3|7|ff|FF|10");
    EXPECT_EQ(FormatText(L"%c: %ls", L'E', std::wstring(L"drive")), L"E: drive");
    EXPECT_EQ(FormatText(L"%e|%g|%G", 1500.0, 0.0001, 1e20), L"1.500000e+03|0.0001|1E+20");
    EXPECT_EQ(FormatText(L"100%%"), L"100%");
    EXPECT_EQ(FormatText(L"no conversions"), L"no conversions");
}

TEST(FormatText, HonoursFlagsWidthAndPrecision)
{
    EXPECT_EQ(FormatText(L"[%5d][%-5d][%05d][%+d][% d]", 42, 42, 42, 42, 42), L"[   42][42   ][00042][+42][ 42]");
    EXPECT_EQ(FormatText(L"[%8.3f][%-8.1f][%#x]", 3.14159, 2.0, 255), L"[   3.142][2.0     ][0xff]");
    EXPECT_EQ(FormatText(L"[%6s][%-6s][%.2s]", L"ab", L"ab", L"abcdef"), L"[    ab][ab    ][ab]");
    EXPECT_EQ(FormatText(L"[%*d][%-*d][%.*f]", 4, 7, 3, 7, 1, 2.25), L"[   7][7  ][2.2]");
    EXPECT_EQ(FormatText(L"[%*d]", -4, 7), L"[7   ]");  // a negative '*' width left-justifies
}

TEST(FormatText, IntegersAreThirtyTwoBitsUnlessTheTemplateSaysOtherwise)
{
    EXPECT_EQ(FormatText(L"%d", 0xFFFFFFFFu), L"-1");
    EXPECT_EQ(FormatText(L"%u", -1), L"4294967295");
    EXPECT_EQ(FormatText(L"%d", std::numeric_limits<int>::min()), L"-2147483648");
    EXPECT_EQ(FormatText(L"%lld|%I64u|%llx", -5LL, 18446744073709551615ULL, 0x1234567890ULL),
              L"-5|18446744073709551615|1234567890");
    EXPECT_EQ(FormatText(L"%hd|%hhu", 70000, 300), L"4464|44");
}

// A template from a resource module may not match what the program passes: nothing
// is read that was not given, and the text shows what could be filled.
struct MismatchCase {
    const wchar_t* templ;
    std::vector<FormatArg> args;
    const wchar_t* expected;
};

void PrintTo(const MismatchCase& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.templ));
}

class FormatMismatch : public testing::TestWithParam<MismatchCase> {};

TEST_P(FormatMismatch, FillsWhatItSafelyCan)
{
    const MismatchCase& c = GetParam();
    EXPECT_EQ(FormatTemplate(c.templ, c.args), c.expected);
}

const std::wstring kName = L"Data";

INSTANTIATE_TEST_SUITE_P(Templates, FormatMismatch, testing::Values(
    MismatchCase{L"%d and %d", {FormatArg(1)}, L"1 and %d"},                 // too many conversions
    MismatchCase{L"%s", {}, L"%s"},
    MismatchCase{L"%s GB", {FormatArg(2.5)}, L"2.5 GB"},                     // a number for %s
    MismatchCase{L"%s", {FormatArg(-3)}, L"-3"},
    MismatchCase{L"%d", {FormatArg(kName)}, L"Data"},                        // a text for %d
    MismatchCase{L"[%5f]", {FormatArg(kName)}, L"[ Data]"},
    MismatchCase{L"%d GB", {FormatArg(12.9)}, L"12 GB"},                     // a real for %d: truncated
    MismatchCase{L"%.1f", {FormatArg(3)}, L"3.0"},                           // an integer for %f
    MismatchCase{L"%c", {FormatArg(0x45)}, L"E"},
    MismatchCase{L"%c", {FormatArg(kName)}, L"Data"},
    MismatchCase{L"%n%d", {FormatArg(5)}, L"%n5"},                           // %n writes nothing
    MismatchCase{L"%p %d", {FormatArg(5)}, L"%p 5"},                         // unknown conversion kept
    MismatchCase{L"%q", {FormatArg(5)}, L"%q"},
    MismatchCase{L"50%", {FormatArg(5)}, L"50%"},                            // a lone '%' at the end
    MismatchCase{L"%5.", {FormatArg(5)}, L"%5."},
    MismatchCase{L"%*d", {FormatArg(kName), FormatArg(3)}, L"%*d"},          // '*' wants an integer
    MismatchCase{L"%*d", {FormatArg(3)}, L"%*d"},                            // '*' took the only argument
    MismatchCase{L"%d %d", {FormatArg(1), FormatArg(2), FormatArg(3)}, L"1 2"}));  // extra arguments ignored

TEST(FormatText, HugeWidthsAndPrecisionsAreBounded)
{
    const std::wstring wide = FormatText(L"%999999999d", 1);
    EXPECT_LE(wide.size(), 1024u);
    EXPECT_EQ(wide.back(), L'1');
    EXPECT_LE(FormatText(L"%.99999999f", 1e308).size(), 1024u + 400u);
    EXPECT_EQ(FormatText(L"%.99999999s", L"ab"), L"ab");
}

TEST(FormatText, NullTextIsEmpty)
{
    const wchar_t* none = nullptr;
    EXPECT_EQ(FormatText(L"[%s]", none), L"[]");
}

struct InsertCase {
    const wchar_t* templ;
    const wchar_t* expected;
};

void PrintTo(const InsertCase& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.templ));
}

class FormatInsertsTable : public testing::TestWithParam<InsertCase> {};

TEST_P(FormatInsertsTable, PlacesInsertsByNumber)
{
    const std::wstring date = L"2011-03-04";
    const FormatArg inserts[] = {FormatArg(2), FormatArg(date), FormatArg(L'E')};
    EXPECT_EQ(FormatInserts(GetParam().templ, inserts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Templates, FormatInsertsTable, testing::Values(
    InsertCase{L"Step %1 of 4", L"Step 2 of 4"},
    InsertCase{L"%3 %1 %2", L"E 2 2011-03-04"},
    InsertCase{L"%1!03d! %2!.4s! %3!c!", L"002 2011 E"},
    InsertCase{L"%1%1", L"22"},
    InsertCase{L"%4 and %9 and %0", L"%4 and %9 and "},        // missing inserts kept; %0 ends the text
    InsertCase{L"100%% %n", L"100% \r\n"},
    InsertCase{L"%1!d", L"%1!d"},                               // unfinished format kept
    InsertCase{L"%1!n!", L"%n"},                                // a format that writes is not filled
    InsertCase{L"%2!d!", L"2011-03-04"},                        // a text for %d: itself
    InsertCase{L"%x %", L"%x %"}));

}  // namespace

// The figures of a template in a module's convention: the module's separator text, and
// what a template with a size then shows.
struct SeparatorCase {
    const wchar_t* moduleText;
    const wchar_t* templ;
    std::wstring shown;
};

class DecimalSeparator : public testing::TestWithParam<SeparatorCase> {
protected:
    void TearDown() override { palto::UseDecimalSeparator(L"."); }
};

TEST_P(DecimalSeparator, ReplacesThePointOfEveryRealAndNothingElse)
{
    palto::UseDecimalSeparator(GetParam().moduleText);
    EXPECT_EQ(FormatText(GetParam().templ, 1646.9, L"v1.2", 3), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Modules, DecimalSeparator, testing::Values(
    SeparatorCase{L",", L"%.1f Go (%s) %d.", L"1646,9 Go (v1.2) 3."},
    SeparatorCase{L".", L"%.1f GB (%s) %d.", L"1646.9 GB (v1.2) 3."},
    SeparatorCase{L",", L"%8.2f|%s|%d", L" 1646,90|v1.2|3"},
    SeparatorCase{L",", L"%e %s", L"1,646900e+03 v1.2"},
    SeparatorCase{L",", L"%s %d %s", L"1646,9 v1.2 3"},        // each in its natural form
    SeparatorCase{L",", L"%.0f GB", L"1647 GB"},
    SeparatorCase{L", ", L"%.1f GB", L"1646.9 GB"},             // two characters: no separator
    SeparatorCase{L"", L"%.1f GB", L"1646.9 GB"},
    SeparatorCase{L"5", L"%.1f GB", L"1646.9 GB"},
    SeparatorCase{L" ", L"%.1f GB", L"1646.9 GB"}));

TEST(TemplateArguments, ListsTheKindOfEveryArgumentInOrder)
{
    using K = palto::TemplateArg;
    const struct {
        const wchar_t* templ;
        std::vector<K> kinds;
    } cases[] = {
        {L"Disk %d: %s%.1f GB", {K::Int, K::Text, K::Real}},
        {L"Insert the last disc made on %s into drive %c:", {K::Text, K::Char}},
        {L"%d:%02d:%02d  %u %x %X %o %i", {K::Int, K::Int, K::Int, K::Int, K::Int, K::Int, K::Int, K::Int}},
        {L"%lld %I64u %zd %ld %hd %hhd", {K::Int64, K::Int64, K::Int64, K::Int, K::Int, K::Int}},
        {L"%e %G %ls %S", {K::Real, K::Real, K::Text, K::Text}},
        {L"[%*d][%.*f][%-*.*s]", {K::Int, K::Int, K::Int, K::Real, K::Int, K::Int, K::Text}},
        {L"100%% sure, 50%% done", {}},
        {L"%%d is no conversion", {}},
        {L"Step %1 of 4", {}},  // a width with no conversion after it
        {L"no conversions", {}},
        {L"ends inside %0", {}},
        {L"%", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(palto::TemplateArguments(c.templ), c.kinds) << testing::PrintToString(std::wstring(c.templ));
}

TEST(TemplateArguments, TellsATextFromANumber)
{
    EXPECT_NE(palto::TemplateArguments(L"Disk %d: %.1f GB"), palto::TemplateArguments(L"Disk %s: %.1f GB"));
    EXPECT_NE(palto::TemplateArguments(L"%d, %s"), palto::TemplateArguments(L"%s, %d"));
    EXPECT_EQ(palto::TemplateArguments(L"Disk %d: %.1f GB"), palto::TemplateArguments(L"Datenträger %d: %.1f GB"));
}
