// The destination step and the summary as a user meets them, with a catalog of the
// test's own: whether an entire computer fits, the lists of a hard-drive and a partition
// restore with the target chosen for the user and kept once they chose it, the warnings
// that keep Next disabled, and the summary of the three choices.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Automation.h"
#include "DestinationComputer.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


// One backup with the given layout, on E: of this computer unless `location` says otherwise.
std::string Backup(const std::string& description, const std::string& layout,
                   const std::string& location = "E:\\\\Backups")
{
    return R"({"id": 1, "description": ")" + description + R"(", "location": ")" + location + R"(", "layout": )" + layout +
           R"(, "history": [{"time": "2026-10-05T19:00:00Z"}]})";
}

const char kDisksLayout[] = R"({"disks": [
    {"number": 0, "size": 128849018880},
    {"number": 1, "size": 42949672960, "selected": true, "partitions": [
      {"number": 1, "label": "Data", "size": 42949672960, "selected": true}]},
    {"number": 2, "size": 51539607552, "selected": true},
    {"number": 3, "size": 32212254720, "selected": true}]})";

const wchar_t kHoldsBackup[] = L"The backup itself is stored on this destination. Choose another destination.";

class DestinationStep : public testing::Test {
protected:
    // Starts the wizard with a catalog of this computer and `backup`, chooses the
    // restore type and goes on to the destination step.
    void Start(const std::string& backup, int typeRadio)
    {
        run.emplace(R"({"thisComputer": )" + std::string(palto::test::kDestinationComputer) + R"(, "projects": [)" + backup + "]}");
        wizard = run->wizard();
        ASSERT_TRUE(wizard);
        Click(FindControl(wizard, typeRadio));
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait));
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 3 of 4", kWait));
    }
    void TearDown() override
    {
        if (wizard) {
            EXPECT_EQ(run->Cancel(), 0u);
        }
    }

    // A control of the page that holds control `marker` (ids repeat across pages).
    HWND OnPage(int marker, int id) const { return FindControl(::GetParent(FindControl(wizard, marker)), id); }
    HWND Source() const { return FindControl(wizard, IDC_DST_SOURCE); }
    HWND Target() const { return FindControl(wizard, IDC_DST_TARGET); }
    bool NextEnabled() const { return ::IsWindowEnabled(FindControl(wizard, IDC_NEXT)); }
    // The warning of the disk/partition step; empty while hidden.
    std::wstring DiskWarning() const
    {
        HWND warning = FindControl(wizard, IDC_DST_SIZE_WARNING);
        return ::IsWindowVisible(warning) ? TextOf(warning) : L"";
    }
    // The user moves through a list with the arrow keys until it shows `entry`.
    static void MoveTo(HWND list, UINT key, const std::wstring& entry)
    {
        PressKey(list, key);
        ASSERT_TRUE(WaitForText(list, entry, kWait)) << "the list shows " << testing::PrintToString(TextOf(list));
    }
    void GoToSummary()
    {
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 4 of 4", kWait));
    }
    std::wstring Summary(int id) const { return TextOf(OnPage(IDC_SUMMARY_HEADING, id)); }
    bool BackIsTheDefaultButton() const
    {
        const auto type = [](HWND button) { return ::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK; };
        return type(FindControl(wizard, IDC_BACK)) == BS_DEFPUSHBUTTON && type(FindControl(wizard, IDC_NEXT)) == BS_PUSHBUTTON;
    }

    std::optional<CatalogRun> run;
    HWND wizard = nullptr;
};

// An entire-computer restore would overwrite every disk here: its backup lies elsewhere.
const char kExternalDrive[] = "G:\\\\Backups";

TEST_F(DestinationStep, AnEntireComputerBackedUpOnThisComputerIsWarnedAboutAndCannotGoOn)
{
    Start(Backup("Office PC", R"({"entireComputer": true, "disks": [
              {"number": 0, "size": 96636764160}, {"number": 1, "size": 53687091200}]})"),
          IDC_TYPE_ENTIRE);
    HWND warning = OnPage(IDC_DST_DISKS_DO_NOT_FIT, IDC_DST_DISKS_DO_NOT_FIT);
    EXPECT_TRUE(::IsWindowVisible(warning));
    EXPECT_EQ(TextOf(warning), L"The backup is stored on drive E: of this computer, which the restore would overwrite. "
                               L"Go back and choose another backup, or cancel.");
    EXPECT_FALSE(NextEnabled());
}

TEST_F(DestinationStep, AnEntireComputerThatDoesNotFitIsWarnedAboutAndCannotGoOn)
{
    Start(Backup("Server", R"({"entireComputer": true, "disks": [{"number": 0, "size": 128849018880}]})", kExternalDrive),
          IDC_TYPE_ENTIRE);
    HWND warning = OnPage(IDC_DST_DISKS_DO_NOT_FIT, IDC_DST_DISKS_DO_NOT_FIT);
    EXPECT_TRUE(::IsWindowVisible(warning));
    EXPECT_EQ(TextOf(warning), L"The disks of this computer are too small: each backed-up disk needs a disk here that "
                               L"is at least as large. Go back and choose another backup, or cancel.");
    EXPECT_FALSE(NextEnabled());
}

