// The destination pages and the summary inside the wizard window, with the stand-in
// engine serving a catalog of the test's own: what each page lists and warns for each
// restore type, how Next follows the lists, what Next stores and marks, engine errors on
// entry, and the summary after going back and forth.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "DestinationComputer.h"
#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "TestWizard.h"
#include "app/EngineClient.h"
#include "app/PaltoApp.h"
#include "app/ResourceModule.h"
#include "engine/RecordReaders.h"
#include "frame/PaltoDlg.h"
#include "resources/ids.h"

namespace {

using palto::test::ComboEntries;
using palto::test::MessageBoxes;
using palto::test::ScopedContext;
using palto::test::SimEngine;

// This computer: kDestinationComputer (DestinationComputer.h). The entire-computer
// backups lie on G:, a drive that is no partition here, but for 5 and 6; the others on E:.
//   1  entire computer that fits (90 + 50 GB)      2  entire computer too large (120 GB)
//   3  hard drives: 120 GB unflagged, 40 GB with a partition, 48 GB, 30 GB; two backups
//   4  partitions: 20 GB on a 2 TB disk, 30 GB (no label) on a 40 GB disk, and a
//      "Recovery Tools" partition that the OEM feature hides
//   5  as 1, on D: of this computer                6  as 2, on E: of this computer
std::string Catalog(const std::string& faults = "[]")
{
    return R"({
  "thisComputer": )" + std::string(palto::test::kDestinationComputer) + R"(,
  "projects": [
    {"id": 1, "description": "Office PC", "location": "G:\\Office",
     "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 96636764160}, {"number": 1, "size": 53687091200}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}]},
    {"id": 2, "description": "Server", "location": "G:\\Server",
     "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 128849018880}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}]},
    {"id": 3, "description": "Disks", "location": "E:\\Disks",
     "layout": {"disks": [
       {"number": 0, "size": 128849018880},
       {"number": 1, "size": 42949672960, "selected": true, "partitions": [
         {"number": 1, "label": "Data", "size": 42949672960, "selected": true}]},
       {"number": 2, "size": 51539607552, "selected": true},
       {"number": 3, "size": 32212254720, "selected": true}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}, {"time": "2026-10-08T18:00:00Z"}]},
    {"id": 4, "description": "Partitions", "location": "E:\\Partitions",
     "layout": {"disks": [
       {"number": 0, "size": 2199023255552, "partitions": [
         {"number": 1, "label": "System", "size": 21474836480, "selected": true}]},
       {"number": 1, "size": 42949672960, "partitions": [
         {"number": 1, "size": 32212254720, "selected": true},
         {"number": 2, "label": "Swap", "size": 5368709120},
         {"number": 3, "label": "Recovery Tools", "size": 1073741824, "selected": true}]}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}]},
    {"id": 5, "description": "Office PC on D", "location": "D:\\Office",
     "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 96636764160}, {"number": 1, "size": 53687091200}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}]},
    {"id": 6, "description": "Server on E", "location": "e:\\Server",
     "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 128849018880}]},
     "history": [{"time": "2026-10-01T18:00:00Z"}]}],
  "faults": )" + faults + "\n}";
}

constexpr std::uint64_t kFirstBackup = 134353512000000000ull;    // 2026-10-01 18:00:00 UTC
constexpr std::uint64_t kSecondBackup = 134359560000000000ull;   // 2026-10-08 18:00:00 UTC

enum RestoreType { kEntire = 0, kHardDrive = 1, kPartition = 2 };

class TestWizard : public palto::test::TestWizard {
public:
    // Shows step 3 for a restore of `type` from the backup the context names, as after
    // the source page accepted it.
    void EnterDestination(RestoreType type)
    {
        const int radios[] = {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION};
        for (int i = 0; i < 3; ++i) m_typePage.CheckDlgButton(radios[i], i == type ? BST_CHECKED : BST_UNCHECKED);
        Context().restoreType = type;
        m_nStep = 2;
        StepForward();
    }
};

class DestinationPages : public testing::Test {
protected:
    static void SetUpTestSuite() { palto::test::LoadEnglishResources(); }

    explicit DestinationPages(const std::string& catalog = Catalog()) : engine(catalog) {}

    void SetUp() override
    {
        wizard.emplace();
        ASSERT_TRUE(wizard->Create(IDD_MAIN));
        ChooseBackup(3, kFirstBackup);
        context->programDiskNumber = 0;   // the program runs from C:
        context->programPartitionNumber = 2;
        context->stepTexts[0] = L"Hard drive";
        context->stepTexts[1] = L"Disks";
    }

    // The wizard goes, and with it every layout it still held.
    void TearDown() override
    {
        wizard->DestroyWindow();
        wizard.reset();
        EXPECT_EQ(blocks.Outstanding(), 0) << "engine blocks left unreleased";
    }

    void ChooseBackup(unsigned project, std::uint64_t archive)
    {
        context->projectId = project;
        context->archiveId = archive;
    }

    HWND Control(int pageId, int id) const { return ::GetDlgItem(wizard->Page(pageId), id); }
    HWND Source() const { return Control(IDD_DST_DISK_PAGE, IDC_DST_SOURCE); }
    HWND Target() const { return Control(IDD_DST_DISK_PAGE, IDC_DST_TARGET); }
    int Selected(HWND list) const { return static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0)); }
    bool NextEnabled() const { return ::IsWindowEnabled(wizard->GetDlgItem(IDC_NEXT)); }
    static bool Shown(HWND window) { return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
    static std::wstring Text(HWND window) { return CWnd::TextOf(window).str(); }

    // The shown warning of the disk/partition page; empty when it is hidden.
    std::wstring DiskWarning() const
    {
        const HWND warning = Control(IDD_DST_DISK_PAGE, IDC_DST_SIZE_WARNING);
        return Shown(warning) ? Text(warning) : L"";
    }

    // The user picks entry `index` of a list.
    void Pick(HWND list, int index)
    {
        ::SendMessageW(list, CB_SETCURSEL, index, 0);
        ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }

    tagEntireComputerInf& Here() { return *palto::ThisComputerLayout(context->restoreInfo); }
    tagEntireComputerInf& BackedUp() { return *palto::BackedUpLayout(context->restoreInfo); }

    SimEngine engine;
    palto::test::EngineBlocks blocks;
    ScopedContext context;
    MessageBoxes boxes;
    std::optional<TestWizard> wizard;
};

const wchar_t kDisksTooSmall[] =
    L"The disks of this computer are too small: each backed-up disk needs a disk here that is at least as large. "
    L"Go back and choose another backup, or cancel.";
const wchar_t kPartitionTooSmall[] =
    L"This partition is smaller than the backed-up partition. Choose a larger destination.";
const wchar_t kDiskTooSmall[] = L"This disk is smaller than what you want to restore. Choose a larger destination.";
const wchar_t kHoldsBackup[] = L"The backup itself is stored on this destination. Choose another destination.";

// ---------------------------------------------------------------------------------------
// Entire computer

TEST_F(DestinationPages, EntireComputerThatFitsListsTheDisksHereAndNextStoresTheTotal)
{
    ChooseBackup(1, kFirstBackup);
    wizard->EnterDestination(kEntire);

    EXPECT_EQ(Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS)),
              L"Disk 0: 100.0 GB\r\nDisk 1: 50.0 GB\r\nDisk 2: 45.0 GB\r\nDisk 3: 45.0 GB\r\n");
    EXPECT_FALSE(Shown(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS_DO_NOT_FIT)));
    EXPECT_TRUE(NextEnabled());
    EXPECT_EQ(Here().entireComputer, 1);

    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"240.0 GB on 4 disk(s)");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(DestinationPages, EntireComputerThatDoesNotFitWarnsAndDisablesNextButIsMarked)
{
    ChooseBackup(2, kFirstBackup);
    wizard->EnterDestination(kEntire);

    const HWND warning = Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS_DO_NOT_FIT);
    EXPECT_TRUE(Shown(warning));
    EXPECT_EQ(Text(warning), kDisksTooSmall);
    EXPECT_FALSE(NextEnabled());
    EXPECT_EQ(Here().entireComputer, 1);

    // Another backup that fits: the warning goes and Next comes back.
    wizard->Command(IDC_BACK);
    ChooseBackup(1, kFirstBackup);
    wizard->EnterDestination(kEntire);
    EXPECT_FALSE(Shown(warning));
    EXPECT_TRUE(NextEnabled());
}

