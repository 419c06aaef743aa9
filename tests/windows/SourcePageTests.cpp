// The source page inside the wizard, with catalogs of the test's own: which backups it
// offers for each restore type and which it picks, the drive kinds, the engine's
// failures, and the check of a backup whose medium is missing.
//
// Drive Q: is a CD/DVD drive, made by the test run's set-up (define_drive); C: is a fixed
// disk and J: no drive at all. Times are shown in UTC (the test runs with TZ=UTC).
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "app/ResourceModule.h"
#include "frame/PaltoDlg.h"
#include "resources/ids.h"

namespace {

using nlohmann::json;
using palto::test::MessageBoxes;
using palto::test::ScopedContext;
using palto::test::SimEngine;

// ---------------------------------------------------------------------------------------
// Memory refused: while a RefusedDescriptions lives, every allocation of a project
// description without exceptions fails, as it does when the system has no more memory.

std::atomic<bool> g_descriptionsRefused{false};

class RefusedDescriptions {
public:
    RefusedDescriptions() { g_descriptionsRefused = true; }
    ~RefusedDescriptions() { g_descriptionsRefused = false; }
    RefusedDescriptions(const RefusedDescriptions&) = delete;
    RefusedDescriptions& operator=(const RefusedDescriptions&) = delete;
};

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_descriptionsRefused && size == sizeof(_ProjectDesc)) return nullptr;
    return std::malloc(size ? size : 1);
}

namespace {

// ---------------------------------------------------------------------------------------
// Catalogs

enum class Holds { Entire, WholeDisk, Partition, Nothing };

json Layout(Holds holds)
{
    const bool entire = holds == Holds::Entire;
    const bool disk = entire || holds == Holds::WholeDisk;
    const bool partition = entire || holds == Holds::Partition;
    return {{"entireComputer", entire},
            {"disks", {{{"number", 0}, {"size", 512110190592}, {"selected", disk},
                        {"partitions", {{{"number", 1}, {"driveLetter", "C"}, {"size", 322122547200},
                                         {"typeCode", 7}, {"selected", partition}}}}}}}};
}

// A project with backups at `times` (ISO texts in UTC, or 0 for an entry not offered).
json Project(unsigned id, const std::string& description, const std::string& location, Holds holds,
             const std::vector<json>& times)
{
    json history = json::array();
    for (const json& time : times) history.push_back({{"time", time}});
    return {{"id", id}, {"description", description}, {"location", location}, {"layout", Layout(holds)},
            {"history", history}};
}

std::string Catalog(const std::vector<json>& projects, const json& faults = json::array())
{
    const json thisComputer = {{"disks", {{{"number", 0}, {"size", 512110190592}}}}};
    return json{{"thisComputer", thisComputer}, {"projects", projects}, {"faults", faults}}.dump();
}

json Fault(const std::string& operation, int call, int code)
{
    return {{"operation", operation}, {"call", call}, {"code", code}};
}

// Four projects, one for each thing a backup may hold; the one holding nothing has the
// newest backup of all and is never offered.
std::string MixedCatalog(const json& faults = json::array())
{
    return Catalog({Project(1, "Office PC", "C:\\Backups\\Office", Holds::Entire,
                            {"2026-10-05T19:00:00Z", "2026-11-16T20:00:00Z"}),
                    Project(2, "System disk", "C:\\Backups\\System", Holds::WholeDisk,
                            {"2026-11-01T07:30:00Z", "2026-11-29T07:30:00Z"}),
                    Project(3, "Documents", "Q:\\Documents", Holds::Partition, {"2026-10-31T17:10:00Z"}),
                    Project(4, "Nothing marked", "C:\\Backups\\Empty", Holds::Nothing, {"2026-12-24T10:00:00Z"})},
                   faults);
}

constexpr std::uint64_t k20261116 = 134393328000000000ull;   // 2026-11-16 20:00:00 UTC
constexpr std::uint64_t k20261031 = 134379402000000000ull;   // 2026-10-31 17:10:00 UTC
constexpr std::uint64_t k20261005 = 134357004000000000ull;   // 2026-10-05 19:00:00 UTC

// ---------------------------------------------------------------------------------------
// The wizard

class SourceWizard : public CPaltoDlg {
public:
    using CPaltoDlg::m_nStep;
    using CPaltoDlg::m_sourcePage;
    using CPaltoDlg::m_typePage;

    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id))); }
    void ChooseType(int radio)
    {
        for (int id : {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION})
            m_typePage.CheckDlgButton(id, id == radio ? BST_CHECKED : BST_UNCHECKED);
    }
    bool NextEnabled() const { return ::IsWindowEnabled(GetDlgItem(IDC_NEXT)) != 0; }
};

// Handles this thread's messages until `done` holds; false when it did not within 10 s.
bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > 10000) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        palto::test::PumpMessages();
    }
    return true;
}

