// The main wizard window with its step panel and pages, driven through its messages.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "frame/Fonts.h"
#include "frame/PaltoDlg.h"
#include "resources/ids.h"

namespace {

using palto::test::MessageBoxes;
using palto::test::RunSoon;
using palto::test::ScopedContext;

// A page that refuses Next, as a page does when its input is incomplete.
class RefusingPage : public CWizardPage {
public:
    RefusingPage() : CWizardPage(IDD_SOURCE_PAGE) {}
    int nextCalls = 0;
    bool OnNextStep() override
    {
        ++nextCalls;
        return false;
    }
};

// Whether a window is shown: the wizard runs modeless and unshown here, so its children
// count by their own style.
bool Shown(const CWnd& window)
{
    return (window.GetStyle() & WS_VISIBLE) != 0;
}

// The wizard window with its insides in reach of the tests.
class TestWizard : public CPaltoDlg {
public:
    using CPaltoDlg::m_nStep;
    using CPaltoDlg::m_pages;
    using CPaltoDlg::m_sourcePage;
    using CPaltoDlg::m_stepPanel;
    using CPaltoDlg::m_testSourcePage;
    using CPaltoDlg::m_typePage;

    // The id of the page that is shown; 0 when none or more than one is.
    int ShownPage() const
    {
        int shown = 0;
        for (const auto& [id, page] : m_pages) {
            if (!Shown(*page)) continue;
            if (shown) return 0;
            shown = id;
        }
        return shown;
    }