TEST_F(DestinationStep, AnEntireComputerThatFitsGoesOnToTheSummary)
{
    Start(Backup("Office PC", R"({"entireComputer": true, "disks": [
              {"number": 0, "size": 96636764160}, {"number": 1, "size": 53687091200}]})",
                 kExternalDrive),
          IDC_TYPE_ENTIRE);
    EXPECT_FALSE(::IsWindowVisible(OnPage(IDC_DST_DISKS_DO_NOT_FIT, IDC_DST_DISKS_DO_NOT_FIT)));
    EXPECT_EQ(TextOf(OnPage(IDC_DST_DISKS_DO_NOT_FIT, IDC_DST_DISKS)),
              L"Disk 0: 100.0 GB\r\nDisk 1: 50.0 GB\r\nDisk 2: 45.0 GB\r\nDisk 3: 45.0 GB\r\n");
    ASSERT_TRUE(NextEnabled());

    GoToSummary();
    EXPECT_EQ(Summary(IDC_SUMMARY_TYPE), L"Entire computer");
    const std::wstring backup = Summary(IDC_SUMMARY_BACKUP);  // the date in this computer's time zone
    EXPECT_EQ(backup.rfind(L"Office PC : [2026-10-0", 0), 0u) << testing::PrintToString(backup);
    EXPECT_EQ(backup.size(), std::wstring(L"Office PC : [2026-10-05 19:00:00]").size());
    EXPECT_EQ(Summary(IDC_SUMMARY_DESTINATION), L"240.0 GB on 4 disk(s)");
    EXPECT_TRUE(BackIsTheDefaultButton());
}

TEST_F(DestinationStep, AHardDriveGoesOntoTheSmallestDiskThatFitsUntilTheUserPicksOne)
{
    Start(Backup("Disks", kDisksLayout), IDC_TYPE_DISK);
    EXPECT_EQ(ComboEntries(Source()), (std::vector<std::wstring>{L"Disk 1: Data, 40.0 GB", L"Disk 2: 48.0 GB",
                                                                 L"Disk 3: 30.0 GB"}));
    EXPECT_EQ(ComboEntries(Target()),
              (std::vector<std::wstring>{L"Disk 0: System Reserved, Windows, 100.0 GB", L"Disk 1: 50.0 GB",
                                         L"Disk 2: Backup, 45.0 GB", L"Disk 3: (no label), 45.0 GB"}));
    EXPECT_EQ(TextOf(Source()), L"Disk 1: Data, 40.0 GB");
    EXPECT_EQ(TextOf(Target()), L"Disk 3: (no label), 45.0 GB") << "the 45 GB disk without the backup";

    MoveTo(Source(), VK_DOWN, L"Disk 2: 48.0 GB");
    EXPECT_TRUE(WaitForText(Target(), L"Disk 1: 50.0 GB", kWait)) << "the target follows the source";

    MoveTo(Target(), VK_UP, L"Disk 0: System Reserved, Windows, 100.0 GB");
    MoveTo(Source(), VK_DOWN, L"Disk 3: 30.0 GB");
    EXPECT_EQ(TextOf(Target()), L"Disk 0: System Reserved, Windows, 100.0 GB") << "the user's pick stays";
    ASSERT_TRUE(NextEnabled());

    GoToSummary();
    EXPECT_EQ(Summary(IDC_SUMMARY_TYPE), L"Hard drive");
    EXPECT_EQ(Summary(IDC_SUMMARY_DESTINATION), L"Disk 0: 100.0 GB");
    EXPECT_TRUE(BackIsTheDefaultButton());
}

TEST_F(DestinationStep, TheDiskThatHoldsTheBackupCannotBeChosen)
{
    Start(Backup("Disks", kDisksLayout), IDC_TYPE_DISK);
    MoveTo(Target(), VK_UP, L"Disk 2: Backup, 45.0 GB");
    EXPECT_EQ(DiskWarning(), kHoldsBackup);
    EXPECT_FALSE(NextEnabled());
}

TEST_F(DestinationStep, APartitionOntoAnEmptyDiskSmallerThanItsOwnDiskIsRefused)
{
    Start(Backup("Partitions", R"({"disks": [
              {"number": 0, "size": 2199023255552, "partitions": [
                {"number": 1, "label": "System", "size": 21474836480, "selected": true}]},
              {"number": 1, "size": 42949672960, "partitions": [
                {"number": 1, "size": 32212254720, "selected": true}]}]})"),
          IDC_TYPE_PARTITION);
    EXPECT_EQ(ComboEntries(Source()), (std::vector<std::wstring>{L"Disk 0, partition 1: System (20.0 GB)",
                                                                 L"Disk 1, partition 1: (no label) (30.0 GB)"}));
    EXPECT_EQ(TextOf(Target()), L"Disk 3, partition 1: (no label) (45.0 GB)");

    MoveTo(Target(), VK_UP, L"Disk 2, partition 1: Backup (45.0 GB)");
    EXPECT_EQ(DiskWarning(), kHoldsBackup);
    MoveTo(Target(), VK_UP, L"Disk 1: 50.0 GB");
    EXPECT_EQ(DiskWarning(), L"This disk is smaller than what you want to restore. Choose a larger destination.")
        << "the 20 GB partition comes from a 2 TB disk";
    EXPECT_FALSE(NextEnabled());

    MoveTo(Source(), VK_DOWN, L"Disk 1, partition 1: (no label) (30.0 GB)");
    EXPECT_EQ(DiskWarning(), L"") << "a 30 GB partition of a 40 GB disk fits the empty 50 GB disk";
    EXPECT_TRUE(NextEnabled());

    MoveTo(Target(), VK_DOWN, L"Disk 2, partition 1: Backup (45.0 GB)");
    MoveTo(Target(), VK_DOWN, L"Disk 3, partition 1: (no label) (45.0 GB)");
    ASSERT_TRUE(NextEnabled());
    GoToSummary();
    EXPECT_EQ(Summary(IDC_SUMMARY_TYPE), L"Partition");
    EXPECT_EQ(Summary(IDC_SUMMARY_DESTINATION), L"Disk 3, partition 1");
}

}  // namespace