class SourcePage : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        palto::test::LoadEnglishResources();
        ASSERT_EQ(::GetDriveTypeW(L"Q:\\"), static_cast<UINT>(DRIVE_CDROM))
            << "Q: is made a CD/DVD drive by the test run's set-up: run these tests through ctest";
        ASSERT_EQ(::GetDriveTypeW(L"C:\\"), static_cast<UINT>(DRIVE_FIXED));
        ASSERT_EQ(::GetDriveTypeW(L"J:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    }

    // The wizard on step 2 for a restore type, with the engine serving `catalog`.
    void Open(const std::string& catalog, int typeRadio)
    {
        engine.emplace(catalog);
        wizard = std::make_unique<SourceWizard>();
        ASSERT_TRUE(wizard->Create(IDD_MAIN));
        wizard->ChooseType(typeRadio);
        wizard->Command(IDC_NEXT);
        ASSERT_EQ(wizard->m_nStep, 2);
    }

    void TearDown() override
    {
        wizard.reset();
        EXPECT_EQ(HalvexSimOutstandingAllocations(), 0u) << "every engine allocation is handed back";
    }

    CSrcDlg_HardDrive_Partition& page() { return wizard->m_sourcePage; }
    HWND Item(int id) { return page().GetDlgItem(id); }
    std::wstring Text(int id) { return CWnd::TextOf(Item(id)).str(); }
    bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != 0; }
    bool Visible(int id) { return (::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int id) { return page().IsDlgButtonChecked(id) == BST_CHECKED; }
    int Selected(int id) { return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }

    std::vector<std::wstring> Items(int id)
    {
        std::vector<std::wstring> items;
        const int count = static_cast<int>(::SendMessageW(Item(id), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(::SendMessageW(Item(id), CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            text.resize(static_cast<size_t>(::SendMessageW(Item(id), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
            items.push_back(text);
        }
        return items;
    }

    // A click on a radio button of the page, as the button reports it.
    void Click(int radio)
    {
        for (int id : {IDC_SRC_LATEST, IDC_SRC_CHOOSE}) page().CheckDlgButton(id, id == radio ? BST_CHECKED : BST_UNCHECKED);
        page().SendMessage(WM_COMMAND, MAKEWPARAM(radio, BN_CLICKED), reinterpret_cast<LPARAM>(Item(radio)));
    }
    // A choice in a list of the page, as the list reports it.
    void Choose(int list, int index)
    {
        ::SendMessageW(Item(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        page().SendMessage(WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(list)));
    }

    void BackAndNext()
    {
        wizard->Command(IDC_BACK);
        wizard->Command(IDC_NEXT);
        ASSERT_EQ(wizard->m_nStep, 2);
    }

    ScopedContext context;
    MessageBoxes boxes;
    std::optional<SimEngine> engine;
    std::unique_ptr<SourceWizard> wizard;
};

// ---------------------------------------------------------------------------------------
// Latest mode

struct LatestCase {
    int typeRadio;
    std::vector<std::wstring> projects;
    std::wstring picked;
    std::vector<std::wstring> archives;
};

class LatestMode : public SourcePage, public testing::WithParamInterface<LatestCase> {};

TEST_P(LatestMode, PicksTheNewestBackupThatHoldsWhatTheTypeNeeds)
{
    Open(MixedCatalog(), GetParam().typeRadio);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), GetParam().projects);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), GetParam().picked);
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), GetParam().archives);
    EXPECT_EQ(Selected(IDC_SRC_ARCHIVE), 0);
    EXPECT_EQ(Text(IDC_SRC_LATEST),
              L"Restore the &latest backup: " + GetParam().picked + L" [" + GetParam().archives[0] + L"]");
    EXPECT_TRUE(Checked(IDC_SRC_LATEST));
    for (int id : {IDC_SRC_DRIVE_TYPE, IDC_SRC_PROJECT, IDC_SRC_ARCHIVE}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(wizard->NextEnabled());
    EXPECT_FALSE(Visible(IDC_SRC_NO_PROJECTS));
    EXPECT_TRUE(boxes.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(RestoreTypes, LatestMode, testing::Values(
    LatestCase{IDC_TYPE_ENTIRE, {L"Office PC"}, L"Office PC", {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}},
    LatestCase{IDC_TYPE_DISK, {L"Office PC", L"System disk"}, L"System disk",
               {L"2026-11-29 07:30:00", L"2026-11-01 07:30:00"}},
    // A backup of whole disks alone cannot give a partition.
    LatestCase{IDC_TYPE_PARTITION, {L"Office PC", L"Documents"}, L"Office PC",
               {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}}));

TEST_F(SourcePage, OfTwoProjectsWithTheSameNewestBackupTheFirstIsPicked)
{
    Open(Catalog({Project(1, "First", "C:\\First", Holds::Partition, {"2026-11-16T20:00:00Z"}),
                  Project(2, "Second", "C:\\Second", Holds::Partition, {"2026-10-01T00:00:00Z", "2026-11-16T20:00:00Z"})}),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"First");
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), std::vector<std::wstring>{L"2026-11-16 20:00:00"});
}

TEST_F(SourcePage, WithoutADatedBackupNothingIsPickedAndNextSaysSo)
{
    Open(Catalog({Project(1, "Undated", "C:\\Undated", Holds::Partition, {0, 0}),
                  Project(2, "No history", "C:\\None", Holds::Partition, {})}),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"Undated", L"No history"}));
    EXPECT_EQ(Selected(IDC_SRC_PROJECT), -1);
    EXPECT_TRUE(Items(IDC_SRC_ARCHIVE).empty());
    EXPECT_EQ(Text(IDC_SRC_LATEST), L"Restore the &latest backup");
    EXPECT_FALSE(wizard->NextEnabled());
    EXPECT_TRUE(Visible(IDC_SRC_NO_PROJECTS));

    wizard->Command(IDC_NEXT);  // as Enter would, though the button is disabled
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"Choose a backup and one of its backup dates first."});
    EXPECT_EQ(wizard->m_nStep, 2);
}

