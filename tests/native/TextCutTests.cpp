#include <gtest/gtest.h>

#include <string>

#include "app/TextCut.h"

namespace {

// The step panel shows a choice of up to 16 characters whole; a longer one becomes its
// first 13 characters and "..".
constexpr size_t kPanelLongest = 16;
constexpr size_t kPanelKept = 13;

struct CutCase {
    const wchar_t* text;
    const wchar_t* shown;
};

void PrintTo(const CutCase& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.text));
}

class StepPanelCut : public testing::TestWithParam<CutCase> {};

TEST_P(StepPanelCut, KeepsSixteenCharactersAndCutsLongerTextsToThirteenAndTwoDots)
{
    EXPECT_EQ(palto::CutText(GetParam().text, kPanelLongest, kPanelKept), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Choices, StepPanelCut, testing::Values(
    CutCase{L"", L""},
    CutCase{L"Hard drive 0 (C)", L"Hard drive 0 (C)"},         // 16: the longest shown whole
    CutCase{L"Disk 0 (500 GB)!!", L"Disk 0 (500 G.."},        // 17: the shortest cut
    CutCase{L"Documents 2026-12-01", L"Documents 202.."}));

}  // namespace
