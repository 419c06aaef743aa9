// Whole walks through the wizard as a user makes them, with the engine's journal read
// afterwards: each restore type to the end of its restore, with what the engine was
// handed for the user's choice, and Cancel at every step, after which the journal shows
// that no restore was started, or that the one started was stopped.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Automation.h"
#include "E2eSupport.h"
#include "JournalledWizard.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


constexpr std::uint64_t kOlderBackup = 134353512000000000ull;   // 2026-10-01 18:00:00 UTC
constexpr std::uint64_t kNewerBackup = 134359560000000000ull;   // 2026-10-08 18:00:00 UTC, no base

const wchar_t kReallyCancel[] = L"Do you really want to cancel?";
const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";

// This computer: disk 0 with Windows (C:), an empty 50 GB disk 1, disk 2 whose partition
// E: holds the backup (or `location` says where it lies), disk 3 with an unlabelled
// partition. The backup (project 5) holds an entire computer of two disks, each with one
// partition; its newer backup cannot be a base, so the restore of it builds on the older one.
std::string Catalog(const std::string& restoreMs, const std::string& location = "E:\\\\Backups")
{
    return R"({
  "thisComputer": {"disks": [
    {"number": 0, "size": 107374182400, "partitions": [
      {"number": 1, "driveLetter": "C", "label": "Windows", "size": 107374182400}]},
    {"number": 1, "size": 53687091200},
    {"number": 2, "size": 48318382080, "partitions": [
      {"number": 1, "driveLetter": "E", "label": "Backup", "size": 48318382080}]},
    {"number": 3, "size": 48318382080, "partitions": [
      {"number": 1, "driveLetter": "D", "size": 48318382080}]}]},
  "projects": [{"id": 5, "description": "Workstation", "location": ")" + location + R"(",
    "layout": {"entireComputer": true, "disks": [
      {"number": 0, "size": 42949672960, "selected": true, "partitions": [
        {"number": 1, "label": "System", "size": 21474836480, "selected": true}]},
      {"number": 1, "size": 32212254720, "selected": true, "partitions": [
        {"number": 1, "label": "Data", "size": 32212254720, "selected": true}]}]},
    "history": [{"time": "2026-10-01T18:00:00Z"}, {"time": "2026-10-08T18:00:00Z", "notBase": true}]}],
  "restore": {"stages": [{"phase": 6, "firstStage": true, "ms": 200}, {"phase": 9, "ms": )" +
           restoreMs + "}]}}";
}

// The selection flags of a layout as the engine's journal records it, in one line:
// "E" when the entire computer is marked, then each disk as its number, "*" when the
// disk is marked, and its marked partitions in brackets.
std::string Marks(const nlohmann::json& layout)
{
    std::string marks = layout["entireComputer"] == 1 ? "E" : "-";
    for (const auto& disk : layout["disks"]) {
        marks += " " + std::to_string(disk["number"].get<unsigned>()) + (disk["selected"] == 1 ? "*" : "");
        std::string partitions;
        for (const auto& partition : disk["partitions"])
            if (partition["selected"] == 1) partitions += std::to_string(partition["number"].get<unsigned>());
        if (!partitions.empty()) marks += "[" + partitions + "]";
    }
    return marks;
}

// The wizard started with that catalog and the engine's journal in a file of its own.
class Walk : public JournalledWizard {
protected:
    Walk() : JournalledWizard(L"palto-e2e-journal") {}
    void Start(const std::string& restoreMs = "300", const std::wstring& arguments = L"")
    {
        StartWith(Catalog(restoreMs), arguments);
    }
    void StartWith(const std::string& catalog, const std::wstring& arguments = L"") { Launch(catalog, arguments); }

    void Next(const wchar_t* caption)
    {
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), caption, kWait)) << "reaching " << caption;
    }
    // Walks a restore of the type to step `step` (1 to 4).
    void WalkTo(int typeRadio, int step)
    {
        Click(FindControl(wizard, typeRadio));
        const wchar_t* const captions[] = {L"Step 2 of 4", L"Step 3 of 4", L"Step 4 of 4"};
        for (int s = 1; s < step; ++s) ASSERT_NO_FATAL_FAILURE(Next(captions[s - 1]));
    }
    // The user moves a list one entry with an arrow key.
    static void Move(HWND list, UINT key, const std::wstring& entry)
    {
        PressKey(list, key);
        ASSERT_TRUE(WaitForText(list, entry, kWait)) << "the list shows " << testing::PrintToString(TextOf(list));
    }
    std::wstring AnswerBox(int button) { return palto::e2e::AnswerBox(id(), button); }
    // Next on the last step: the restore runs to its end and the program ends; `order` is
    // the one restore order the engine was handed.
    void RestoreToTheEnd(nlohmann::json& order)
    {
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForTopWindow(id(), MatchSelector(L"progress"), kWait)) << "the progress page was not shown";
        EXPECT_EQ(MaskReportName(AnswerBox(IDOK)), WithReportIn(kDone, BinFolder()));
        EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
        const auto orders = Journal("ProjectRestoreCtrl");
        ASSERT_EQ(orders.size(), 1u);
        order = orders[0];
    }

    // Operations and notifications in journal order, by name.
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        std::ifstream file(journalPath.c_str(), std::ios::binary);
        for (std::string line; std::getline(file, line);) {
            const auto entry = nlohmann::json::parse(line);
            calls.push_back(entry.contains("op") ? entry["op"].get<std::string>() : entry["notify"].get<std::string>());
        }
        return calls;
    }
    // Waits until the engine has accepted the restore order.
    bool RestoreStarted() const
    {
        const ULONGLONG end = ::GetTickCount64() + kWait;
        do {
            const auto orders = Journal("ProjectRestoreCtrl");
            if (!orders.empty() && orders[0]["result"] == 0) return true;
            ::Sleep(20);
        } while (::GetTickCount64() < end);
        return false;
    }
};