// An entire-computer restore overwrites every disk here: a backup on one of them is
// refused whether its disks fit or not.
struct BackupHereCase {
    const char* name;
    unsigned project;
    const wchar_t* warning;
};

void PrintTo(const BackupHereCase& c, std::ostream* out)
{
    *out << c.name;
}

class EntireBackupHere : public DestinationPages, public testing::WithParamInterface<BackupHereCase> {};

TEST_P(EntireBackupHere, WarnsWithTheDriveAndRefusesNext)
{
    ChooseBackup(GetParam().project, kFirstBackup);
    wizard->EnterDestination(kEntire);

    const HWND warning = Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS_DO_NOT_FIT);
    EXPECT_TRUE(Shown(warning));
    EXPECT_EQ(Text(warning), GetParam().warning);
    EXPECT_FALSE(NextEnabled());
    EXPECT_EQ(Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS)),
              L"Disk 0: 100.0 GB\r\nDisk 1: 50.0 GB\r\nDisk 2: 45.0 GB\r\nDisk 3: 45.0 GB\r\n");

    // A Next that arrives all the same is refused with the warning's text.
    wizard->Command(IDC_NEXT);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, GetParam().warning);
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(context->stepTexts[2], L"");

    // The same disks from a backup elsewhere: the warning goes and Next comes back.
    wizard->Command(IDC_BACK);
    ChooseBackup(1, kFirstBackup);
    wizard->EnterDestination(kEntire);
    EXPECT_FALSE(Shown(warning));
    EXPECT_TRUE(NextEnabled());
}