TEST_F(SourcePage, AProjectWithoutADatedBackupIsRefusedOnNext)
{
    Open(Catalog({Project(1, "Dated", "C:\\Dated", Holds::Partition, {"2026-11-16T20:00:00Z"}),
                  Project(2, "Undated", "C:\\Undated", Holds::Partition, {0})}),
         IDC_TYPE_PARTITION);
    Click(IDC_SRC_CHOOSE);
    Choose(IDC_SRC_PROJECT, 1);
    EXPECT_TRUE(Items(IDC_SRC_ARCHIVE).empty());
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"Choose a backup and one of its backup dates first."});
    EXPECT_EQ(wizard->m_nStep, 2);
    EXPECT_TRUE(engine->Journal("QueryArchiveProject").empty());
}

TEST_F(SourcePage, NextOpensTheChosenBackupAndStoresTheChoiceWithItsShortenedText)
{
    Open(Catalog({Project(7, "Photos and music from the family laptop", "C:\\Family", Holds::Partition,
                          {"2026-10-05T19:00:00Z", "2026-11-16T20:00:00Z"})}),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Photos and music from the ..");
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(context->projectId, 7u);
    EXPECT_EQ(context->archiveId, k20261116);
    EXPECT_EQ(context->stepTexts[1], L"Photos and music from the ..");
    const auto opened = engine->Journal("QueryArchiveProject");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0]["drive"], 'C');
    EXPECT_TRUE(boxes.shown().empty());
}

// ---------------------------------------------------------------------------------------
// Showing the page again

TEST_F(SourcePage, ShownAgainForTheSameTypeItKeepsTheUsersChoice)
{
    Open(MixedCatalog(), IDC_TYPE_DISK);
    Click(IDC_SRC_CHOOSE);
    Choose(IDC_SRC_PROJECT, 1);
    Choose(IDC_SRC_ARCHIVE, 1);
    BackAndNext();
    EXPECT_TRUE(Checked(IDC_SRC_CHOOSE));
    EXPECT_FALSE(Checked(IDC_SRC_LATEST));
    EXPECT_TRUE(Enabled(IDC_SRC_PROJECT));
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"System disk");
    EXPECT_EQ(Text(IDC_SRC_ARCHIVE), L"2026-11-01 07:30:00");
}

TEST_F(SourcePage, ShownForAnotherTypeItIsBackInLatestMode)
{
    Open(MixedCatalog(), IDC_TYPE_DISK);
    Click(IDC_SRC_CHOOSE);
    Choose(IDC_SRC_PROJECT, 0);
    wizard->Command(IDC_BACK);
    wizard->ChooseType(IDC_TYPE_PARTITION);
    wizard->Command(IDC_NEXT);
    EXPECT_TRUE(Checked(IDC_SRC_LATEST));
    EXPECT_FALSE(Checked(IDC_SRC_CHOOSE));
    EXPECT_FALSE(Enabled(IDC_SRC_PROJECT));
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"Office PC", L"Documents"}));
}

// ---------------------------------------------------------------------------------------
// Choose mode

std::string DrivesCatalog()
{
    return Catalog({Project(1, "On C", "C:\\Backups", Holds::Partition, {"2026-11-16T20:00:00Z"}),
                    Project(2, "On Q", "Q:\\Backups", Holds::Partition, {"2026-10-31T17:10:00Z"}),
                    Project(3, "On J", "J:\\Backups", Holds::Partition, {"2026-12-24T10:00:00Z"}),
                    Project(4, "Disk on Q", "Q:\\Disk", Holds::WholeDisk, {"2026-12-24T10:00:00Z"})});
}

TEST_F(SourcePage, ChooseModeListsTheProjectsOnTheChosenKindOfDrive)
{
    Open(DrivesCatalog(), IDC_TYPE_PARTITION);
    Click(IDC_SRC_CHOOSE);
    for (int id : {IDC_SRC_DRIVE_TYPE, IDC_SRC_PROJECT, IDC_SRC_ARCHIVE}) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(Items(IDC_SRC_DRIVE_TYPE), (std::vector<std::wstring>{L"Fixed disks", L"CD/DVD drives"}));
    EXPECT_EQ(Items(IDC_SRC_PROJECT), std::vector<std::wstring>{L"On C"});
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), std::vector<std::wstring>{L"2026-11-16 20:00:00"});
    EXPECT_TRUE(boxes.shown().empty());

    Choose(IDC_SRC_DRIVE_TYPE, 1);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"Insert the disc that holds your backup into the CD/DVD drive. "
                                                       L"If the backup spans several discs, insert the last one. "
                                                       L"Then click OK."});
    EXPECT_EQ(Items(IDC_SRC_PROJECT), std::vector<std::wstring>{L"On Q"});
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"On Q");
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), std::vector<std::wstring>{L"2026-10-31 17:10:00"});
    EXPECT_EQ(Text(IDC_SRC_LATEST), L"Restore the &latest backup: On J [2026-12-24 10:00:00]")
        << "choose mode leaves the latest caption alone";
    EXPECT_TRUE(wizard->NextEnabled());
}

