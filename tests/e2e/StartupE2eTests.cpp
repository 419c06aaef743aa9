// Palto.exe started as a user starts it: the wizard window appears and ends cleanly,
// and without a resource module the program says so once and ends.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"

using namespace palto::e2e;

namespace {

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

TEST(Startup, TheWizardWindowOpensWithItsTitleAndCancelEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);
    EXPECT_EQ(TextOf(wizard), ModuleString(BinFolder() + L"\\MainrENU.dll", 5101));

    Click(FindControl(wizard, 1002));
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
