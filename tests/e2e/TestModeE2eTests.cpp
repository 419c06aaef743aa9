// The wizard started with -test, as a user walks it: the backup and destination steps
// and the summary show the fixed sample of test mode for every restore type, and the
// restore started from the last step is simulated to its end, which ends the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {

constexpr DWORD kSimulatedRestore = 60000;   // 100 ticks of 300 ms, with room to spare

const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";

// Test mode needs no backup: the engine has none to offer.
class TestMode : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(wizard); }
    void TearDown() override
    {
        if (wizard && run.process().WaitForExit(0) == STILL_ACTIVE) {
            EXPECT_EQ(run.Cancel(), 0u);
        }
    }

    void Press(int button, const wchar_t* caption)
    {
        Click(FindControl(wizard, button));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), caption, kWait)) << TextOf(FindControl(wizard, IDC_STEP_CAPTION));
    }
    // A control of the page that holds control `marker` (ids repeat across pages).
    HWND OnPage(int marker, int id) const { return FindControl(::GetParent(FindControl(wizard, marker)), id); }

    CatalogRun run{R"({"projects": []})", L"-test"};
    HWND wizard = run.wizard();
};

TEST_F(TestMode, EveryStepShowsTheSampleForEveryRestoreType)
{
    struct Case {
        int radio;
        std::wstring destination;
    };
    for (const Case& type : {Case{IDC_TYPE_ENTIRE, L"Test Entire Computer.."}, Case{IDC_TYPE_DISK, L"Test HD/PT...."},
                             Case{IDC_TYPE_PARTITION, L"Test HD/PT...."}}) {
        SCOPED_TRACE(type.destination);
        Click(FindControl(wizard, type.radio));
        Press(IDC_NEXT, L"Step 2 of 4");
        EXPECT_EQ(ComboEntries(FindControl(wizard, IDC_SRC_PROJECT)), std::vector<std::wstring>{L"Test Mode(C---W)"});
        EXPECT_EQ(ComboEntries(OnPage(IDC_SRC_PROJECT, IDC_SRC_ARCHIVE)), std::vector<std::wstring>{L"2010-1-1 10:10:10"});
        Click(FindControl(wizard, IDC_SRC_LATEST));
        EXPECT_TRUE(WaitForText(FindControl(wizard, IDC_SRC_LATEST),
                                L"Restore the &latest backup: Test Mode(C---W)[2010-1-1 10:10:10]", kWait))
            << TextOf(FindControl(wizard, IDC_SRC_LATEST));

        Press(IDC_NEXT, L"Step 3 of 4");
        if (type.radio == IDC_TYPE_ENTIRE) {
            EXPECT_EQ(TextOf(OnPage(IDC_DST_DISKS_DO_NOT_FIT, IDC_DST_DISKS)), L"Test Entire Restore..");
        } else {
            EXPECT_EQ(ComboEntries(FindControl(wizard, IDC_DST_SOURCE)), std::vector<std::wstring>{L"Soure Harddisk/Partition..."});
            EXPECT_EQ(ComboEntries(FindControl(wizard, IDC_DST_TARGET)),
                      std::vector<std::wstring>{L"Destination Harddisk/Partition..."});
        }

        Press(IDC_NEXT, L"Step 4 of 4");
        EXPECT_EQ(TextOf(OnPage(IDC_SUMMARY_HEADING, IDC_SUMMARY_BACKUP)).rfind(L"Test Mode(C---W) : [", 0), 0u);
        EXPECT_EQ(TextOf(OnPage(IDC_SUMMARY_HEADING, IDC_SUMMARY_DESTINATION)), type.destination);

        Press(IDC_BACK, L"Step 3 of 4");
        Press(IDC_BACK, L"Step 2 of 4");
        Press(IDC_BACK, L"Step 1 of 4");
    }
}

TEST_F(TestMode, TheRestoreIsSimulatedToItsEndAndEndsTheProgram)
{
    Press(IDC_NEXT, L"Step 2 of 4");
    Press(IDC_NEXT, L"Step 3 of 4");
    Press(IDC_NEXT, L"Step 4 of 4");
    Click(FindControl(wizard, IDC_NEXT));

    const DWORD palto = run.process().id();
    HWND progress = WaitForTopWindow(palto, MatchSelector(L"progress"), kWait);
    ASSERT_TRUE(progress) << "the progress page did not come";
    EXPECT_EQ(TextOf(progress), L"Tolvane Restore");
    EXPECT_EQ(TextOf(::GetDlgItem(progress, IDC_PROGRESS_STAGE)), L"Restoring your data...");
    EXPECT_TRUE(WaitForText(::GetDlgItem(progress, IDC_PROGRESS_STAGE), L"Finishing the restore...", kSimulatedRestore));

    HWND box = WaitForTopWindow(palto, MatchSelector(L"box"), kSimulatedRestore);
    ASSERT_TRUE(box) << "the end of the restore was not reported";
    EXPECT_EQ(MaskReportName(MessageBoxText(box)), WithReportIn(kDone, BinFolder()));
    Click(FindControl(box, IDOK));
    EXPECT_EQ(run.process().WaitForExit(kWait), 0u);
}

}  // namespace