TEST_F(SourcePage, ChooseModeWithNoProjectOnTheDriveKindOffersNothing)
{
    Open(Catalog({Project(1, "On C", "C:\\Backups", Holds::Partition, {"2026-11-16T20:00:00Z"})}), IDC_TYPE_PARTITION);
    Click(IDC_SRC_CHOOSE);
    Choose(IDC_SRC_DRIVE_TYPE, 1);
    EXPECT_TRUE(Items(IDC_SRC_PROJECT).empty());
    EXPECT_TRUE(Items(IDC_SRC_ARCHIVE).empty());
    EXPECT_FALSE(wizard->NextEnabled());
    EXPECT_TRUE(Visible(IDC_SRC_NO_PROJECTS));

    Choose(IDC_SRC_DRIVE_TYPE, 0);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), std::vector<std::wstring>{L"On C"});
    EXPECT_TRUE(wizard->NextEnabled());
    EXPECT_FALSE(Visible(IDC_SRC_NO_PROJECTS));
}

// ---------------------------------------------------------------------------------------
// Engine failures

TEST_F(SourcePage, AProjectListThatFailsForAnotherTypeOffersNothingUntilItIsBuilt)
{
    Open(MixedCatalog(json::array({Fault("QueryProjects", 2, -1000100)})), IDC_TYPE_ENTIRE);
    ASSERT_EQ(Text(IDC_SRC_PROJECT), L"Office PC");
    wizard->Command(IDC_BACK);
    wizard->ChooseType(IDC_TYPE_DISK);
    wizard->Command(IDC_NEXT);
    EXPECT_TRUE(Items(IDC_SRC_PROJECT).empty()) << "no backup of the type before is offered";
    EXPECT_FALSE(wizard->NextEnabled());
    EXPECT_TRUE(boxes.shown().empty());

    BackAndNext();  // the third query succeeds: the list of the new type is built now
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"Office PC", L"System disk"}));
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"System disk");
    EXPECT_TRUE(wizard->NextEnabled());
}

TEST_F(SourcePage, AFailingProjectListKeepsTheListsOfTheSameType)
{
    Open(MixedCatalog(json::array({Fault("QueryProjects", 2, -1000100)})), IDC_TYPE_DISK);
    Click(IDC_SRC_CHOOSE);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"Office PC", L"System disk"}));
    EXPECT_TRUE(boxes.shown().empty());
}

// Four projects; the last has the newest backup, the second one newer than the first.
std::string FourProjects(const json& faults)
{
    return Catalog({Project(1, "One", "C:\\One", Holds::Partition, {"2026-10-05T19:00:00Z"}),
                    Project(2, "Two", "C:\\Two", Holds::Partition, {"2026-11-16T20:00:00Z"}),
                    Project(3, "Three", "C:\\Three", Holds::Partition, {"2026-10-31T17:10:00Z"}),
                    Project(4, "Four", "C:\\Four", Holds::Partition, {"2026-12-24T10:00:00Z"})},
                   faults);
}

// The engine's description calls: the first walk makes calls 1 to 4, the walk of
// choose mode calls 5 to 8.
struct UndescribedCase {
    const char* name;
    int failedCall;
    bool chooseMode;
    std::vector<std::wstring> projects;
    std::wstring picked;
};

void PrintTo(const UndescribedCase& c, std::ostream* out)
{
    *out << c.name;
}

class UndescribedProject : public SourcePage, public testing::WithParamInterface<UndescribedCase> {};

TEST_P(UndescribedProject, IsPassedOverAndHidesNoOther)
{
    const UndescribedCase& c = GetParam();
    Open(FourProjects(json::array({Fault("QueryProject", c.failedCall, -1000100)})), IDC_TYPE_PARTITION);
    if (c.chooseMode) Click(IDC_SRC_CHOOSE);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), c.projects);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), c.picked);
    EXPECT_TRUE(wizard->NextEnabled());
    EXPECT_TRUE(boxes.shown().empty()) << "the projects listed are all the engine could describe";
    const auto described = engine->Journal("QueryProject");
    ASSERT_EQ(described.size(), c.chooseMode ? 8u : 4u) << "every project is asked for";
    EXPECT_EQ(described[static_cast<std::size_t>(c.failedCall - 1)]["result"], -1000100);

    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(context->stepTexts[1], c.picked);
}

