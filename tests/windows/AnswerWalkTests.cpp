// The answer file's walk through the real wizard window and pages, with the stand-in
// engine's sample: each tick of the walk's timer is sent by the test, so every step of
// the walk is seen. A press of the person's own ends it, it waits while the window takes
// no input, and a difference stops it on its step with one message.
#include <gtest/gtest.h>

#include <string>

#include "HalvexTestSupport.h"
#include "ProfileText.h"
#include "TestSupport.h"
#include "TestWizard.h"
#include "resources/ids.h"

namespace {

using palto::test::MessageBoxes;
using palto::test::ScopedContext;

// The wizard with the walk's timer ticked by the test.
class TestWizard : public palto::test::TestWizard {
public:
    using CPaltoDlg::m_typePage;
    void Tick() { SendMessage(WM_TIMER, kAnswerTimer, 0); }
};

// The sample's "System disk" (disk 0 of 238.5 GB) onto this computer's empty disk 2.
constexpr wchar_t kSystemDisk[] = L"[Restore]\nType=disk\nBackup=System disk\nSource=0\nTarget=2\n";

class AnswerWalk : public testing::Test {
protected:
    static void SetUpTestSuite() { palto::test::LoadEnglishResources(); }
    void Start(const std::wstring& file)
    {
        context->answerFile = palto::ReadAnswers(palto::test::ProfileText(file), L"Z:\\office.ini");
        ASSERT_TRUE(context->answerFile.answers) << "the test's file is readable";
        ASSERT_TRUE(wizard.Create(IDD_MAIN));
    }
    void TearDown() override { wizard.DestroyWindow(); }
    // Ticks until the wizard shows `step`, at most `ticks` times.
    bool TickTo(int step, int ticks = 10)
    {
        for (int i = 0; i < ticks && wizard.m_nStep != step; ++i) wizard.Tick();
        return wizard.m_nStep == step;
    }

    palto::test::SimEngine engine;
    ScopedContext context;
    MessageBoxes boxes;
    TestWizard wizard;
};

TEST_F(AnswerWalk, EachPageIsFilledOnOneTickAndLeftOnTheNext)
{
    Start(std::wstring(kSystemDisk) + L"TargetSize=256060514304\nTargetLabel=\n");
    EXPECT_EQ(wizard.m_nStep, 1);
    wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 1) << "the choice is shown before Next";
    EXPECT_EQ(wizard.m_typePage.IsDlgButtonChecked(IDC_TYPE_DISK), static_cast<UINT>(BST_CHECKED));
    wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 2);
    EXPECT_EQ(context->stepTexts[0], L"Hard drive");
    ASSERT_TRUE(TickTo(4));
    EXPECT_EQ(context->stepTexts[1], L"System disk");
    EXPECT_EQ(context->stepTexts[2], L"Disk 2: 238.5 GB");
    for (int i = 0; i < 3; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 4) << "Start=ask: the summary waits";
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_FALSE(context->restoreChosenByAnswers);
    EXPECT_TRUE(engine.Journal("ProjectRestoreCtrl").empty());
}

TEST_F(AnswerWalk, APressOfThePersonsOwnEndsTheWalk)
{
    Start(std::wstring(kSystemDisk) + L"TargetSize=256060514304\nTargetLabel=\nStart=now\n");
    ASSERT_TRUE(TickTo(2));
    wizard.Command(IDC_BACK);
    ASSERT_EQ(wizard.m_nStep, 1);
    for (int i = 0; i < 4; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 1);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(AnswerWalk, WhileTheWindowTakesNoInputTheWalkWaits)
{
    Start(kSystemDisk);
    wizard.EnableWindow(FALSE);   // as under a box or a worker
    for (int i = 0; i < 4; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 1);
    wizard.EnableWindow(TRUE);
    EXPECT_TRUE(TickTo(2));
}

TEST_F(AnswerWalk, ATargetOfAnotherSizeStopsOnItsStepWithOneMessage)
{
    // Disk 1 here is the 931.5 GB backup disk, not the empty 238.5 GB one the file was
    // written for: the numbering differs from the technician's computer.
    Start(L"[Restore]\nType=disk\nBackup=System disk\nSource=0\nTarget=1\nTargetSize=256060514304\nStart=now\n");
    ASSERT_TRUE(TickTo(3));
    for (int i = 0; i < 4; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 3);
    EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{
                                 L"The answer file asks for TargetSize=256060514304, but the target has 1000204886016 bytes."
                                 L"\n\nThe wizard stays on this step: check the choice and go on by hand."}));
    EXPECT_FALSE(context->restoreChosenByAnswers);
}

TEST_F(AnswerWalk, ABackupThatIsNotListedStopsOnStep2WithWhatIs)
{
    Start(L"[Restore]\nType=disk\nBackup=Laptop\nSource=0\nTarget=2\n");
    ASSERT_TRUE(TickTo(2));
    for (int i = 0; i < 4; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 2);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], L"The answer file asks for Backup=Laptop, but this step offers only:\nOffice PC\nSystem disk"
                                L"\n\nThe wizard stays on this step: check the choice and go on by hand.");
}

TEST_F(AnswerWalk, StartNowWithoutTheTargetsSizeWaitsOnTheSummaryAndSaysWhy)
{
    Start(std::wstring(kSystemDisk) + L"TargetLabel=\nStart=now\n");
    ASSERT_TRUE(TickTo(4));
    for (int i = 0; i < 4; ++i) wizard.Tick();
    EXPECT_EQ(wizard.m_nStep, 4);
    EXPECT_TRUE(wizard.IsWindowEnabled()) << "no restore is launched";
    EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{L"The answer file asks to start the restore at once but does not "
                                                        L"give TargetSize. Check the choices and start the restore yourself."}));
    EXPECT_TRUE(engine.Journal("ProjectRestoreCtrl").empty());
}

}  // namespace
