#include <gtest/gtest.h>

#include "app/TestModeSwitch.h"

namespace {

struct SwitchCase {
    const wchar_t* commandLine;
    bool testMode;
};

void PrintTo(const SwitchCase& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.commandLine));
}

class TestModeSwitch : public testing::TestWithParam<SwitchCase> {};

TEST_P(TestModeSwitch, IsOnOnlyForAnExactToken)
{
    EXPECT_EQ(palto::HasTestModeSwitch(GetParam().commandLine), GetParam().testMode) << GetParam().commandLine;
}

INSTANTIATE_TEST_SUITE_P(CommandLines, TestModeSwitch, testing::Values(
    SwitchCase{LR"("X:\Palto.exe" -test)", true},
    SwitchCase{LR"("X:\Palto.exe" /TEST)", true},
    SwitchCase{LR"("X:\Palto.exe" -Test)", false},        // mixed case
    SwitchCase{LR"("X:\Palto.exe" -test -x)", false},     // the token is "test " with its blank
    SwitchCase{LR"("X:\Palto.exe" -x-test)", true},       // the last token is exactly "test"
    SwitchCase{LR"("X:\Palto.exe" /x/test)", true},
    SwitchCase{LR"("X:\Palto.exe" -testing)", false},
    SwitchCase{LR"("X:\Palto.exe")", false},
    SwitchCase{LR"("X:\Palto.exe" --test)", true},        // an empty token between the dashes is no match
    SwitchCase{LR"(test)", true},                          // the program path takes part like any token
    SwitchCase{LR"(X:\tools\test-kit\Palto.exe)", false},
    SwitchCase{LR"(X:\my-test-\Palto.exe)", true},
    SwitchCase{L"", false}));

}  // namespace