INSTANTIATE_TEST_SUITE_P(Modes, UndescribedProject, testing::Values(
    // The latest mode still picks the newest backup of all, which comes after the gap.
    UndescribedCase{"LatestMode", 2, false, {L"One", L"Three", L"Four"}, L"Four"},
    UndescribedCase{"ChooseMode", 6, true, {L"One", L"Three", L"Four"}, L"One"},
    UndescribedCase{"TheFirstProject", 1, false, {L"Two", L"Three", L"Four"}, L"Four"},
    UndescribedCase{"TheLastProject", 4, false, {L"One", L"Two", L"Three"}, L"Two"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SourcePage, WhenNoProjectCanBeDescribedTheEnginesTextIsShownOnce)
{
    Open(FourProjects(json::array({Fault("QueryProject", 0, -1000100)})), IDC_TYPE_PARTITION);
    EXPECT_EQ(engine->Journal("QueryProject").size(), 4u);
    EXPECT_TRUE(Items(IDC_SRC_PROJECT).empty());
    ASSERT_EQ(boxes.texts(), std::vector<std::wstring>{L"The place where the backup is stored cannot be reached. Check "
                                                       L"that the drive, the medium or the network connection is "
                                                       L"available, then try again."});
    EXPECT_EQ(boxes.shown()[0].owner, page().m_hWnd);
    EXPECT_FALSE(wizard->NextEnabled());
    EXPECT_TRUE(Visible(IDC_SRC_NO_PROJECTS));
}

TEST_F(SourcePage, ProjectsThatDoNotFitAreNoReasonToShowTheEnginesText)
{
    // Nothing is listed for a whole-disk restore, and no project was passed over.
    Open(FourProjects(json::array()), IDC_TYPE_DISK);
    EXPECT_TRUE(Items(IDC_SRC_PROJECT).empty());
    EXPECT_EQ(engine->Journal("QueryProject").size(), 4u);
    EXPECT_TRUE(boxes.shown().empty());
}

// Memory that runs out while the list is built: the engine's out-of-memory answer for
// the third project. The page lists what it has and says once that memory ran out.
const wchar_t kOutOfMemory[] =
    L"The backup engine ran out of memory. Restart the computer from the recovery medium and try again.";

TEST_F(SourcePage, MemoryRunningOutAtTheThirdProjectListsWhatItHasAndSaysSo)
{
    Open(FourProjects(json::array({Fault("QueryProject", 3, -1000004)})), IDC_TYPE_PARTITION);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"One", L"Two"}));
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Two");
    EXPECT_EQ(engine->Journal("QueryProject").size(), 3u) << "the walk ends where memory ran out";
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kOutOfMemory});
    EXPECT_TRUE(wizard->NextEnabled()) << "what is listed can be restored";

    // The next build that gets its memory lists every project, and says nothing.
    Click(IDC_SRC_CHOOSE);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"One", L"Two", L"Three", L"Four"}));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(SourcePage, MemoryRunningOutInChooseModeSaysSoOnce)
{
    Open(FourProjects(json::array({Fault("QueryProject", 7, -1000004)})), IDC_TYPE_PARTITION);
    Click(IDC_SRC_CHOOSE);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"One", L"Two"}));
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kOutOfMemory});
}

// The page's own memory for the descriptions refused: nothing can be listed, and the
// page says why instead of offering no backup without a word.
TEST_F(SourcePage, ADescriptionThatCannotBeAllocatedIsReportedAsMemoryRunningOut)
{
    engine.emplace(FourProjects(json::array()));
    wizard = std::make_unique<SourceWizard>();
    ASSERT_TRUE(wizard->Create(IDD_MAIN));
    wizard->ChooseType(IDC_TYPE_PARTITION);
    {
        const RefusedDescriptions refused;
        wizard->Command(IDC_NEXT);
    }
    ASSERT_EQ(wizard->m_nStep, 2);
    EXPECT_TRUE(Items(IDC_SRC_PROJECT).empty());
    EXPECT_TRUE(engine->Journal("QueryProject").empty());
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kOutOfMemory});
    EXPECT_FALSE(wizard->NextEnabled());
}

// ---------------------------------------------------------------------------------------
// Histories with entries not offered (time 0) between dated ones, served by the engine
// in the catalog's order.

json ServedAsListed(json project)
{
    project["hostile"] = {{"historyAsListed", true}};
    return project;
}

TEST_F(SourcePage, BlankEntriesBetweenBackupsHideNoLaterBackup)
{
    Open(Catalog({ServedAsListed(Project(1, "Gaps", "C:\\Gaps", Holds::Partition,
                                         {"2026-10-05T19:00:00Z", 0, "2026-10-31T17:10:00Z", 0, "2026-12-24T10:00:00Z"})),
                  Project(2, "Between", "C:\\Between", Holds::Partition, {"2026-11-16T20:00:00Z"})}),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Gaps") << "its newest backup is the newest of all";
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE),
              (std::vector<std::wstring>{L"2026-12-24 10:00:00", L"2026-10-31 17:10:00", L"2026-10-05 19:00:00"}));
    EXPECT_EQ(Text(IDC_SRC_LATEST), L"Restore the &latest backup: Gaps [2026-12-24 10:00:00]");
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(wizard->m_nStep, 3);
    EXPECT_EQ(context->archiveId, 134425800000000000ull);   // 2026-12-24 10:00:00 UTC
}

