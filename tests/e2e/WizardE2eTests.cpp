// The wizard's frame as a user sees it: heading, step caption, step panel, Back and
// Next through the steps, and the Escape key that does not close the wizard.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"

using namespace palto::e2e;

namespace {

constexpr int kCancel = 1002, kNext = 1003, kBack = 1004, kCaption = 1024, kHeading = 1079;
constexpr int kStep1Choice = 1009;

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
            Click(FindControl(wizard, kCancel));
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
    EXPECT_EQ(Text(kHeading), L"Restore your computer from a backup");
    EXPECT_EQ(Text(kCaption), L"Step 1 of 4");
    EXPECT_FALSE(::IsWindowEnabled(FindControl(wizard, kBack)));
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, kNext)));
}

TEST_F(Wizard, NextShowsStepTwoWithTheChoiceOfStepOneAndBackReturns)
{
    Click(FindControl(wizard, kNext));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), L"Step 2 of 4", kWait)) << Text(kCaption);
    HWND choice = FindControl(wizard, kStep1Choice);
    EXPECT_TRUE(::IsWindowVisible(choice));
    EXPECT_EQ(TextOf(choice), L"Entire computer");
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, kBack)));

    Click(FindControl(wizard, kBack));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), L"Step 1 of 4", kWait)) << Text(kCaption);
    EXPECT_FALSE(::IsWindowVisible(choice));
}

TEST_F(Wizard, EscapeInTheFocusedControlLeavesTheWindowOpen)
{
    HWND focused = FocusedWindow(palto.id());
    ASSERT_TRUE(focused);
    PressKey(focused, VK_ESCAPE);
    // The wizard handles its input in order: once a Next clicked after the Escape has
    // been acted on, whatever the Escape did has been done.
    Click(FindControl(wizard, kNext));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), L"Step 2 of 4", kWait)) << "the Next after the Escape was not handled";
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"box"))) << "nothing is asked";
    EXPECT_EQ(palto.WaitForExit(0), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindowVisible(wizard));
}

}  // namespace