INSTANTIATE_TEST_SUITE_P(Backups, EntireBackupHere, testing::Values(
    BackupHereCase{"FitsButLiesOnD", 5,
                   L"The backup is stored on drive D: of this computer, which the restore would overwrite. "
                   L"Go back and choose another backup, or cancel."},
    BackupHereCase{"TooLargeAndLiesOnE", 6,
                   L"The backup is stored on drive E: of this computer, which the restore would overwrite. "
                   L"Go back and choose another backup, or cancel."}),
    [](const auto& info) { return info.param.name; });

// The figures of the entire-computer page and of the destination it stores, in a
// language that writes a decimal comma (French puts a no-break space before its colon).
struct LanguageFigures {
    const wchar_t* code;
    const wchar_t* disks;
    const wchar_t* destination;
};

void PrintTo(const LanguageFigures& c, std::ostream* out)
{
    *out << testing::PrintToString(std::wstring(c.code));
}

class FiguresInTheLanguage : public DestinationPages, public testing::WithParamInterface<LanguageFigures> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TryLoadResourceModule(palto::test::ProgramFolder().c_str(), GetParam().code, theApp.m_langId));
        DestinationPages::SetUp();
    }
    void TearDown() override
    {
        DestinationPages::TearDown();
        ASSERT_TRUE(TryLoadResourceModule(palto::test::ProgramFolder().c_str(), L"ENU", theApp.m_langId));
    }
};

TEST_P(FiguresInTheLanguage, UseTheModulesDecimalSeparator)
{
    ChooseBackup(1, kFirstBackup);
    wizard->EnterDestination(kEntire);
    EXPECT_EQ(Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS)), GetParam().disks);
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], GetParam().destination);
    EXPECT_EQ(Text(Control(IDD_SUMMARY_PAGE, IDC_SUMMARY_DESTINATION)), GetParam().destination);
}

INSTANTIATE_TEST_SUITE_P(Languages, FiguresInTheLanguage, testing::Values(
    LanguageFigures{L"FRA", L"Disque 0\u00A0: 100,0 Go\r\nDisque 1\u00A0: 50,0 Go\r\nDisque 2\u00A0: 45,0 Go\r\n"
                              L"Disque 3\u00A0: 45,0 Go\r\n",
                    L"240,0 Go sur 4 disque(s)"},
    LanguageFigures{L"DEU",
                    L"Datenträger 0: 100,0 GB\r\nDatenträger 1: 50,0 GB\r\nDatenträger 2: 45,0 GB\r\nDatenträger 3: 45,0 GB\r\n",
                    L"240,0 GB auf 4 Datenträger(n)"}),
    [](const auto& info) { return std::string(info.param.code, info.param.code + 3); });

// ---------------------------------------------------------------------------------------
// Hard drive

TEST_F(DestinationPages, HardDriveOffersTheFlaggedDisksAndEveryDiskHereAndPicksTheSmallestThatFits)
{
    wizard->EnterDestination(kHardDrive);

    EXPECT_EQ(ComboEntries(Source()), (std::vector<std::wstring>{L"Disk 1: Data, 40.0 GB", L"Disk 2: 48.0 GB",
                                                            L"Disk 3: 30.0 GB"}));
    EXPECT_EQ(ComboEntries(Target()),
              (std::vector<std::wstring>{L"Disk 0: System Reserved, Windows, 100.0 GB", L"Disk 1: 50.0 GB",
                                         L"Disk 2: Backup, 45.0 GB", L"Disk 3: (no label), 45.0 GB"}));
    EXPECT_EQ(Selected(Source()), 0);
    EXPECT_EQ(Selected(Target()), 3) << "the 45 GB disk that does not hold the backup";
    EXPECT_TRUE(NextEnabled());
    EXPECT_EQ(DiskWarning(), L"");
}

TEST_F(DestinationPages, TheTargetFollowsTheSourceUntilTheUserPicksOne)
{
    wizard->EnterDestination(kHardDrive);

    Pick(Source(), 1);  // 48 GB: only the 50 and 100 GB disks can take it
    EXPECT_EQ(Selected(Target()), 1);
    Pick(Source(), 2);  // 30 GB
    EXPECT_EQ(Selected(Target()), 3);

    Pick(Target(), 0);
    Pick(Source(), 1);
    EXPECT_EQ(Selected(Target()), 0) << "the user's pick stays";
    EXPECT_TRUE(NextEnabled());

    // Also on a later entry for the same backup.
    wizard->Command(IDC_NEXT);
    wizard->Command(IDC_BACK);
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(Selected(Source()), 1);
    EXPECT_EQ(Selected(Target()), 0);
    Pick(Source(), 2);
    EXPECT_EQ(Selected(Target()), 0);
}