TEST_F(SourcePage, ABackupOutOfOrderStillEndsTheHistoryAcrossBlankEntries)
{
    // What follows an older date after a newer one is no entry of a sound list.
    Open(Catalog({ServedAsListed(Project(1, "Disordered", "C:\\Disordered", Holds::Partition,
                                         {"2026-10-31T17:10:00Z", 0, "2026-10-05T19:00:00Z", "2026-12-24T10:00:00Z"}))}),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), std::vector<std::wstring>{L"2026-10-31 17:10:00"});
}

TEST_F(SourcePage, AHistoryThatCannotBeReadTakesNoPartInTheLatestChoice)
{
    Open(Catalog({Project(1, "Older", "C:\\Older", Holds::Partition, {"2026-10-05T19:00:00Z"}),
                  Project(2, "Newer", "C:\\Newer", Holds::Partition, {"2026-11-16T20:00:00Z"})},
                 json::array({Fault("QueryProjectHistory", 2, -1000100)})),
         IDC_TYPE_PARTITION);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), (std::vector<std::wstring>{L"Older", L"Newer"}));
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Older");
}

TEST_F(SourcePage, AHistoryThatCannotBeReadOffersNoBackupOfAnotherProject)
{
    // History calls: 1 and 2 choose the newest, 3 lists it, 4 lists the first project in
    // choose mode, 5 fails for the second.
    Open(Catalog({Project(1, "Older", "C:\\Older", Holds::Partition, {"2026-10-05T19:00:00Z"}),
                  Project(2, "Newer", "C:\\Newer", Holds::Partition, {"2026-11-16T20:00:00Z"})},
                 json::array({Fault("QueryProjectHistory", 5, -1000100)})),
         IDC_TYPE_PARTITION);
    Click(IDC_SRC_CHOOSE);
    ASSERT_EQ(Items(IDC_SRC_ARCHIVE), std::vector<std::wstring>{L"2026-10-05 19:00:00"});
    Choose(IDC_SRC_PROJECT, 1);
    EXPECT_TRUE(Items(IDC_SRC_ARCHIVE).empty());
    wizard->Command(IDC_NEXT);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"The place where the backup is stored cannot be reached. Check that "
                                                       L"the drive, the medium or the network connection is available, "
                                                       L"then try again."})
        << "Next says why the backup offers no date";
    EXPECT_EQ(wizard->m_nStep, 2);
    EXPECT_TRUE(engine->Journal("QueryArchiveProject").empty()) << "never the new project with the old backup";
}

TEST_F(SourcePage, ABackupThatCannotBeOpenedShowsTheEnginesTextAndStays)
{
    Open(MixedCatalog(json::array({Fault("QueryArchiveProject", 1, -1000351)})), IDC_TYPE_ENTIRE);
    wizard->Command(IDC_NEXT);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, L"The backup is damaged. Choose another backup version to restore.");
    EXPECT_EQ(boxes.shown()[0].owner, page().m_hWnd);
    EXPECT_EQ(wizard->m_nStep, 2);
    EXPECT_TRUE(wizard->IsWindowEnabled());
    EXPECT_EQ(context->projectId, 0u) << "nothing is stored";
}

// ---------------------------------------------------------------------------------------
// A faulty engine: a history count that its list does not hold, texts without their
// zero at the end of readable memory, counts that make a backup hold nothing. The
// page lists what can be read, and its lists, Next and Back work as usual.

struct HostileSourceCase {
    const char* name;
    const char* hostile;
    std::vector<std::wstring> projects;
    std::vector<std::wstring> archives;
    bool nextGoesOn;
};

void PrintTo(const HostileSourceCase& c, std::ostream* out)
{
    *out << c.name;
}

class HostileSource : public SourcePage, public testing::WithParamInterface<HostileSourceCase> {};

TEST_P(HostileSource, ListsWhatCanBeReadAndTheWizardGoesOn)
{
    const HostileSourceCase& c = GetParam();
    json project = Project(1, "Office PC", "C:\\Office", Holds::Partition, {"2026-10-05T19:00:00Z", "2026-11-16T20:00:00Z"});
    project["hostile"] = json::parse(c.hostile);
    Open(Catalog({project}), IDC_TYPE_PARTITION);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), c.projects);
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), c.archives);
    EXPECT_EQ(wizard->NextEnabled(), c.nextGoesOn);

    // The list by kind of drive reads the location's drive letter: C: is a fixed disk.
    Click(IDC_SRC_CHOOSE);
    EXPECT_EQ(Items(IDC_SRC_PROJECT), c.projects);
    EXPECT_EQ(Items(IDC_SRC_ARCHIVE), c.archives);
    Click(IDC_SRC_LATEST);

    wizard->Command(IDC_NEXT);   // as Enter would, also when the button is disabled
    if (c.nextGoesOn) {
        EXPECT_EQ(wizard->m_nStep, 3);
        const auto opened = engine->Journal("QueryArchiveProject");
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0]["drive"], 'C');
        EXPECT_EQ(opened[0]["archiveId"], c.archives.size() == 2 ? k20261116 : k20261005);
        wizard->Command(IDC_BACK);
        EXPECT_TRUE(boxes.shown().empty());
    } else {
        EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{L"Choose a backup and one of its backup dates first."});
    }
    EXPECT_EQ(wizard->m_nStep, 2);
    EXPECT_TRUE(wizard->IsWindowEnabled());
}

