// The wizard in test mode: the source and destination steps show their fixed sample,
// Next at each of them stores the sample's texts, the disk/partition step's own
// handlers keep working on the sample, and the last step starts the simulated restore.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "TestWizard.h"
#include "resources/ids.h"
#include "testmode/TestMode_RestoreProgress.h"
#include "tests/ReportName.h"

namespace {

using palto::test::ComboEntries;
using palto::test::MessageBoxes;
using palto::test::ProgramFolder;
using palto::test::WithReportIn;
using palto::test::RunSoon;
using palto::test::ScopedContext;
using palto::test::TestWizard;

enum RestoreType { kEntire = 0, kHardDrive = 1, kPartition = 2 };

std::wstring Text(HWND window)
{
    return CWnd::TextOf(window).str();
}

class TestModePages : public testing::Test {
protected:
    static void SetUpTestSuite() { palto::test::LoadEnglishResources(); }

    void SetUp() override
    {
        context->testMode = true;
        wizard.emplace();
        ASSERT_TRUE(wizard->Create(IDD_MAIN));
    }

    void TearDown() override
    {
        wizard->DestroyWindow();
        wizard.reset();
    }

    // Chooses the restore type on step 1 and goes on to step 2.
    void StartWith(RestoreType type)
    {
        const int radios[] = {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION};
        for (int i = 0; i < 3; ++i)
            ::SendMessageW(Control(IDD_TYPE_PAGE, radios[i]), BM_SETCHECK, i == type ? BST_CHECKED : BST_UNCHECKED, 0);
        Next();
        ASSERT_EQ(wizard->m_nStep, 2);
    }

    void Next() { wizard->Command(IDC_NEXT); }
    HWND Control(int pageId, int id) const { return ::GetDlgItem(wizard->Page(pageId), id); }
    HWND Source(int id) const { return Control(IDD_SOURCE_PAGE, id); }
    bool NextEnabled() const { return ::IsWindowEnabled(wizard->GetDlgItem(IDC_NEXT)); }
    void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

    // The user picks entry `index` of a list.
    void Pick(HWND list, int index)
    {
        ::SendMessageW(list, CB_SETCURSEL, index, 0);
        ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }

    bool ListsEnabled() const
    {
        return ::IsWindowEnabled(Source(IDC_SRC_DRIVE_TYPE)) && ::IsWindowEnabled(Source(IDC_SRC_PROJECT)) &&
               ::IsWindowEnabled(Source(IDC_SRC_ARCHIVE));
    }
    bool ListsDisabled() const
    {
        return !::IsWindowEnabled(Source(IDC_SRC_DRIVE_TYPE)) && !::IsWindowEnabled(Source(IDC_SRC_PROJECT)) &&
               !::IsWindowEnabled(Source(IDC_SRC_ARCHIVE));
    }