TEST_F(DestinationPages, TheWarningAndNextFollowTheLists)
{
    wizard->EnterDestination(kHardDrive);

    Pick(Target(), 2);  // E:, where the backup lies
    EXPECT_EQ(DiskWarning(), kHoldsBackup);
    EXPECT_FALSE(NextEnabled());

    Pick(Target(), 3);
    Pick(Source(), 1);  // 48 GB onto 45 GB
    EXPECT_EQ(DiskWarning(), kDiskTooSmall);
    EXPECT_FALSE(NextEnabled());

    Pick(Source(), 2);  // 30 GB
    EXPECT_EQ(DiskWarning(), L"");
    EXPECT_TRUE(NextEnabled());
}

TEST_F(DestinationPages, NextStoresTheDiskAndMarksTheChosenDisksForTheEngine)
{
    wizard->EnterDestination(kHardDrive);
    Pick(Source(), 1);  // the second flagged disk: disk 2, 48 GB
    Pick(Target(), 0);

    wizard->Command(IDC_NEXT);
    ASSERT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"Disk 0: 100.0 GB");

    const auto disks = palto::Disks(BackedUp());
    for (int d = 0; d < 4; ++d) EXPECT_EQ(disks[d].selected, d == 2 ? 1 : 0) << "backed-up disk " << d;
    EXPECT_EQ(disks[1].partitions[0].selected, 0);

    // What the engine receives in the restore order.
    auto order = palto::test::MakeOrder(context->restoreInfo, context->archiveId);
    ASSERT_EQ(GetEngineClient().ProjectRestoreCtrl(context->projectId, *order), 0);
    _TaskCtlCmdData stop{};
    stop.command = kTaskCommandStop;
    GetEngineClient().TaskControl(context->projectId, stop);
    const auto restore = engine.Journal("ProjectRestoreCtrl");
    ASSERT_EQ(restore.size(), 1u);
    const nlohmann::json& received = restore[0]["layout"]["disks"];
    for (int d = 0; d < 4; ++d) EXPECT_EQ(received[d]["selected"], d == 0 ? 1 : 0) << "disk here " << d;
    EXPECT_EQ(received[0]["partitions"][1]["selected"], 0);
}

// ---------------------------------------------------------------------------------------
// Partition

TEST_F(DestinationPages, PartitionRestoreNeverOffersTheProgramsOwnPartitionAndNamesUnlabelledOnes)
{
    ChooseBackup(4, kFirstBackup);
    wizard->EnterDestination(kPartition);

    EXPECT_EQ(ComboEntries(Source()),
              (std::vector<std::wstring>{L"Disk 0, partition 1: System (20.0 GB)",
                                         L"Disk 1, partition 1: (no label) (30.0 GB)",
                                         L"Disk 1, partition 3: Recovery Tools (1.0 GB)"}));
    EXPECT_EQ(ComboEntries(Target()),
              (std::vector<std::wstring>{L"Disk 0, partition 1: System Reserved (0.5 GB)", L"Disk 1: 50.0 GB",
                                         L"Disk 2, partition 1: Backup (45.0 GB)",
                                         L"Disk 3, partition 1: (no label) (45.0 GB)"}));
    EXPECT_EQ(Selected(Target()), 3);
    EXPECT_TRUE(NextEnabled());
}

TEST_F(DestinationPages, PartitionOntoAnEmptyDiskSmallerThanItsOwnDiskIsRefused)
{
    ChooseBackup(4, kFirstBackup);
    wizard->EnterDestination(kPartition);

    Pick(Target(), 1);  // the empty 50 GB disk: the 20 GB partition's disk has 2 TB
    EXPECT_EQ(DiskWarning(), kDiskTooSmall);
    EXPECT_FALSE(NextEnabled());

    Pick(Source(), 1);  // 30 GB on a 40 GB disk
    EXPECT_EQ(DiskWarning(), L"");
    ASSERT_TRUE(NextEnabled());

    wizard->Command(IDC_NEXT);
    ASSERT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"Disk 1: 50.0 GB");
    EXPECT_EQ(palto::Disks(Here())[1].selected, 1);
    const auto backedUp = palto::Disks(BackedUp());
    EXPECT_EQ(backedUp[0].partitions[0].selected, 0);
    EXPECT_EQ(backedUp[1].partitions[0].selected, 1);
    EXPECT_EQ(backedUp[1].partitions[2].selected, 0);
}

TEST_F(DestinationPages, PartitionOntoAPartitionNamesDiskAndPartition)
{
    ChooseBackup(4, kFirstBackup);
    wizard->EnterDestination(kPartition);
    Pick(Target(), 0);  // 0.5 GB
    EXPECT_EQ(DiskWarning(), kPartitionTooSmall);
    Pick(Target(), 3);

    wizard->Command(IDC_NEXT);
    ASSERT_EQ(wizard->m_nStep, 4);
    EXPECT_EQ(context->stepTexts[2], L"Disk 3, partition 1");
    EXPECT_EQ(palto::Disks(Here())[3].partitions[0].selected, 1);
    EXPECT_EQ(palto::Disks(Here())[3].selected, 0);
}

