// The wizard's frame as a user sees it: heading, step caption, step panel, Back and
// Next through the steps, and the Escape key that does not close the wizard.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"

using namespace palto::e2e;

namespace {

constexpr int kCancel = 1002, kNext = 1003, kBack = 1004, kCaption = 1024, kHeading = 1079;
constexpr int kStep1Choice = 1009, kTypeEntire = 1008;

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
        Click(FindControl(wizard, kCancel));
        if (HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait)) Click(FindControl(box, IDYES));
        EXPECT_EQ(palto.WaitForExit(kWait), 0u);
    }
    std::wstring Text(int id) { return TextOf(FindControl(wizard, id)); }
    std::wstring English(UINT id) { return ModuleString(BinFolder() + L"\\MainrENU.dll", id); }

    Process palto{BinFolder() + L"\\Palto.exe", L""};
    HWND wizard = nullptr;
};

TEST_F(Wizard, StartsOnStepOneWithItsTexts)
{
    EXPECT_EQ(TextOf(wizard), English(5101));
    EXPECT_EQ(Text(kHeading), English(5102));
    EXPECT_EQ(Text(kCaption), FillStepCaption(English(5107), 1));
    EXPECT_FALSE(::IsWindowEnabled(FindControl(wizard, kBack)));
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, kNext)));
}

TEST_F(Wizard, NextShowsStepTwoWithTheChoiceOfStepOneAndBackReturns)
{
    Click(FindControl(wizard, kNext));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), FillStepCaption(English(5107), 2), kWait));
    HWND choice = FindControl(wizard, kStep1Choice);
    EXPECT_TRUE(::IsWindowVisible(choice));
    EXPECT_EQ(TextOf(choice), TextOf(FindControl(wizard, kTypeEntire)));
    EXPECT_TRUE(::IsWindowEnabled(FindControl(wizard, kBack)));

    Click(FindControl(wizard, kBack));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), FillStepCaption(English(5107), 1), kWait));
    EXPECT_FALSE(::IsWindowVisible(choice));
}

TEST_F(Wizard, EscapeInTheFocusedControlLeavesTheWindowOpen)
{
    HWND focused = FocusedWindow(palto.id());
    ASSERT_TRUE(focused);
    PressKey(focused, VK_ESCAPE);
    EXPECT_FALSE(WaitForTopWindow(palto.id(), MatchSelector(L"box"), 500)) << "nothing is asked";
    EXPECT_EQ(palto.WaitForExit(500), STILL_ACTIVE);
    EXPECT_TRUE(::IsWindow(wizard));
}

}  // namespace
