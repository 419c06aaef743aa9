// Palto.exe started as a user starts it: the wizard window appears and ends cleanly,
// and without a resource module the program says so once and ends.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"

using namespace palto::e2e;

namespace {

constexpr int kCancel = 1002, kNext = 1003, kCaption = 1024;

TEST(Startup, WithoutAResourceModuleItSaysSoOnceAndEnds)
{
    InstallFolder folder({});
    Process palto(folder.exe(), L"");
    ASSERT_TRUE(palto.started());

    HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(TextOf(box), L"Tolvane");
    EXPECT_EQ(MessageBoxText(box), L"Failed to load resource!");
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"wizard")));

    Click(FindControl(box, IDOK));
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

TEST(Startup, CancelAsksFirstAndYesEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);

    Click(FindControl(wizard, kCancel));
    HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Do you really want to cancel?");
    Click(FindControl(box, IDNO));
    ASSERT_TRUE(WaitUntilGone(palto.id(), MatchSelector(L"box"), kWait));
    // The wizard handles its input in order: once a later Next has been acted on,
    // whatever No did has been done.
    Click(FindControl(wizard, kNext));
    ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), L"Step 2 of 4", kWait)) << "the wizard did not go on after No";
    EXPECT_EQ(palto.WaitForExit(0), STILL_ACTIVE) << "No keeps the wizard";

    Click(FindControl(wizard, kCancel));
    box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    Click(FindControl(box, IDYES));
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

TEST(Startup, TheCloseBoxEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);
    ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

}  // namespace