TEST_F(DestinationPages, AnotherRestoreTypeOrBackupStartsTheChoiceAgain)
{
    ChooseBackup(4, kFirstBackup);
    wizard->EnterDestination(kPartition);
    Pick(Source(), 1);
    Pick(Target(), 1);  // the user's pick: the empty disk

    wizard->Command(IDC_BACK);
    ChooseBackup(3, kFirstBackup);
    wizard->EnterDestination(kHardDrive);
    EXPECT_EQ(Selected(Source()), 0);
    EXPECT_EQ(Selected(Target()), 3) << "chosen afresh, not the partition restore's entry 1";

    Pick(Target(), 0);
    wizard->Command(IDC_BACK);
    ChooseBackup(3, kSecondBackup);
    wizard->EnterDestination(kHardDrive);
    EXPECT_EQ(Selected(Target()), 3);
}

TEST_F(DestinationPages, TheOemFeatureHidesPartitionsByTheModulesKeywords)
{
    // The page reads the feature when its window is made.
    wizard->DestroyWindow();
    wizard.emplace();
    context->oemOnlyFeature = true;
    ASSERT_TRUE(wizard->Create(IDD_MAIN));
    ChooseBackup(4, kFirstBackup);
    wizard->EnterDestination(kPartition);

    EXPECT_EQ(ComboEntries(Source()), (std::vector<std::wstring>{L"Disk 0, partition 1: System (20.0 GB)",
                                                            L"Disk 1, partition 1: (no label) (30.0 GB)"}));
    EXPECT_EQ(ComboEntries(Target()),
              (std::vector<std::wstring>{L"Disk 1: 50.0 GB", L"Disk 2, partition 1: Backup (45.0 GB)",
                                         L"Disk 3, partition 1: (no label) (45.0 GB)"}));
}

TEST_F(DestinationPages, TabReachesBothListsAndTheWizardsButtons)
{
    wizard->ShowWindow(SW_SHOW);
    ::SetActiveWindow(wizard->m_hWnd);
    wizard->EnterDestination(kHardDrive);
    ::SetFocus(wizard->GetDlgItem(IDC_NEXT));

    std::vector<HWND> visited;
    for (int i = 0; i < 6; ++i) {
        MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        ASSERT_TRUE(CWnd::WalkPreTranslateTree(&tab)) << "the dialog manager takes Tab";
        visited.push_back(::GetFocus());
    }
    for (HWND control : {Source(), Target(), wizard->GetDlgItem(IDC_BACK), wizard->GetDlgItem(IDC_WIZARD_CANCEL)})
        EXPECT_NE(std::find(visited.begin(), visited.end(), control), visited.end()) << ::GetDlgCtrlID(control);
}

// ---------------------------------------------------------------------------------------
// Engine errors on entry: the second entry fails after a first one filled the page.

struct EntryFault {
    const char* name;
    RestoreType type;
    const char* operation;
};

class EngineErrorOnEntry : public DestinationPages, public testing::WithParamInterface<EntryFault> {
protected:
    EngineErrorOnEntry()
        : DestinationPages(Catalog(std::string(R"([{"operation": ")") + GetParam().operation +
                                   R"(", "call": 2, "code": -1000350}])"))
    {
    }
};

TEST_P(EngineErrorOnEntry, ShowsTheEngineTextDisablesNextAndLeavesNoOldChoice)
{
    const RestoreType type = GetParam().type;
    ChooseBackup(type == kEntire ? 1 : 3, kFirstBackup);
    wizard->EnterDestination(type);
    ASSERT_TRUE(NextEnabled());

    wizard->Command(IDC_BACK);
    wizard->EnterDestination(type);

    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"The chosen backup cannot be read. Check that the drive or medium that holds it is connected, or choose another backup.");
    EXPECT_EQ(boxes.shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(NextEnabled());
    EXPECT_EQ(context->restoreInfo.projectDesc, nullptr);
    EXPECT_EQ(context->restoreInfo.thisComputer, nullptr);
    if (type == kEntire) {
        EXPECT_EQ(Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS)), L"");
    } else {
        EXPECT_TRUE(ComboEntries(Source()).empty());
        EXPECT_TRUE(ComboEntries(Target()).empty());
        EXPECT_EQ(DiskWarning(), L"");
    }

    // Next cannot pass the page; the next entry that succeeds fills it again.
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 3);
    wizard->Command(IDC_BACK);
    wizard->EnterDestination(type);
    EXPECT_TRUE(NextEnabled());
}

