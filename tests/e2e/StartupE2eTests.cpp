// Palto.exe started as a user starts it: the wizard window appears and ends cleanly,
// and where it cannot start (no usable resource module, too long a path) the program
// says so once and ends.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


// Where the program cannot start, it says so once, in the one message that does not
// come from a resource module, and ends.
struct FailureCase {
    const char* name;
    std::vector<std::pair<const wchar_t*, const wchar_t*>> copies;  // file of bin/, name in the folder
    size_t folderLength;                                             // 0: an ordinary folder
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.name; }

class StartupFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(StartupFailure, SaysSoOnceAndEnds)
{
    InstallFolder folder({}, GetParam().folderLength);
    for (const auto& [file, name] : GetParam().copies) folder.CopyAs(file, name);
    Process palto(folder.exe(), L"");
    ASSERT_TRUE(palto.started());

    HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(TextOf(box), L"Tolvane");
    EXPECT_EQ(MessageBoxText(box), L"Failed to load resource!");
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"wizard")));

    Click(FindControl(box, IDOK));
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

// The program's own name, "\Palto.exe", is 10 characters.
INSTANTIATE_TEST_SUITE_P(Cases, StartupFailure, testing::Values(
    FailureCase{"NoResourceModule", {}, 0},
    FailureCase{"ModuleWithoutTheWizardsDialogs", {{L"TitleOnly.dll", L"MainrENU.dll"}}, 0},
    FailureCase{"ProgramPathOf260Characters", {{L"MainrENU.dll", L"MainrENU.dll"}}, 250},
    FailureCase{"FolderPathOf260Characters", {{L"MainrENU.dll", L"MainrENU.dll"}}, 260}),
    [](const auto& info) { return std::string(info.param.name); });

// The screen's resolution the test runs at: CTest runs the placement test at 96 and at
// 144 DPI (PALTO_EXPECT_DPI), each with and without d2d1.dll.
int ExpectedDpi()
{
    wchar_t dpi[16] = L"";
    ::GetEnvironmentVariableW(L"PALTO_EXPECT_DPI", dpi, 16);
    return dpi[0] ? _wtoi(dpi) : 96;
}

// A window's rectangle in the client coordinates of the wizard window.
RECT RectInWizard(HWND window, HWND wizard)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The pages lie at (144, 44) and the step panel at (8, 44) in 96-DPI units, so the
// pages begin right of the panel, whether Direct2D is there to tell the resolution or not.
TEST(Startup, PagesLieBesideTheStepPanelAtTheScreensResolution)
{
    struct Placement {
        int dpi;
        POINT panel;
        POINT page;
    };
    constexpr Placement kPlacements[] = {{96, {8, 44}, {144, 44}}, {144, {12, 66}, {216, 66}}};
    const int dpi = ExpectedDpi();
    const Placement* expected = nullptr;
    for (const Placement& placement : kPlacements)
        if (placement.dpi == dpi) expected = &placement;
    ASSERT_TRUE(expected) << "no placement known for " << dpi << " DPI";

    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);
    HWND typePage = ::GetParent(FindControl(wizard, IDC_TYPE_ENTIRE));
    HWND stepPanel = ::GetParent(FindControl(wizard, IDC_STEP1_TITLE));
    ASSERT_TRUE(typePage && stepPanel);
    const RECT page = RectInWizard(typePage, wizard);
    const RECT panel = RectInWizard(stepPanel, wizard);
    EXPECT_EQ(panel.left, expected->panel.x);
    EXPECT_EQ(panel.top, expected->panel.y);
    EXPECT_EQ(page.left, expected->page.x);
    EXPECT_EQ(page.top, expected->page.y);
    EXPECT_GE(page.left, panel.right) << "the page lies over the step panel";
    ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

TEST(Startup, CancelAsksFirstAndYesEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);

    Click(FindControl(wizard, IDC_WIZARD_CANCEL));
    HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Do you really want to cancel?");
    Click(FindControl(box, IDNO));
    ASSERT_TRUE(WaitUntilGone(palto.id(), MatchSelector(L"box"), kWait));
    // The wizard handles its input in order: once a later Next has been acted on,
    // whatever No did has been done.
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait)) << "the wizard did not go on after No";
    EXPECT_EQ(palto.WaitForExit(0), STILL_ACTIVE) << "No keeps the wizard";

    Click(FindControl(wizard, IDC_WIZARD_CANCEL));
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