// ---------------------------------------------------------------------------------------
// Each restore type to its end

// One press of an arrow key in a list of step 3, and the entry the list then shows.
struct ListMove {
    int list;
    UINT key;
    const wchar_t* entry;
};

struct TypeWalk {
    const char* name;
    int radio;
    std::vector<ListMove> moves;   // the user's choice on step 3
    const wchar_t* destination;    // on the summary
    const char* marks;             // of this computer's layout in the restore order
    const char* location;          // of the backup: an entire computer's lies on no disk here
};

class EachType : public Walk, public testing::WithParamInterface<TypeWalk> {};

TEST_P(EachType, TheEngineIsHandedTheUsersChoiceAndTheRestoreRunsToItsEnd)
{
    const TypeWalk& walk = GetParam();
    StartWith(Catalog("300", walk.location));
    WalkTo(walk.radio, 3);
    for (const ListMove& move : walk.moves) ASSERT_NO_FATAL_FAILURE(Move(FindControl(wizard, move.list), move.key, move.entry));
    ASSERT_NO_FATAL_FAILURE(Next(L"Step 4 of 4"));
    HWND summary = ::GetParent(FindControl(wizard, IDC_SUMMARY_HEADING));
    EXPECT_EQ(TextOf(FindControl(summary, IDC_SUMMARY_DESTINATION)), walk.destination);

    nlohmann::json restoreOrder;
    ASSERT_NO_FATAL_FAILURE(RestoreToTheEnd(restoreOrder));
    EXPECT_EQ(restoreOrder["projectId"], 5);
    EXPECT_EQ(restoreOrder["archiveId"], kNewerBackup);
    EXPECT_EQ(restoreOrder["baseEntryTime"], kOlderBackup) << "the newer backup cannot be a base";
    EXPECT_EQ(Marks(restoreOrder["layout"]), walk.marks);
    EXPECT_EQ(restoreOrder["result"], 0);
    const auto ends = Journal("TaskEnd");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0]["result"], 0);

    // The backup is opened on step 2 and checked again at the launch, before the order.
    std::vector<std::string> order;
    for (const std::string& call : Calls())
        if (call == "QueryArchiveProject" || call == "ProjectRestoreCtrl" || call == "TaskEnd") order.push_back(call);
    EXPECT_EQ(order, (std::vector<std::string>{"QueryArchiveProject", "QueryArchiveProject", "ProjectRestoreCtrl",
                                               "TaskEnd"}));
}

INSTANTIATE_TEST_SUITE_P(Types, EachType, testing::Values(
    TypeWalk{"EntireComputer", IDC_TYPE_ENTIRE, {}, L"240.0 GB on 4 disk(s)", "E 0 1 2 3", "G:\\\\Backups"},
    TypeWalk{"HardDrive", IDC_TYPE_DISK,
             {{IDC_DST_SOURCE, VK_DOWN, L"Disk 1: Data, 30.0 GB"}, {IDC_DST_TARGET, VK_UP, L"Disk 2: Backup, 45.0 GB"},
              {IDC_DST_TARGET, VK_UP, L"Disk 1: 50.0 GB"}},
             L"Disk 1: 50.0 GB", "- 0 1* 2 3", "E:\\\\Backups"},
    TypeWalk{"Partition", IDC_TYPE_PARTITION, {{IDC_DST_SOURCE, VK_DOWN, L"Disk 1, partition 1: Data (30.0 GB)"}},
             L"Disk 3, partition 1", "- 0 1 2 3[1]", "E:\\\\Backups"}),
    [](const testing::TestParamInfo<TypeWalk>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// A history with entries not offered (time 0) between dated ones, served in the catalog's
// order: the latest backup is offered, and the restore order carries it with its base.

constexpr std::uint64_t kLatestBackup = 134365608000000000ull;   // 2026-10-15 18:00:00 UTC, no base

// The walk's catalog with the backup's history replaced: dated backups with blank entries
// between them, the latest of which cannot be a base.
std::string CatalogWithBlankEntries()
{
    std::string catalog = Catalog("300");
    const std::string history =
        R"("history": [{"time": "2026-10-01T18:00:00Z"}, {"time": "2026-10-08T18:00:00Z", "notBase": true}])";
    const std::string blanks =
        R"("history": [{"time": "2026-10-01T18:00:00Z"}, {"time": 0}, {"time": "2026-10-08T18:00:00Z"}, {"time": 0},
                       {"time": "2026-10-15T18:00:00Z", "notBase": true}], "hostile": {"historyAsListed": true})";
    catalog.replace(catalog.find(history), history.size(), blanks);
    return catalog;
}