INSTANTIATE_TEST_SUITE_P(Pages, EngineErrorOnEntry,
                         testing::Values(EntryFault{"EntireQuery", kEntire, "QueryProjectRestoreInfo"},
                                         EntryFault{"EntireVolumes", kEntire, "GetDRRestoreVolumesInfo"},
                                         EntryFault{"DiskQuery", kHardDrive, "QueryProjectRestoreInfo"},
                                         EntryFault{"PartitionVolumes", kPartition, "GetDRRestoreVolumesInfo"}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// A faulty engine: counts outside their range, labels without their zero and a restore
// info with a null pointer give shorter lists, never a read outside a record; the
// wizard goes back and forth as usual and every record goes back to the engine.

// The catalog with `hostile` (JSON) as what the engine gets wrong for project `id`.
std::string HostileCatalog(unsigned id, const char* hostile)
{
    nlohmann::json catalog = nlohmann::json::parse(Catalog());
    for (nlohmann::json& project : catalog["projects"])
        if (project["id"] == id) project["hostile"] = nlohmann::json::parse(hostile);
    return catalog.dump();
}

// `count` times `text`.
std::vector<std::wstring> Times(std::size_t count, const std::wstring& text)
{
    return std::vector<std::wstring>(count, text);
}

std::vector<std::wstring> Joined(std::initializer_list<std::vector<std::wstring>> parts)
{
    std::vector<std::wstring> joined;
    for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

struct HostileCase {
    const char* name;
    unsigned project;
    RestoreType type;
    const char* hostile;
    std::vector<std::wstring> sources;   // the entire-computer page: the lines of its disk text
    std::vector<std::wstring> targets;
    std::wstring destination;            // what Next stores; empty: Next is disabled
    std::wstring box;
};

void PrintTo(const HostileCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostileEngine : public DestinationPages, public testing::WithParamInterface<HostileCase> {
protected:
    HostileEngine() : DestinationPages(HostileCatalog(GetParam().project, GetParam().hostile)) {}

    // What the page shows: the lines of the disk text, or the source list and the target list.
    std::pair<std::vector<std::wstring>, std::vector<std::wstring>> Shown() const
    {
        if (GetParam().type != kEntire) return {ComboEntries(Source()), ComboEntries(Target())};
        std::vector<std::wstring> lines;
        const std::wstring text = Text(Control(IDD_DST_ENTIRE_PAGE, IDC_DST_DISKS));
        for (std::size_t at = 0, end; (end = text.find(L"\r\n", at)) != std::wstring::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        return {lines, {}};
    }
};

TEST_P(HostileEngine, GivesShorterListsAndTheWizardGoesOn)
{
    const HostileCase& c = GetParam();
    ChooseBackup(c.project, kFirstBackup);
    wizard->EnterDestination(c.type);
    ASSERT_EQ(wizard->m_nStep, 3);

    EXPECT_EQ(Shown().first, c.sources);
    EXPECT_EQ(Shown().second, c.targets);
    EXPECT_EQ(NextEnabled(), !c.destination.empty());
    EXPECT_EQ(boxes.texts(), c.box.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.box});

    // Back to the source page, which lists the same backup's descriptions, and here again.
    wizard->Command(IDC_BACK);
    EXPECT_EQ(wizard->m_nStep, 2);
    wizard->EnterDestination(c.type);
    EXPECT_EQ(Shown().first, c.sources);
    if (!c.destination.empty()) {
        wizard->Command(IDC_NEXT);
        EXPECT_EQ(wizard->m_nStep, 4);
        EXPECT_EQ(context->stepTexts[2].str(), c.destination);
        wizard->Command(IDC_BACK);
        EXPECT_EQ(wizard->m_nStep, 3);
    }
    EXPECT_TRUE(wizard->IsWindowEnabled());
}

const std::vector<std::wstring> kDisksHere{L"Disk 0: 100.0 GB", L"Disk 1: 50.0 GB", L"Disk 2: 45.0 GB", L"Disk 3: 45.0 GB"};
const std::vector<std::wstring> kDiskSources{L"Disk 1: Data, 40.0 GB", L"Disk 2: 48.0 GB", L"Disk 3: 30.0 GB"};
const std::vector<std::wstring> kDiskTargets{L"Disk 0: System Reserved, Windows, 100.0 GB", L"Disk 1: 50.0 GB",
                                             L"Disk 2: Backup, 45.0 GB", L"Disk 3: (no label), 45.0 GB"};
const wchar_t kEngineRefused[] = L"The backup engine received a request it cannot carry out. Go back one step and try again. "
                                  L"If this keeps happening, restart the computer from the recovery medium.";

INSTANTIATE_TEST_SUITE_P(Kinds, HostileEngine, testing::Values(
    HostileCase{"BackedUpDisksAbove26", 1, kEntire, R"({"backedUp": {"diskCount": 27}})", kDisksHere, {}, L"", L""},
    HostileCase{"BackedUpDisksBelow0", 3, kHardDrive, R"({"backedUp": {"diskCount": -1}})", {}, kDiskTargets, L"", L""},
    HostileCase{"DisksHereAbove26", 1, kEntire, R"({"thisComputer": {"diskCount": 2147483647}})",
                Joined({kDisksHere, Times(22, L"Disk 0: 0.0 GB")}), {}, L"240.0 GB on 26 disk(s)", L""},
    HostileCase{"DisksHereBelow0", 1, kEntire, R"({"thisComputer": {"diskCount": -2147483648}})", {}, {}, L"", L""},
    HostileCase{"BackedUpPartitionsBelow0", 3, kHardDrive, R"({"backedUp": {"partitionCount": -2147483648}})",
                {L"Disk 1: 40.0 GB", L"Disk 2: 48.0 GB", L"Disk 3: 30.0 GB"}, kDiskTargets, L"Disk 3: 45.0 GB", L""},
    HostileCase{"PartitionsHereAbove26", 4, kPartition, R"({"thisComputer": {"partitionCount": 27}})",
                {L"Disk 0, partition 1: System (20.0 GB)", L"Disk 1, partition 1: (no label) (30.0 GB)",
                 L"Disk 1, partition 3: Recovery Tools (1.0 GB)"},
                // Past the partitions of each disk, as many empty entries as the count says.
                Joined({{L"Disk 0, partition 1: System Reserved (0.5 GB)"}, Times(24, L"Disk 0, partition 0: (no label) (0.0 GB)"),
                        Times(26, L"Disk 1, partition 0: (no label) (0.0 GB)"),
                        {L"Disk 2, partition 1: Backup (45.0 GB)"}, Times(25, L"Disk 2, partition 0: (no label) (0.0 GB)"),
                        {L"Disk 3, partition 1: (no label) (45.0 GB)"}, Times(25, L"Disk 3, partition 0: (no label) (0.0 GB)")}),
                L"Disk 3, partition 1", L""},
    HostileCase{"UnterminatedLabels", 4, kPartition, R"({"unterminated": ["label"]})",
                {L"Disk 0, partition 1: System" + std::wstring(254, L'~') + L" (20.0 GB)",
                 L"Disk 1, partition 1: " + std::wstring(260, L'~') + L" (30.0 GB)",
                 L"Disk 1, partition 3: Recovery Tools" + std::wstring(246, L'~') + L" (1.0 GB)"},
                {L"Disk 0, partition 1: System Reserved" + std::wstring(245, L'~') + L" (0.5 GB)", L"Disk 1: 50.0 GB",
                 L"Disk 2, partition 1: Backup" + std::wstring(254, L'~') + L" (45.0 GB)",
                 L"Disk 3, partition 1: " + std::wstring(260, L'~') + L" (45.0 GB)"},
                L"Disk 3, partition 1", L""},
    HostileCase{"NullBackedUpLayout", 1, kEntire, R"({"nullPointers": ["projectDesc"]})", {}, {}, L"", kEngineRefused},
    HostileCase{"NullLayoutHere", 3, kHardDrive, R"({"nullPointers": ["thisComputer"]})", {}, {}, L"", kEngineRefused},
    HostileCase{"NullHistoryList", 3, kHardDrive, R"({"nullPointers": ["historyList"]})", kDiskSources, kDiskTargets,
                L"Disk 3: 45.0 GB", L""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// Summary

TEST_F(DestinationPages, SummaryShowsTheChoicesAndTheNewDestinationAfterBackAndNext)
{
    wizard->EnterDestination(kHardDrive);
    wizard->Command(IDC_NEXT);
    ASSERT_EQ(wizard->m_nStep, 4);

    const auto summary = [&](int id) { return Text(Control(IDD_SUMMARY_PAGE, id)); };
    EXPECT_EQ(summary(IDC_SUMMARY_TYPE), L"Hard drive");
    EXPECT_EQ(summary(IDC_SUMMARY_BACKUP), L"Disks : [2026-10-01 18:00:00]");
    EXPECT_EQ(summary(IDC_SUMMARY_DESTINATION), L"Disk 3: 45.0 GB");

    const HWND back = wizard->GetDlgItem(IDC_BACK);
    const HWND next = wizard->GetDlgItem(IDC_NEXT);
    const auto buttonType = [](HWND button) { return ::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_EQ(::GetFocus(), back);
    EXPECT_EQ(buttonType(back), BS_DEFPUSHBUTTON);
    EXPECT_EQ(buttonType(next), BS_PUSHBUTTON);

    wizard->Command(IDC_BACK);
    Pick(Target(), 0);
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(summary(IDC_SUMMARY_DESTINATION), L"Disk 0: 100.0 GB");
    EXPECT_EQ(::GetFocus(), back);
    EXPECT_EQ(buttonType(back), BS_DEFPUSHBUTTON);
}

// ---------------------------------------------------------------------------------------
// Layout of the three templates in every language module

struct Layout {
    const wchar_t* code;  // of the module: MainrENU.dll has ENU
    int page;
};

std::vector<Layout> EveryModuleWith(std::initializer_list<int> pages)
{
    std::vector<Layout> layouts;
    for (const wchar_t* code : {PALTO_MODULE_CODES})
        for (int page : pages) layouts.push_back({code, page});
    return layouts;
}

// How a case is named in messages.
void PrintTo(const Layout& layout, std::ostream* out)
{
    *out << testing::PrintToString(L"Mainr" + std::wstring(layout.code) + L".dll") << " template " << layout.page;
}

class PageLayout : public testing::TestWithParam<Layout> {
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryExW((palto::test::ProgramFolder() + L"\\Mainr" + GetParam().code + L".dll").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
        m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        m_page = ::CreateDialogParamW(m_module, MAKEINTRESOURCEW(GetParam().page), m_parent,
                                      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ASSERT_NE(m_page, nullptr);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_parent);
        ::FreeLibrary(m_module);
    }

    std::wstring String(UINT id) const
    {
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(m_module, id, reinterpret_cast<LPWSTR>(&text), 0);
        return std::wstring(text, length);
    }
    RECT Rect(int id) const
    {
        RECT r{};
        ::GetWindowRect(::GetDlgItem(m_page, id), &r);
        return r;
    }
    // The size `text` takes in `control`, wrapped at the control's width.
    SIZE TextSize(HWND control, const std::wstring& text, UINT format) const
    {
        HDC dc = ::GetDC(control);
        const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT client{};
        ::GetClientRect(control, &client);
        RECT r{0, 0, client.right, 0};
        ::DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(control, dc);
        return {r.right, r.bottom};
    }

    HMODULE m_module = nullptr;
    HWND m_parent = nullptr;
    HWND m_page = nullptr;
};

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both{};
    return ::IntersectRect(&both, &a, &b);
}

TEST_P(PageLayout, EveryTextFitsItsControlAndWarningsKeepClearOfTheLists)
{
    // The warnings hold their longest text.
    if (GetParam().page == IDD_DST_DISK_PAGE) {
        std::wstring longest;
        for (UINT id : {IDS_TARGET_PARTITION_TOO_SMALL, IDS_TARGET_DISK_TOO_SMALL, IDS_TARGET_HOLDS_BACKUP})
            if (String(id).size() > longest.size()) longest = String(id);
        ::SetDlgItemTextW(m_page, IDC_DST_SIZE_WARNING, longest.c_str());
        for (int list : {IDC_DST_SOURCE, IDC_DST_TARGET}) EXPECT_FALSE(Overlap(Rect(IDC_DST_SIZE_WARNING), Rect(list)));
    }
    if (GetParam().page == IDD_DST_ENTIRE_PAGE) {
        const std::wstring backupHere = palto::FormatText(String(IDS_BACKUP_ON_THIS_COMPUTER), L'W');
        const std::wstring tooSmall = String(IDS_DISKS_DO_NOT_FIT);
        const std::wstring& longest = backupHere.size() > tooSmall.size() ? backupHere : tooSmall;
        ::SetDlgItemTextW(m_page, IDC_DST_DISKS_DO_NOT_FIT, longest.c_str());
        EXPECT_FALSE(Overlap(Rect(IDC_DST_DISKS_DO_NOT_FIT), Rect(IDC_DST_DISKS)));
    }

    for (HWND child = ::GetWindow(m_page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
        const std::wstring text = CWnd::TextOf(child).str();
        if (_wcsicmp(className, L"Static") != 0 || text.empty()) continue;
        RECT client{};
        ::GetClientRect(child, &client);
        const UINT format = DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        EXPECT_LE(TextSize(child, text, format).cy, client.bottom) << "cut: " << testing::PrintToString(text);
    }
}

class ListWidth : public PageLayout {};

TEST_P(ListWidth, TheListsShowADiskWithThreePartitionNames)
{
    const std::wstring names = L"System Reserved, Windows, " + String(IDS_NO_LABEL) + L", ";
    const std::wstring entry = palto::FormatText(String(IDS_DISK_WITH_PARTITIONS), 12, names, 1863.0);
    for (int list : {IDC_DST_SOURCE, IDC_DST_TARGET}) {
        const HWND combo = ::GetDlgItem(m_page, list);
        RECT client{};
        ::GetClientRect(combo, &client);
        const int room = client.right - ::GetSystemMetrics(SM_CXVSCROLL) - 8;  // less the arrow and the margins
        EXPECT_LE(TextSize(combo, entry, DT_SINGLELINE | DT_NOPREFIX).cx, room) << testing::PrintToString(entry);
    }
}

std::string LayoutName(const testing::TestParamInfo<Layout>& info)
{
    const std::wstring code = info.param.code;
    return std::string(code.begin(), code.end()) + std::to_string(info.param.page);
}

INSTANTIATE_TEST_SUITE_P(Modules, PageLayout,
                         testing::ValuesIn(EveryModuleWith({IDD_DST_ENTIRE_PAGE, IDD_DST_DISK_PAGE, IDD_SUMMARY_PAGE})),
                         LayoutName);
INSTANTIATE_TEST_SUITE_P(Modules, ListWidth,
                         testing::ValuesIn(EveryModuleWith({IDD_DST_DISK_PAGE})),
                         LayoutName);

}  // namespace