INSTANTIATE_TEST_SUITE_P(Kinds, HostileSource, testing::Values(
    HostileSourceCase{"HistoryCountFarAboveTheList", R"({"historyCount": 2147483647})", {L"Office PC"},
                      {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}, true},
    HostileSourceCase{"HistoryCountOneAboveTheList", R"({"historyCount": 3})", {L"Office PC"},
                      {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}, true},
    HostileSourceCase{"HistoryCountBelowTheList", R"({"historyCount": 1})", {L"Office PC"}, {L"2026-10-05 19:00:00"}, true},
    HostileSourceCase{"HistoryCountBelow0", R"({"historyCount": -1})", {L"Office PC"}, {}, false},
    HostileSourceCase{"UnterminatedTexts", R"({"unterminated": ["description", "location"]})", {L"Office PC"},
                      {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}, true},
    HostileSourceCase{"PartitionCountBelow0", R"({"backedUp": {"partitionCount": -1}})", {}, {}, false},
    HostileSourceCase{"DiskCountAbove26", R"({"backedUp": {"diskCount": 27}, "unterminated": ["label"]})", {L"Office PC"},
                      {L"2026-11-16 20:00:00", L"2026-10-05 19:00:00"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// A backup whose medium is missing

std::string MediaCatalog(int part)
{
    json project = Project(3, "Documents on DVD", "Q:\\Documents", Holds::Partition, {"2026-10-31T17:10:00Z"});
    project["archiveMedia"] = {{"part", part}};
    return Catalog({project});
}

// Whether the worker has withdrawn its media prompt from the engine.
bool PromptWithdrawn(const SimEngine& engine)
{
    const auto registrations = engine.Journal("SetNotifyFunction");
    return !registrations.empty() && registrations.back()["function"] == false;
}

struct PromptCase {
    int part;
    std::wstring prompt;
};

class MissingMedium : public SourcePage, public testing::WithParamInterface<PromptCase> {};

TEST_P(MissingMedium, IsAskedForAndOkMovesToTheNextStep)
{
    Open(MediaCatalog(GetParam().part), IDC_TYPE_PARTITION);
    wizard->Command(IDC_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return wizard->m_nStep == 3; })) << "the wizard did not move on";

    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, GetParam().prompt);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(shown[0].owner, wizard->m_hWnd);
    EXPECT_FALSE(shown[0].ownerEnabled) << "the wizard takes no input while the medium is asked for";
    EXPECT_TRUE(wizard->IsWindowEnabled());
    EXPECT_EQ(context->projectId, 3u);
    EXPECT_EQ(context->archiveId, k20261031);
    EXPECT_EQ(context->stepTexts[1], L"Documents on DVD");
    EXPECT_TRUE(PumpUntil([&] { return PromptWithdrawn(*engine); }));
    const auto opened = engine->Journal("QueryArchiveProject");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1]["result"], 0);
    EXPECT_EQ(opened[1]["drive"], 'Q');
}

INSTANTIATE_TEST_SUITE_P(Parts, MissingMedium, testing::Values(
    PromptCase{2, L"Insert disc 2 of the backup made on 2026-10-31 17:10:00 into drive Q: and click OK."},
    PromptCase{-1, L"Insert the last disc of the backup made on 2026-10-31 17:10:00 into drive Q: and click OK."}));

TEST_F(SourcePage, AMissingMediumCancelledShowsTheEnginesTextAndNextAsksAgain)
{
    Open(MediaCatalog(2), IDC_TYPE_PARTITION);
    boxes.Answer(IDCANCEL);
    wizard->Command(IDC_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return boxes.shown().size() == 2 && wizard->IsWindowEnabled(); }));
    const auto shown = boxes.shown();
    EXPECT_EQ(shown[1].text, L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again.");
    EXPECT_EQ(shown[1].owner, page().m_hWnd);
    EXPECT_EQ(wizard->m_nStep, 2);
    EXPECT_EQ(context->projectId, 0u);

    wizard->Command(IDC_NEXT);
    ASSERT_TRUE(PumpUntil([&] { return wizard->m_nStep == 3; }));
    EXPECT_EQ(boxes.shown().size(), 3u) << "asked once more, answered OK";
    EXPECT_EQ(context->projectId, 3u);
    EXPECT_TRUE(PumpUntil([&] { return PromptWithdrawn(*engine); }));
}