TEST_F(Walk, BlankEntriesBetweenBackupsHideNeitherTheLatestNorItsBase)
{
    StartWith(CatalogWithBlankEntries());
    WalkTo(IDC_TYPE_PARTITION, 2);
    EXPECT_EQ(::SendMessageW(FindControl(wizard, IDC_SRC_ARCHIVE), CB_GETCOUNT, 0, 0), 3) << "every dated backup";
    ASSERT_NO_FATAL_FAILURE(Next(L"Step 3 of 4"));
    ASSERT_NO_FATAL_FAILURE(Next(L"Step 4 of 4"));
    nlohmann::json order;
    ASSERT_NO_FATAL_FAILURE(RestoreToTheEnd(order));
    EXPECT_EQ(order["archiveId"], kLatestBackup) << "the latest backup, after the blank entries";
    EXPECT_EQ(order["baseEntryTime"], kNewerBackup) << "the latest that can be a base, across a blank entry";
    EXPECT_EQ(order["result"], 0);
}

// ---------------------------------------------------------------------------------------
// Cancel at every step

// Cancel on a step, with an engine operation that shows the walk had got there.
struct CancelCase {
    int step;
    const char* reached;   // null on step 1, where the engine has not been asked yet
};

class CancelAtStep : public Walk, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelAtStep, YesEndsTheProgramAndNoRestoreIsStarted)
{
    const CancelCase& cancel = GetParam();
    Start();
    WalkTo(IDC_TYPE_PARTITION, cancel.step);
    Click(FindControl(wizard, IDC_WIZARD_CANCEL));
    EXPECT_EQ(AnswerBox(IDYES), kReallyCancel);
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
    if (cancel.reached) {
        EXPECT_FALSE(Journal(cancel.reached).empty()) << "the journal shows the walk";
    }
    EXPECT_TRUE(Journal("ProjectRestoreCtrl").empty()) << "a restore was started";
    EXPECT_TRUE(Journal("TaskControl").empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, CancelAtStep, testing::Values(
    CancelCase{1, nullptr}, CancelCase{2, "QueryProjects"}, CancelCase{3, "QueryArchiveProject"},
    CancelCase{4, "GetDRRestoreVolumesInfo"}),
    [](const testing::TestParamInfo<CancelCase>& info) { return "Step" + std::to_string(info.param.step); });

// Cancel on the progress page, while a long restore runs: the engine is told to stop the
// restore it started, and the program ends.
TEST_F(Walk, CancelDuringTheRestoreStopsItAndEndsTheProgram)
{
    Start("60000");
    WalkTo(IDC_TYPE_PARTITION, 4);
    Click(FindControl(wizard, IDC_NEXT));
    HWND progress = WaitForTopWindow(id(), MatchSelector(L"progress"), kWait);
    ASSERT_TRUE(progress) << "the progress page was not shown";
    ASSERT_TRUE(RestoreStarted());

    Click(FindControl(progress, IDCANCEL));
    EXPECT_EQ(AnswerBox(IDYES), kReallyCancel);
    // The task's end may still be reported before the program has gone.
    const ULONGLONG end = ::GetTickCount64() + kWait;
    while (run->process().WaitForExit(50) == STILL_ACTIVE && ::GetTickCount64() < end) {
        if (HWND box = FindTopWindow(id(), MatchSelector(L"box"))) Click(FindControl(box, IDOK));
    }
    EXPECT_EQ(run->process().WaitForExit(0), 0u);

    const auto stops = Journal("TaskControl");
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0]["projectId"], 5);
    EXPECT_EQ(stops[0]["command"], 2);
    std::vector<std::string> order;
    for (const std::string& call : Calls())
        if (call == "ProjectRestoreCtrl" || call == "TaskControl") order.push_back(call);
    EXPECT_EQ(order, (std::vector<std::string>{"ProjectRestoreCtrl", "TaskControl"}));
}

// Test mode walks the same steps and simulates the restore: Cancel on its progress page
// ends the program, and the engine client was made but never asked for anything.
TEST_F(Walk, TestModeLeavesTheEngineAlone)
{
    Start("300", L"-test");
    WalkTo(IDC_TYPE_PARTITION, 4);
    Click(FindControl(wizard, IDC_NEXT));
    HWND progress = WaitForTopWindow(id(), MatchSelector(L"progress"), kWait);
    ASSERT_TRUE(progress) << "the progress page was not shown";
    Click(FindControl(progress, IDCANCEL));
    EXPECT_EQ(AnswerBox(IDYES), kReallyCancel);
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Communicator::Instance", "Communicator::Instance",
                                                 "Communicator::Initialize", "Caller"}));
}

}  // namespace