    ScopedContext context;
    MessageBoxes boxes;
    std::optional<TestWizard> wizard;
};

const wchar_t kSampleCaption[] = L"Restore the &latest backup: Test Mode(C---W)[2010-1-1 10:10:10]";

TEST_F(TestModePages, SourceStepShowsTheSampleAndNextStoresItWithoutAsking)
{
    StartWith(kEntire);
    EXPECT_EQ(::SendMessageW(Source(IDC_SRC_LATEST), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ComboEntries(Source(IDC_SRC_DRIVE_TYPE)), (std::vector<std::wstring>{L"Fixed disks", L"CD/DVD drives"}));
    EXPECT_EQ(ComboEntries(Source(IDC_SRC_PROJECT)), std::vector<std::wstring>{L"Test Mode(C---W)"});
    EXPECT_EQ(ComboEntries(Source(IDC_SRC_ARCHIVE)), std::vector<std::wstring>{L"2010-1-1 10:10:10"});
    EXPECT_EQ(Text(Source(IDC_SRC_PROJECT)), L"Test Mode(C---W)");
    EXPECT_EQ(Text(Source(IDC_SRC_ARCHIVE)), L"2010-1-1 10:10:10");
    EXPECT_TRUE(NextEnabled());

    context->projectId = 7;
    context->archiveId = 8;
    Next();
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(context->projectId, 0u);
    EXPECT_EQ(context->archiveId, 0u);
    EXPECT_EQ(context->stepTexts[1], L"Test Mode(C---W)");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(TestModePages, LatestModeCaptionIsRebuiltEachTimeAndTheModesSwitchTheLists)
{
    StartWith(kHardDrive);
    EXPECT_EQ(Text(Source(IDC_SRC_LATEST)), L"Restore the &latest backup");

    Click(Source(IDC_SRC_LATEST));
    EXPECT_EQ(Text(Source(IDC_SRC_LATEST)), kSampleCaption);
    EXPECT_TRUE(ListsDisabled());

    Click(Source(IDC_SRC_CHOOSE));
    EXPECT_TRUE(ListsEnabled());
    EXPECT_EQ(ComboEntries(Source(IDC_SRC_PROJECT)), std::vector<std::wstring>{L"Test Mode(C---W)"});
    EXPECT_EQ(Text(Source(IDC_SRC_LATEST)), kSampleCaption);

    Click(Source(IDC_SRC_LATEST));
    EXPECT_TRUE(ListsDisabled());
    EXPECT_EQ(Text(Source(IDC_SRC_LATEST)), kSampleCaption);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(TestModePages, LatestModeCaptionCutsAProjectTextLongerThanSixteenCharacters)
{
    StartWith(kPartition);
    const HWND projects = Source(IDC_SRC_PROJECT);
    const int added = static_cast<int>(::SendMessageW(projects, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Test Mode(C---W)X")));
    ::SendMessageW(projects, CB_SETCURSEL, added, 0);

    Click(Source(IDC_SRC_LATEST));
    EXPECT_EQ(Text(Source(IDC_SRC_LATEST)), L"Restore the &latest backup: Test Mode(C--..[2010-1-1 10:10:10]");
}

TEST_F(TestModePages, EntireComputerStepShowsTheSampleAndTheSummaryItsTexts)
{
    StartWith(kEntire);
    Next();
    ASSERT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS)), L"Test Entire Restore..");
    EXPECT_TRUE(NextEnabled());

    Next();
    ASSERT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"Test Entire Computer..");
    EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_TYPE)), L"Entire computer");
    EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_DESTINATION)), L"Test Entire Computer..");
    EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_BACKUP)).rfind(L"Test Mode(C---W) : [", 0), 0u);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(TestModePages, DiskAndPartitionStepsShowTheSampleAndTheSummaryItsTexts)
{
    for (const auto& [type, typeText] : {std::pair{kHardDrive, L"Hard drive"}, std::pair{kPartition, L"Partition"}}) {
        SCOPED_TRACE(typeText);
        StartWith(type);
        Next();
        ASSERT_EQ(wizard->m_nStep, 3);
        const HWND source = Control(IDD_DST_DISK_PAGE, IDC_DST_SOURCE);
        const HWND target = Control(IDD_DST_DISK_PAGE, IDC_DST_TARGET);
        EXPECT_EQ(ComboEntries(source), std::vector<std::wstring>{L"Soure Harddisk/Partition..."});
        EXPECT_EQ(ComboEntries(target), std::vector<std::wstring>{L"Destination Harddisk/Partition..."});
        EXPECT_EQ(Text(source), L"Soure Harddisk/Partition...");
        EXPECT_EQ(Text(target), L"Destination Harddisk/Partition...");
        EXPECT_TRUE(NextEnabled());

        Next();
        ASSERT_EQ(wizard->m_nStep, 4);
        EXPECT_EQ(context->stepTexts[2], L"Test HD/PT....");
        EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_TYPE)), typeText);
        EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_DESTINATION)), L"Test HD/PT....");

        wizard->Command(IDC_BACK);
        wizard->Command(IDC_BACK);
        wizard->Command(IDC_BACK);
        ASSERT_EQ(wizard->m_nStep, 1);
    }
    EXPECT_TRUE(boxes.texts().empty());
}

// The sample's source fits its target, so picking either entry leaves Next enabled and
// no warning shown, however often the user picks.
TEST_F(TestModePages, PickingTheSampleEntriesKeepsNextEnabled)
{
    StartWith(kPartition);
    Next();
    ASSERT_EQ(wizard->m_nStep, 3);
    const HWND source = Control(IDD_DST_DISK_PAGE, IDC_DST_SOURCE);
    const HWND target = Control(IDD_DST_DISK_PAGE, IDC_DST_TARGET);
    const HWND warning = Control(IDD_DST_DISK_PAGE, IDC_DST_SIZE_WARNING);

    for (const HWND list : {source, target, source, target}) {
        wizard->EnableNextButton(false);
        Pick(list, 0);
        EXPECT_TRUE(NextEnabled());
        EXPECT_FALSE(::IsWindowVisible(warning));
    }

    Next();
    EXPECT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"Test HD/PT....");
    EXPECT_TRUE(boxes.texts().empty());
}

// The dialog of this thread whose window holds the progress bar; null when none is open.
CWnd* OpenProgressPage()
{
    CWnd* found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            if (!::GetDlgItem(window, IDC_PROGRESS_BAR) || !::GetDlgItem(window, IDC_PROGRESS_STAGE)) return TRUE;
            *reinterpret_cast<CWnd**>(result) = CWnd::FromHandlePermanent(window);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Nothing of the backup is checked: test mode has none. The simulation runs at once and
// its end ends the application.
TEST_F(TestModePages, StartingTheRestoreRunsTheSimulationAtOnce)
{
    StartWith(kPartition);
    Next();
    Next();
    ASSERT_EQ(wizard->m_nStep, 4);

    bool simulated = false;
    RunSoon([&] {
        CWnd* page = OpenProgressPage();
        simulated = dynamic_cast<CTestMode_RestoreProgress*>(page) != nullptr;
        if (!page) return;
        EXPECT_TRUE(boxes.texts().empty()) << "nothing was asked before the restore";
        for (int tick = 0; tick < 100 && page->m_hWnd; ++tick) page->SendMessage(WM_TIMER, CRestoreProgress::kProgressTimer, 0);
    });
    // Should the page not come or not end, a quit of another code ends its loop all the same.
    const UINT_PTR deadline = ::SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(99); });
    Next();
    ::KillTimer(nullptr, deadline);

    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u) << "the simulation did not end the application";
    EXPECT_TRUE(simulated) << "the simulated progress page did not run";
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{WithReportIn(
                                 L"The restore has finished successfully. The program closes when you click OK.",
                                 ProgramFolder())});
}

}  // namespace