    // Puts a refusing page in place of the source page.
    RefusingPage* ReplaceSourcePageWithRefusingOne()
    {
        m_refusing.Create(IDD_SOURCE_PAGE, this);
        m_pages[IDD_SOURCE_PAGE] = &m_refusing;
        return &m_refusing;
    }

    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id))); }
    void ChooseType(int radio)
    {
        for (int id : {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION}) {
            m_typePage.CheckDlgButton(id, id == radio ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    CString Caption() const { return GetDlgItemText(IDC_STEP_CAPTION); }

private:
    RefusingPage m_refusing;
};

class WizardFrame : public testing::Test {
protected:
    static void SetUpTestSuite() { palto::test::LoadEnglishResources(); }
    void SetUp() override
    {
        // The first backup of the engine's sample "Office PC", which every restore type
        // can take: the destination pages let the wizard on to the last step.
        context->projectId = 101;
        context->archiveId = 134357004000000000ull;   // 2026-10-05 19:00:00 UTC
        ASSERT_TRUE(wizard.Create(IDD_MAIN));
    }
    void TearDown() override { wizard.DestroyWindow(); }

    ScopedContext context;
    MessageBoxes boxes;
    TestWizard wizard;
};

TEST_F(WizardFrame, StartsOnStepOneWithTheTypePage)
{
    EXPECT_EQ(wizard.m_nStep, 1);
    EXPECT_EQ(wizard.ShownPage(), IDD_TYPE_PAGE);
    EXPECT_EQ(wizard.Caption().str(), L"Step 1 of 4");
    EXPECT_EQ(wizard.GetWindowText().str(), L"Tolvane Restore");
    EXPECT_EQ(wizard.GetDlgItemText(IDC_HEADING).str(), L"Restore your computer from a backup");
    const wchar_t* const titles[] = {L"Restore type", L"Backup", L"Destination", L"Summary"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(wizard.m_stepPanel.m_stepTitle[r].GetWindowText().str(), titles[r]) << "title of step " << r + 1;
    }
    EXPECT_FALSE(::IsWindowEnabled(wizard.GetDlgItem(IDC_BACK)));
    EXPECT_EQ(wizard.m_pages.size(), 5u);
}

struct WalkCase {
    int radio;
    int type;
    int destinationPage;
};

class WizardWalk : public WizardFrame, public testing::WithParamInterface<WalkCase> {};

TEST_P(WizardWalk, NextAndBackFollowTheStepTableOfTheType)
{
    wizard.ChooseType(GetParam().radio);
    const int forward[] = {IDD_SOURCE_PAGE, GetParam().destinationPage, IDD_SUMMARY_PAGE};
    const wchar_t* const captions[] = {L"Step 2 of 4", L"Step 3 of 4", L"Step 4 of 4"};
    for (int i = 0; i < 3; ++i) {
        wizard.Command(IDC_NEXT);
        EXPECT_EQ(wizard.m_nStep, i + 2);
        EXPECT_EQ(wizard.ShownPage(), forward[i]);
        EXPECT_EQ(wizard.Caption().str(), captions[i]);
    }
    EXPECT_EQ(context->restoreType, GetParam().type);
    EXPECT_EQ(wizard.GetDlgItemText(IDC_NEXT).str(), L"&Restore");

    const int backward[] = {GetParam().destinationPage, IDD_SOURCE_PAGE, IDD_TYPE_PAGE};
    for (int i = 0; i < 3; ++i) {
        wizard.Command(IDC_BACK);
        EXPECT_EQ(wizard.m_nStep, 3 - i);
        EXPECT_EQ(wizard.ShownPage(), backward[i]);
    }
    EXPECT_EQ(wizard.Caption().str(), L"Step 1 of 4");
    EXPECT_EQ(wizard.GetDlgItemText(IDC_NEXT).str(), L"&Next >");
    EXPECT_FALSE(::IsWindowEnabled(wizard.GetDlgItem(IDC_BACK)));

    // Next on the last step launches the restore, which is not part of the frame: the
    // window takes no input while the backup is checked.
    for (int i = 0; i < 4; ++i) wizard.Command(IDC_NEXT);
    EXPECT_EQ(wizard.m_nStep, 4);
    EXPECT_FALSE(wizard.IsWindowEnabled());
    wizard.Command(IDC_BACK);
    EXPECT_EQ(wizard.m_nStep, 4) << "Back while the backup is checked";
}

INSTANTIATE_TEST_SUITE_P(RestoreTypes, WizardWalk, testing::Values(
    WalkCase{IDC_TYPE_ENTIRE, 0, IDD_DST_ENTIRE_PAGE},
    WalkCase{IDC_TYPE_DISK, 1, IDD_DST_DISK_PAGE},
    WalkCase{IDC_TYPE_PARTITION, 2, IDD_DST_DISK_PAGE}));

// The first view needs only the type page: every other page gets its window when its
// step is first entered, placed beside the step panel, and keeps it afterwards.
TEST_F(WizardFrame, PagesGetTheirWindowsWhenTheirStepIsFirstEntered)
{
    for (int id : {IDD_SOURCE_PAGE, IDD_DST_ENTIRE_PAGE, IDD_DST_DISK_PAGE, IDD_SUMMARY_PAGE}) {
        EXPECT_EQ(wizard.m_pages.at(id)->m_hWnd, nullptr) << "page " << id << " at the start";
    }
    wizard.ChooseType(IDC_TYPE_DISK);
    wizard.Command(IDC_NEXT);
    const HWND source = wizard.m_pages.at(IDD_SOURCE_PAGE)->m_hWnd;
    ASSERT_TRUE(source);
    EXPECT_EQ(wizard.ShownPage(), IDD_SOURCE_PAGE);
    RECT page{};
    ::GetWindowRect(source, &page);
    ::MapWindowPoints(nullptr, wizard.m_hWnd, reinterpret_cast<POINT*>(&page), 2);
    EXPECT_EQ(page.left, 144);
    EXPECT_EQ(page.top, 44);
    EXPECT_EQ(wizard.m_pages.at(IDD_DST_DISK_PAGE)->m_hWnd, nullptr) << "a step not entered yet";

    wizard.Command(IDC_BACK);
    wizard.Command(IDC_NEXT);
    EXPECT_EQ(wizard.m_pages.at(IDD_SOURCE_PAGE)->m_hWnd, source) << "entered again, the page is the same window";
    EXPECT_EQ(wizard.m_pages.at(IDD_DST_ENTIRE_PAGE)->m_hWnd, nullptr) << "a step of another type";
}

TEST_F(WizardFrame, StepOneAcceptedStoresTheTypeAndTheCaptionOfItsButton)
{
    wizard.ChooseType(IDC_TYPE_DISK);
    wizard.Command(IDC_NEXT);
    EXPECT_EQ(context->restoreType, 1);
    EXPECT_EQ(context->stepTexts[0], wizard.m_typePage.GetDlgItemText(IDC_TYPE_DISK));
    EXPECT_TRUE(context->stepTexts[3].IsEmpty());
}

TEST_F(WizardFrame, APageRefusingNextKeepsTheStepButTheTypeIsStoredAlready)
{
    RefusingPage* refusing = wizard.ReplaceSourcePageWithRefusingOne();
    wizard.Command(IDC_NEXT);
    ASSERT_EQ(wizard.m_nStep, 2);
    wizard.ChooseType(IDC_TYPE_PARTITION);
    wizard.Command(IDC_NEXT);
    EXPECT_EQ(refusing->nextCalls, 1);
    EXPECT_EQ(wizard.m_nStep, 2);
    EXPECT_EQ(context->restoreType, 2);
}

TEST_F(WizardFrame, BackOnStepOneDoesNothing)
{
    ::EnableWindow(wizard.GetDlgItem(IDC_BACK), TRUE);
    wizard.Command(IDC_BACK);
    EXPECT_EQ(wizard.m_nStep, 1);
    EXPECT_EQ(wizard.ShownPage(), IDD_TYPE_PAGE);
    EXPECT_EQ(context->restoreType, 3) << "nothing is stored either";
}

TEST_F(WizardFrame, EnteringTheTypePageAgainEnablesNext)
{
    wizard.Command(IDC_NEXT);
    wizard.EnableNextButton(false);
    wizard.Command(IDC_BACK);
    EXPECT_TRUE(::IsWindowEnabled(wizard.GetDlgItem(IDC_NEXT)));
}

TEST_F(WizardFrame, StepForwardMovesOneStepWithoutAskingThePage)
{
    wizard.SendMessage(WM_STEP_FORWARD);
    EXPECT_EQ(wizard.m_nStep, 2);
    EXPECT_EQ(wizard.ShownPage(), IDD_SOURCE_PAGE);
    EXPECT_TRUE(context->stepTexts[0].IsEmpty()) << "the type page's OnNextStep did not run";
    EXPECT_EQ(context->restoreType, 3);
}

TEST_F(WizardFrame, AStrayStepForwardOnTheLastStepIsIgnored)
{
    for (int i = 0; i < 3; ++i) wizard.Command(IDC_NEXT);
    ASSERT_EQ(wizard.m_nStep, 4);
    wizard.SendMessage(WM_STEP_FORWARD);
    EXPECT_EQ(wizard.m_nStep, 4);
    EXPECT_EQ(wizard.ShownPage(), IDD_SUMMARY_PAGE);
}

TEST_F(WizardFrame, OnTheLastStepBackIsTheDefaultButtonAndAfterBackToStepOneNextIs)
{
    const auto isDefault = [&](int id) {
        return (::GetWindowLongPtrW(wizard.GetDlgItem(id), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    };
    for (int i = 0; i < 3; ++i) wizard.Command(IDC_NEXT);
    EXPECT_TRUE(isDefault(IDC_BACK));
    EXPECT_FALSE(isDefault(IDC_NEXT));
    EXPECT_EQ(::GetFocus(), wizard.GetDlgItem(IDC_BACK));
    for (int i = 0; i < 3; ++i) wizard.Command(IDC_BACK);
    EXPECT_TRUE(isDefault(IDC_NEXT));
    EXPECT_FALSE(isDefault(IDC_BACK));
    EXPECT_EQ(::GetFocus(), wizard.GetDlgItem(IDC_NEXT));
}

TEST_F(WizardFrame, EscapeOnTheWindowsOwnControlsIsSwallowed)
{
    MSG escape{wizard.GetDlgItem(IDC_NEXT), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&escape));
    EXPECT_TRUE(::IsWindow(wizard.m_hWnd));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(WizardFrame, CancelAnsweredNoKeepsTheWizard)
{
    boxes.Answer(IDNO);
    wizard.Command(IDC_WIZARD_CANCEL);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"Do you really want to cancel?");
    EXPECT_EQ(boxes.shown()[0].style, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes.shown()[0].owner, wizard.m_hWnd);
    EXPECT_TRUE(::IsWindow(wizard.m_hWnd));
}

TEST(WizardModal, CancelAnsweredYesEndsTheModalLoopWithCancel)
{
    palto::test::LoadEnglishResources();
    ScopedContext context;
    MessageBoxes boxes;
    boxes.Answer(IDYES);
    TestWizard wizard;
    RunSoon([&] { wizard.Command(IDC_WIZARD_CANCEL); });
    EXPECT_EQ(wizard.DoModal(), IDCANCEL);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST(WizardModal, TestModeRegistersTheTestPages)
{
    palto::test::LoadEnglishResources();
    ScopedContext context;
    context->testMode = true;
    TestWizard wizard;
    ASSERT_TRUE(wizard.Create(IDD_MAIN));
    EXPECT_EQ(wizard.m_pages[IDD_SOURCE_PAGE], &wizard.m_testSourcePage);
    EXPECT_EQ(wizard.m_sourcePage.m_hWnd, nullptr) << "the real page of that step gets no window";
    wizard.DestroyWindow();
}

// The step panel: for each row, is the current marker, the passed marker and the choice
// text shown, and is the title bold.
struct PanelRow {
    bool current, passed, choice, bold;
};

class StepPanel : public WizardFrame, public testing::WithParamInterface<int> {};

TEST_P(StepPanel, MarksTheCurrentStepAndShowsTheChoicesOfThePassedOnes)
{
    const int step = GetParam();
    context->stepTexts[0] = L"Hard drive 0 (C)";   // 16 characters: shown whole
    context->stepTexts[1] = L"Documents 2026-12-01";  // 20: cut
    context->stepTexts[2] = L"Disk 0 (500 GB)!!";   // 17: cut
    CStepInfoDlg& panel = wizard.m_stepPanel;
    panel.SetStep(step);
    for (int r = 0; r < 4; ++r) {
        const bool passed = r + 1 < step;
        const bool current = r + 1 == step;
        EXPECT_EQ(Shown(panel.m_currentMark[r]), current) << "row " << r;
        EXPECT_EQ(Shown(panel.m_passedMark[r]), passed) << "row " << r;
        EXPECT_EQ(Shown(panel.m_stepChoice[r]), passed) << "row " << r;
        EXPECT_TRUE(Shown(panel.m_stepTitle[r])) << "row " << r;
        const auto font = reinterpret_cast<HFONT>(panel.m_stepTitle[r].SendMessage(WM_GETFONT));
        EXPECT_EQ(font, current ? g_fontBold : g_fontNormal) << "row " << r;
    }
    if (step == 4) {
        EXPECT_EQ(panel.m_stepChoice[0].GetWindowText().str(), L"Hard drive 0 (C)");
        EXPECT_EQ(panel.m_stepChoice[1].GetWindowText().str(), L"Documents 202..");
        EXPECT_EQ(panel.m_stepChoice[2].GetWindowText().str(), L"Disk 0 (500 G..");
        EXPECT_EQ(context->stepTexts[1], L"Documents 2026-12-01") << "the context keeps the whole text";
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, StepPanel, testing::Values(1, 2, 3, 4));

TEST_F(WizardFrame, StepPanelIgnoresStepsOutsideOneToFour)
{
    wizard.m_stepPanel.SetStep(2);
    for (int outside : {0, 5, -1}) {
        wizard.m_stepPanel.SetStep(outside);
        EXPECT_EQ(wizard.m_stepPanel.m_nStep, 2);
        EXPECT_TRUE(Shown(wizard.m_stepPanel.m_currentMark[1]));
        EXPECT_TRUE(Shown(wizard.m_stepPanel.m_passedMark[0]));
    }
}

TEST_F(WizardFrame, GoingBackMarksTheEarlierStepCurrentAgain)
{
    wizard.Command(IDC_NEXT);
    wizard.Command(IDC_NEXT);
    wizard.Command(IDC_BACK);
    EXPECT_TRUE(Shown(wizard.m_stepPanel.m_currentMark[1]));
    EXPECT_FALSE(Shown(wizard.m_stepPanel.m_passedMark[1]));
    EXPECT_FALSE(Shown(wizard.m_stepPanel.m_stepChoice[1]));
}

}  // namespace
