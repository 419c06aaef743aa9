// The media prompt: each value in the place its placeholder has in the translation,
// whatever the translation does with the placeholders.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <string>

#include "app/MediaPrompt.h"

namespace {

constexpr wchar_t kDate[] = L"2011-03-04 05:06:07";

struct PromptCase {
    const char* name;
    const wchar_t* partTemplate;
    std::int32_t part;
    std::int32_t drive;
    const wchar_t* expected;
};

void PrintTo(const PromptCase& c, std::ostream* out)
{
    *out << c.name << ": template " << testing::PrintToString(std::wstring(c.partTemplate)) << ", part " << c.part
         << ", drive " << c.drive;
    if (c.drive > 0x20 && c.drive < 0x7F) *out << " '" << static_cast<char>(c.drive) << "'";
    *out << ", expects " << testing::PrintToString(std::wstring(c.expected));
}

class MediaPrompt : public testing::TestWithParam<PromptCase> {};

TEST_P(MediaPrompt, PlacesEachValueAtItsPlaceholder)
{
    const PromptCase& c = GetParam();
    const palto::MediaPromptTemplates templates{c.partTemplate, L"Last disc of %s into %c:"};
    EXPECT_EQ(palto::MediaPromptText(templates, c.part, kDate, c.drive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Templates, MediaPrompt, testing::Values(
    PromptCase{"InOrder", L"Disc %1 of %2 into %3:", 2, 'E', L"Disc 2 of 2011-03-04 05:06:07 into E:"},
    PromptCase{"DriveFirst", L"In %3: disc %1 of %2", 2, 'E', L"In E: disc 2 of 2011-03-04 05:06:07"},
    PromptCase{"DateFirst", L"%2: %3 / %1", 2, 'E', L"2011-03-04 05:06:07: E / 2"},
    PromptCase{"DriveMissing", L"Disc %1 of %2", 2, 'E', L"Disc 2 of 2011-03-04 05:06:07"},
    PromptCase{"NumberTwice", L"Disc %1 (%1) of %2 into %3:", 2, 'E', L"Disc 2 (2) of 2011-03-04 05:06:07 into E:"},
    PromptCase{"NoPlaceholder", L"Insert the next disc.", 2, 'E', L"Insert the next disc."},
    PromptCase{"UnknownPlaceholder", L"Disc %1 of %4", 2, 'E', L"Disc 2 of %4"},
    PromptCase{"PercentSigns", L"100%% of disc %1", 2, 'E', L"100% of disc 2"},
    PromptCase{"PrintfConversionsAreText", L"%s %d %1", 2, 'E', L"%s %d 2"},
    PromptCase{"PartZero", L"Disc %1", 0, 'E', L"Disc 0"},
    PromptCase{"NegativePartOutsideTheLastMedium", L"Disc %1", -4, 'E', L"Disc -4"},
    PromptCase{"SmallestPart", L"Disc %1", INT_MIN, 'E', L"Disc -2147483648"},
    PromptCase{"LargestPart", L"Disc %1", INT_MAX, 'E', L"Disc 2147483647"},
    PromptCase{"DriveZero", L"Drive %3:", 1, 0, L"Drive ?:"},
    PromptCase{"DriveBeyondCharacters", L"Drive %3:", 1, 0x110041, L"Drive ?:"},
    PromptCase{"DriveNegative", L"Drive %3:", 1, -65, L"Drive ?:"},
    PromptCase{"DriveSpace", L"Drive %3:", 1, ' ', L"Drive ?:"},
    PromptCase{"EmptyTemplate", L"", 2, 'E', L""}),
    [](const testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

TEST(MediaPromptLastMedium, PartsMinusOneToMinusThreeUseTheirOwnText)
{
    const palto::MediaPromptTemplates templates{L"Disc %1", L"Last disc of %s into %c:"};
    for (std::int32_t part : {-1, -2, -3}) {
        EXPECT_EQ(palto::MediaPromptText(templates, part, kDate, 'F'), L"Last disc of 2011-03-04 05:06:07 into F:")
            << "part " << part;
    }
}

TEST(MediaPromptLastMedium, ATemplateAskingForMoreThanItIsGivenKeepsTheRestAsText)
{
    const palto::MediaPromptTemplates templates{L"Disc %1", L"%s into %c: (%s, %d)"};
    EXPECT_EQ(palto::MediaPromptText(templates, -1, kDate, 'F'), L"2011-03-04 05:06:07 into F: (%s, %d)");
}

TEST(MediaPromptLastMedium, AnEmptyTemplateAsksNothing)
{
    EXPECT_EQ(palto::MediaPromptText({L"Disc %1", L""}, -2, kDate, 'F'), L"");
}

}  // namespace
