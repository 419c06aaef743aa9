// The wizard started with -test, as a user walks it: the backup and destination steps
// and the summary show the fixed sample of test mode for every restore type, and the
// restore started from the last step is simulated to its end, which ends the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"

using namespace palto::e2e;

namespace {

constexpr int kNext = 1003, kBack = 1004, kCaption = 1024;
constexpr int kTypeEntire = 1008, kTypeDisk = 1010, kTypePartition = 1013;
constexpr int kLatest = 1027, kProject = 1031, kArchive = 1081;
constexpr int kTarget = 1015, kSource = 1017;
constexpr int kEntireDisks = 1083, kDisksDoNotFit = 1090;
constexpr int kSummaryHeading = 1054, kSummaryBackup = 1083, kSummaryDestination = 1084;
constexpr int kProgressStage = 1082;
constexpr DWORD kSimulatedRestore = 60000;   // 100 ticks of 300 ms, with room to spare

const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";

// Test mode needs no backup: the engine has none to offer.
class TestMode : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(wizard); }
    void TearDown() override
    {
        if (wizard && run.process().WaitForExit(0) == STILL_ACTIVE) EXPECT_EQ(run.Cancel(), 0u);
    }

    void Press(int button, const wchar_t* caption)
    {
        Click(FindControl(wizard, button));
        ASSERT_TRUE(WaitForText(FindControl(wizard, kCaption), caption, kWait)) << TextOf(FindControl(wizard, kCaption));
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
    for (const Case& type : {Case{kTypeEntire, L"Test Entire Computer.."}, Case{kTypeDisk, L"Test HD/PT...."},
                             Case{kTypePartition, L"Test HD/PT...."}}) {
        SCOPED_TRACE(type.destination);
        Click(FindControl(wizard, type.radio));
        Press(kNext, L"Step 2 of 4");
        EXPECT_EQ(ComboEntries(FindControl(wizard, kProject)), std::vector<std::wstring>{L"Test Mode(C---W)"});
        EXPECT_EQ(ComboEntries(OnPage(kProject, kArchive)), std::vector<std::wstring>{L"2010-1-1 10:10:10"});
        Click(FindControl(wizard, kLatest));
        EXPECT_TRUE(WaitForText(FindControl(wizard, kLatest),
                                L"Restore the &latest backup: Test Mode(C---W)[2010-1-1 10:10:10]", kWait))
            << TextOf(FindControl(wizard, kLatest));

        Press(kNext, L"Step 3 of 4");
        if (type.radio == kTypeEntire) {
            EXPECT_EQ(TextOf(OnPage(kDisksDoNotFit, kEntireDisks)), L"Test Entire Restore..");
        } else {
            EXPECT_EQ(ComboEntries(FindControl(wizard, kSource)), std::vector<std::wstring>{L"Soure Harddisk/Partition..."});
            EXPECT_EQ(ComboEntries(FindControl(wizard, kTarget)),
                      std::vector<std::wstring>{L"Destination Harddisk/Partition..."});
        }

        Press(kNext, L"Step 4 of 4");
        EXPECT_EQ(TextOf(OnPage(kSummaryHeading, kSummaryBackup)).rfind(L"Test Mode(C---W) : [", 0), 0u);
        EXPECT_EQ(TextOf(OnPage(kSummaryHeading, kSummaryDestination)), type.destination);

        Press(kBack, L"Step 3 of 4");
        Press(kBack, L"Step 2 of 4");
        Press(kBack, L"Step 1 of 4");
    }
}

TEST_F(TestMode, TheRestoreIsSimulatedToItsEndAndEndsTheProgram)
{
    Press(kNext, L"Step 2 of 4");
    Press(kNext, L"Step 3 of 4");
    Press(kNext, L"Step 4 of 4");
    Click(FindControl(wizard, kNext));

    const DWORD palto = run.process().id();
    HWND progress = WaitForTopWindow(palto, MatchSelector(L"progress"), kWait);
    ASSERT_TRUE(progress) << "the progress page did not come";
    EXPECT_EQ(TextOf(progress), L"Tolvane Restore");
    EXPECT_EQ(TextOf(::GetDlgItem(progress, kProgressStage)), L"Restoring your data...");
    EXPECT_TRUE(WaitForText(::GetDlgItem(progress, kProgressStage), L"Finishing the restore...", kSimulatedRestore));

    HWND box = WaitForTopWindow(palto, MatchSelector(L"box"), kSimulatedRestore);
    ASSERT_TRUE(box) << "the end of the restore was not reported";
    EXPECT_EQ(MessageBoxText(box), kDone);
    Click(FindControl(box, IDOK));
    EXPECT_EQ(run.process().WaitForExit(kWait), 0u);
}

}  // namespace
