// The wizard's frame as a user sees it: heading, step caption, step panel, Back and
// Next through the steps, and the Escape key that does not close the wizard.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


class Wizard : public testing::Test {
protected:
    void SetUp() override
    {
        wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
        ASSERT_TRUE(wizard);
    }
    void TearDown() override
    {
        if (!wizard) return;
        if (palto.WaitForExit(0) == STILL_ACTIVE) {
            Click(FindControl(wizard, IDC_WIZARD_CANCEL));
            if (HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait)) Click(FindControl(box, IDYES));
        }
        EXPECT_EQ(palto.WaitForExit(kWait), 0u);
    }
    std::wstring Text(int id) { return TextOf(FindControl(wizard, id)); }

    Process palto{BinFolder() + L"\\Palto.exe", L""};
    HWND wizard = nullptr;
};

TEST_F(Wizard, StartsOnStepOneWithItsTexts)
{
    EXPECT_EQ(TextOf(wizard), L"Tolvane Restore");
    EXPECT_EQ(Text(IDC_HEADING), L"Restore your computer from a backup");
    EXPECT_EQ(Text(IDC_STEP_CAPTION), L"Step 1 of 4");
    EXPECT_FALSE(::IsWindowEnabled(FindControl(wizard, IDC_BACK)));
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, IDC_NEXT)));
}

TEST_F(Wizard, NextShowsStepTwoWithTheChoiceOfStepOneAndBackReturns)
{
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait)) << Text(IDC_STEP_CAPTION);
    HWND choice = FindControl(wizard, IDC_STEP1_CHOICE);
    EXPECT_TRUE(::IsWindowVisible(choice));
    EXPECT_EQ(TextOf(choice), L"Entire computer");
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, IDC_BACK)));

    Click(FindControl(wizard, IDC_BACK));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 1 of 4", kWait)) << Text(IDC_STEP_CAPTION);
    EXPECT_FALSE(::IsWindowVisible(choice));
}

TEST_F(Wizard, EscapeInTheFocusedControlLeavesTheWindowOpen)
{
    HWND focused = FocusedWindow(palto.id());
    ASSERT_TRUE(focused);
    PressKey(focused, VK_ESCAPE);
    // The wizard handles its input in order: once a Next clicked after the Escape has
    // been acted on, whatever the Escape did has been done.
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait)) << "the Next after the Escape was not handled";
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"box"))) << "nothing is asked";
    EXPECT_EQ(palto.WaitForExit(0), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindowVisible(wizard));
}

}  // namespace
