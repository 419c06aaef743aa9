#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "app/EngineErrors.h"

namespace {

// A resource module whose every string reads "S<id>", less the ids in `missing`.
auto Loader(std::initializer_list<unsigned> missing = {})
{
    return [missing = std::vector<unsigned>(missing)](unsigned id) {
        for (unsigned gone : missing)
            if (gone == id) return std::wstring();
        return L"S" + std::to_wstring(id);
    };
}

struct KnownCode {
    int code;
    unsigned stringId;
};

class EngineErrorTable : public testing::TestWithParam<KnownCode> {};

TEST_P(EngineErrorTable, GivesTheStringOfTheCode)
{
    const KnownCode c = GetParam();
    EXPECT_EQ(palto::EngineErrorStringId(c.code), c.stringId);
    EXPECT_EQ(palto::EngineErrorText(c.code, Loader()), L"S" + std::to_wstring(c.stringId));
}

INSTANTIATE_TEST_SUITE_P(AllEntries, EngineErrorTable, testing::Values(
    KnownCode{-1000003, 5168}, KnownCode{-1000004, 5169}, KnownCode{-1000005, 5170},
    KnownCode{-1000008, 5171}, KnownCode{-1000100, 5173}, KnownCode{-1000103, 5209},
    KnownCode{-1000104, 5175}, KnownCode{-1000105, 5176}, KnownCode{-1000112, 5177},
    KnownCode{-1000312, 5138}, KnownCode{-1000350, 5186}, KnownCode{-1000351, 5187},
    KnownCode{-1000352, 5188}, KnownCode{-1000353, 5189}, KnownCode{-1000354, 5190},
    KnownCode{-1000355, 5192}, KnownCode{-1000356, 5219}, KnownCode{-1000357, 5193},
    KnownCode{-1000358, 5194}, KnownCode{-1000359, 5195}, KnownCode{-1000360, 5196},
    KnownCode{-1000513, 5209}));

struct OtherCode {
    int code;
    const wchar_t* text;
};

class EngineErrorOther : public testing::TestWithParam<OtherCode> {};

TEST_P(EngineErrorOther, GivesTheGeneralTextTwoBlanksAndTheCode)
{
    EXPECT_EQ(palto::EngineErrorStringId(GetParam().code), 0u);
    EXPECT_EQ(palto::EngineErrorText(GetParam().code, Loader()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Codes, EngineErrorOther, testing::Values(
    OtherCode{-1000006, L"S5178  -1000006"},      // between two entries of the table
    OtherCode{0, L"S5178  0"},
    OtherCode{INT_MIN, L"S5178  -2147483648"},
    OtherCode{INT_MAX, L"S5178  2147483647"},
    OtherCode{-5192, L"S5178  -5192"}));          // a string id is not a code

TEST(EngineErrorText, MissingGeneralTextLeavesTheBlanksAndTheCode)
{
    EXPECT_EQ(palto::EngineErrorText(-1000006, Loader({5178})), L"  -1000006");
}

TEST(EngineErrorText, MissingTableTextFallsBackToTheGeneralForm)
{
    EXPECT_EQ(palto::EngineErrorText(-1000355, Loader({5192})), L"S5178  -1000355");
    EXPECT_EQ(palto::EngineErrorText(-1000355, Loader({5192, 5178})), L"  -1000355");
}

}  // namespace