// The worker finishing while the wizard window goes: it holds window handles only, so
// whatever the moment, nothing of the page is touched after it is gone and every engine
// allocation comes back.
TEST(SourcePageRace, TheCheckEndingWhileTheWizardCloses)
{
    palto::test::LoadEnglishResources();
    ScopedContext context;
    MessageBoxes boxes;
    for (int round = 0; round < 200; ++round) {
        SimEngine engine(MediaCatalog(2));
        {
            SourceWizard wizard;
            ASSERT_TRUE(wizard.Create(IDD_MAIN));
            wizard.ChooseType(IDC_TYPE_PARTITION);
            wizard.Command(IDC_NEXT);
            wizard.Command(IDC_NEXT);
            ASSERT_FALSE(wizard.IsWindowEnabled()) << "round " << round << ": the check did not start";
            for (int pumped = 0; pumped < round % 4; ++pumped) {
                ::Sleep(static_cast<DWORD>(round % 3));
                palto::test::PumpMessages();
            }
            wizard.DestroyWindow();
        }
        ASSERT_TRUE(PumpUntil([&] { return PromptWithdrawn(engine); })) << "round " << round;
        ASSERT_EQ(HalvexSimOutstandingAllocations(), 0u) << "round " << round;
    }
}

// ---------------------------------------------------------------------------------------
// Layout

TEST_F(SourcePage, ItsControlsNeitherOverlapNorLeaveThePageAndTabReachesEach)
{
    Open(MixedCatalog(), IDC_TYPE_PARTITION);
    RECT pageRect{};
    ::GetWindowRect(page().m_hWnd, &pageRect);
    std::vector<std::pair<HWND, RECT>> controls;
    for (HWND child = ::GetWindow(page().m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        ::GetWindowRect(child, &r);
        EXPECT_TRUE(r.left >= pageRect.left && r.top >= pageRect.top && r.right <= pageRect.right &&
                    r.bottom <= pageRect.bottom) << "control " << ::GetDlgCtrlID(child) << " leaves the page";
        for (const auto& [other, otherRect] : controls) {
            RECT overlap{};
            EXPECT_FALSE(::IntersectRect(&overlap, &r, &otherRect))
                << "controls " << ::GetDlgCtrlID(child) << " and " << ::GetDlgCtrlID(other) << " overlap";
        }
        controls.emplace_back(child, r);
    }

    const auto style = [&](int id) { return ::GetWindowLongPtrW(Item(id), GWL_STYLE); };
    EXPECT_TRUE(style(IDC_SRC_LATEST) & WS_GROUP);
    EXPECT_TRUE(style(IDC_SRC_LATEST) & WS_TABSTOP);
    EXPECT_FALSE(style(IDC_SRC_CHOOSE) & (WS_TABSTOP | WS_GROUP)) << "one tab stop for both radio buttons";
    EXPECT_TRUE(::GetWindowLongPtrW(::GetWindow(Item(IDC_SRC_CHOOSE), GW_HWNDNEXT), GWL_STYLE) & WS_GROUP)
        << "the group ends after the second radio button";

    // In choose mode Tab leads from the radio buttons through the three lists and back to
    // the checked radio button.
    Click(IDC_SRC_CHOOSE);
    std::vector<int> order;
    HWND at = Item(IDC_SRC_CHOOSE);
    for (int i = 0; i < 4; ++i) {
        at = ::GetNextDlgTabItem(page().m_hWnd, at, FALSE);
        order.push_back(::GetDlgCtrlID(at));
    }
    EXPECT_EQ(order, (std::vector<int>{IDC_SRC_DRIVE_TYPE, IDC_SRC_PROJECT, IDC_SRC_ARCHIVE, IDC_SRC_CHOOSE}));
}

// The height a control's text needs at the control's width, in its font: word-wrapped
// where the control wraps, one line where it does not.
int NeededHeight(HWND control)
{
    RECT box{};
    ::GetClientRect(control, &box);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    const bool button = std::wstring(className) == L"Button";
    if (button) box.right -= ::GetSystemMetrics(SM_CXMENUCHECK) + 4;  // the radio circle and its gap
    const bool wraps = !button || (style & BS_MULTILINE);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    const std::wstring text = CWnd::TextOf(control).str();
    RECT needed = box;
    ::DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return needed.right > box.right ? INT_MAX : needed.bottom - needed.top;
}

class SourcePageLanguages : public SourcePage, public testing::WithParamInterface<const wchar_t*> {
protected:
    void TearDown() override
    {
        SourcePage::TearDown();
        ASSERT_TRUE(TryLoadResourceModule(palto::test::ProgramFolder().c_str(), L"ENU", theApp.m_langId));
    }
};

TEST_P(SourcePageLanguages, EveryTextFitsItsControl)
{
    ASSERT_TRUE(TryLoadResourceModule(palto::test::ProgramFolder().c_str(), GetParam(), theApp.m_langId));
    // The longest caption the latest-mode button gets: a description cut to its limit.
    Open(Catalog({Project(1, "Photos and music from the family laptop", "C:\\Family", Holds::Partition,
                          {"2026-11-16T20:00:00Z"})}),
         IDC_TYPE_PARTITION);
    for (HWND child = ::GetWindow(page().m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        ::GetClassNameW(child, className, 16);
        if (std::wstring(className) == L"ComboBox") continue;
        RECT box{};
        ::GetClientRect(child, &box);
        EXPECT_LE(NeededHeight(child), box.bottom - box.top)
            << "control " << ::GetDlgCtrlID(child) << " cuts \"" << CWnd::TextOf(child).str().c_str() << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, SourcePageLanguages, testing::Values(PALTO_MODULE_CODES));

}  // namespace
