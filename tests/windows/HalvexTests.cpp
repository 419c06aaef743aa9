// The stand-in engine driven directly, as the wizard drives it: the sample it serves,
// every Query balanced by its Free, media requests, faults and unreadable catalogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <cstdint>
#include <cwctype>
#include <set>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "app/EngineClient.h"
#include "engine/RecordReaders.h"

namespace palto::test {
namespace {

// Every test leaves the engine as it found it: nothing handed out is still out.
class Halvex : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(blocks.Outstanding(), 0) << "engine blocks this test did not give back"; }

    EngineBlocks blocks;
    Caller caller{true};
};

std::vector<std::uint32_t> ProjectIds(Caller& caller)
{
    _Projects* list = nullptr;
    EXPECT_EQ(caller.QueryProjects(&list, false, kAnyDrive), 0);
    std::vector<std::uint32_t> ids;
    if (!list) return ids;
    ids.assign(list->ids, list->ids + list->count);
    EXPECT_EQ(caller.FreeProjects(&list), 0);
    EXPECT_EQ(list, nullptr);
    return ids;
}

std::vector<_ProjectHistoryEntry> History(Caller& caller, unsigned projectId)
{
    _ProjectHistoryList* list = nullptr;
    EXPECT_EQ(caller.QueryProjectHistory(projectId, &list, kAnyDrive), 0);
    const auto entries = HistoryEntries(list);
    std::vector<_ProjectHistoryEntry> copy(entries.begin(), entries.end());
    caller.FreeProjectHistory(list);
    return copy;
}

std::wstring Encrypted(const wchar_t* text)
{
    wchar_t out[260] = {};
    EXPECT_TRUE(Caller::EncryptString(text, out, sizeof(out)));
    return out;
}

TEST_F(Halvex, SampleDescribesEveryProjectWithItsBackups)
{
    SimEngine sim;
    const auto ids = ProjectIds(caller);
    ASSERT_EQ(ids, (std::vector<std::uint32_t>{101, 102, 103, 104}));

    std::set<std::wstring> kinds;
    for (const std::uint32_t id : ids) {
        auto desc = std::make_unique<_ProjectDesc>();
        ASSERT_EQ(caller.QueryProject(id, *desc, kAnyDrive), 0) << id;
        EXPECT_FALSE(DescriptionText(desc.get()).empty());
        EXPECT_TRUE(std::iswalpha(LocationDrive(desc.get()))) << LocationText(desc.get());
        const tagEntireComputerInf& layout = desc->layout;
        EXPECT_GT(Disks(layout).size(), 0u);
        EXPECT_EQ(layout.presetOne, 1u);
        if (layout.entireComputer) kinds.insert(L"entire computer");
        for (const tagDiskInf& disk : Disks(layout)) {
            if (disk.selected) kinds.insert(L"disk");
            for (const tagPartitionInf& partition : Partitions(disk))
                if (partition.selected) kinds.insert(L"partition");
        }
        if (!EncryptedPasswordText(desc.get()).empty()) kinds.insert(L"password");
        EXPECT_EQ(caller.FreeProject(*desc), 0);
        EXPECT_EQ(desc->location, nullptr);

        const auto history = History(caller, id);
        EXPECT_GE(history.size(), 2u) << id;
        for (std::size_t i = 0; i < history.size(); ++i) {
            const std::uint64_t time = history[i].backupTime;
            EXPECT_NE(time, 0u);
            if (i > 0) {
                EXPECT_LT(std::uint64_t{history[i - 1].backupTime}, time);
            }
        }
        if (std::any_of(history.begin(), history.end(), [](const auto& e) { return e.notBase != 0; }))
            kinds.insert(L"notBase");
    }
    EXPECT_EQ(kinds, (std::set<std::wstring>{L"entire computer", L"disk", L"partition", L"password", L"notBase"}));
}

TEST_F(Halvex, SamplePasswordIsKeptInItsEncryptedForm)
{
    SimEngine sim;
    auto desc = std::make_unique<_ProjectDesc>();
    ASSERT_EQ(caller.QueryProject(101, *desc, kAnyDrive), 0);
    EXPECT_EQ(EncryptedPasswordText(desc.get()), Encrypted(L"harbour7"));
    caller.FreeProject(*desc);
}

TEST_F(Halvex, ThisComputerHasDisksOfEveryKindAndNoFlags)
{
    SimEngine sim;
    auto layout = std::make_unique<tagEntireComputerInf>();
    ASSERT_EQ(caller.GetDRRestoreVolumesInfo(*layout), 0);
    EXPECT_EQ(layout->presetOne, 1u);
    EXPECT_EQ(layout->entireComputer, 0);

    std::set<std::uint64_t> sizes;
    std::uint64_t total = 0;
    bool emptyDisk = false, unlabelled = false, systemReserved = false;
    for (const tagDiskInf& disk : Disks(*layout)) {
        sizes.insert(disk.diskSize);
        total += disk.diskSize;
        EXPECT_EQ(disk.selected, 0);
        emptyDisk |= disk.partitionCount == 0;
        for (const tagPartitionInf& partition : Partitions(disk)) {
            EXPECT_EQ(partition.selected, 0);
            unlabelled |= LabelText(partition).empty();
            systemReserved |= LabelText(partition) == L"System Reserved";
        }
    }
    EXPECT_GE(sizes.size(), 3u);
    EXPECT_EQ(layout->totalSize, total);
    EXPECT_TRUE(emptyDisk);
    EXPECT_TRUE(unlabelled);
    EXPECT_TRUE(systemReserved);
}

TEST_F(Halvex, RestoreInfoIsFilledAndRepeatedQueriesReplaceIt)
{
    SimEngine sim;
    const auto history = History(caller, 101);
    const std::uint64_t newest = history.back().backupTime;
    _ProjectRestoreInfo info{};
    ASSERT_EQ(caller.QueryProjectRestoreInfo(101, newest, info, kAnyDrive), 0);
    ASSERT_NE(info.projectDesc, nullptr);
    ASSERT_NE(info.thisComputer, nullptr);
    EXPECT_TRUE(BackedUpLayout(info)->entireComputer);
    EXPECT_EQ(info.thisComputer->presetOne, 1u);
    EXPECT_EQ(HistoryEntries(info.historyList).size(), history.size());
    ASSERT_EQ(caller.GetDRRestoreVolumesInfo(*info.thisComputer), 0);
    EXPECT_GE(Disks(*info.thisComputer).size(), 3u);

    // The destination pages query again on every entry, without a Free in between.
    const auto outstanding = HalvexSimOutstandingAllocations();
    ASSERT_EQ(caller.QueryProjectRestoreInfo(101, newest, info, kAnyDrive), 0);
    EXPECT_EQ(HalvexSimOutstandingAllocations(), outstanding);

    EXPECT_EQ(caller.FreeProjectRestoreInfo(info), 0);
    EXPECT_EQ(info.projectDesc, nullptr);
    EXPECT_EQ(info.thisComputer, nullptr);
    EXPECT_EQ(info.historyList, nullptr);
}

TEST_F(Halvex, UnknownProjectsAndBackupsAreRefused)
{
    SimEngine sim;
    auto desc = std::make_unique<_ProjectDesc>();
    _ProjectHistoryList* list = nullptr;
    _ProjectRestoreInfo info{};
    const std::uint64_t archive = History(caller, 102).front().backupTime;
    EXPECT_EQ(caller.QueryProject(999, *desc, kAnyDrive), halvex::kProjectNotFound);
    EXPECT_EQ(caller.QueryProjectHistory(999, &list, kAnyDrive), halvex::kProjectNotFound);
    EXPECT_EQ(caller.QueryArchiveProject(999, archive, *desc, L'E'), halvex::kProjectNotFound);
    EXPECT_EQ(caller.QueryArchiveProject(102, archive + 1, *desc, L'E'), halvex::kArchiveNotFound);
    EXPECT_EQ(caller.QueryProjectRestoreInfo(102, archive + 1, info, kAnyDrive), halvex::kArchiveNotFound);
    EXPECT_EQ(desc->location, nullptr);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(info.projectDesc, nullptr);
}

TEST_F(Halvex, FreeIgnoresWhatTheEngineDidNotHandOut)
{
    SimEngine sim;
    std::uint32_t notAList[4] = {1, 2, 3, 4};
    auto* foreign = reinterpret_cast<_Projects*>(notAList);
    EXPECT_EQ(caller.FreeProjects(&foreign), halvex::kInvalidRequest);
    EXPECT_EQ(foreign, reinterpret_cast<_Projects*>(notAList));
    EXPECT_EQ(caller.FreeProjectHistory(reinterpret_cast<_ProjectHistoryList*>(notAList)), halvex::kInvalidRequest);

    char16_t text[] = u"mine";
    auto desc = std::make_unique<_ProjectDesc>();
    desc->description = text;
    EXPECT_EQ(caller.FreeProject(*desc), 0);
    EXPECT_EQ(desc->description, text);

    _ProjectRestoreInfo never{};
    EXPECT_EQ(caller.FreeProjectRestoreInfo(never), 0);
}

// A project whose records a faulty engine would hand out: the counts and texts as the
// catalog spoils them, the texts and the list ending where readable memory ends, and
// every block released by its Free operation.
std::string HostileCatalog(const std::string& hostile)
{
    return R"({"thisComputer": {"disks": [{"number": 0, "size": 1000, "partitions": [
                 {"number": 1, "label": "Windows", "size": 900}]}]},
               "projects": [{"id": 5, "description": "Office PC", "location": "E:\\Office", "password": "harbour7",
                 "layout": {"disks": [{"number": 0, "size": 1000, "selected": true, "partitions": [
                   {"number": 1, "label": "Data", "size": 900}]}]},
                 "history": [{"time": 132000000000000000}, {"time": 133000000000000000}],
                 "hostile": )" + hostile + "}]}";
}

TEST_F(Halvex, AHostileProjectsRecordsEndWhereReadableMemoryEnds)
{
    SimEngine sim(HostileCatalog(R"({"backedUp": {"diskCount": 27, "partitionCount": -1},
        "thisComputer": {"diskCount": -5, "partitionCount": 40}, "historyCount": 2147483647,
        "unterminated": ["label", "description", "location"], "encryptedPassword": ""})"));
    _ProjectRestoreInfo info{};
    ASSERT_EQ(caller.QueryProjectRestoreInfo(5, 133000000000000000, info, kAnyDrive), 0);
    ASSERT_EQ(caller.GetDRRestoreVolumesInfo(*info.thisComputer), 0);
    const _ProjectDesc& desc = *info.projectDesc;
    const tagEntireComputerInf& here = *info.thisComputer;

    EXPECT_EQ(desc.layout.diskCount, 27);
    EXPECT_EQ(desc.layout.disks[0].partitionCount, -1);
    EXPECT_EQ(desc.layout.disks[25].partitionCount, -1);
    EXPECT_EQ(here.diskCount, -5);
    EXPECT_EQ(here.disks[25].partitionCount, 40);
    EXPECT_EQ(std::u16string(desc.layout.disks[0].partitions[0].label, 260), u"Data" + std::u16string(256, u'~'));
    EXPECT_EQ(std::u16string(here.disks[0].partitions[0].label, 260), u"Windows" + std::u16string(253, u'~'));

    EXPECT_EQ(ReadableBytes(desc.description, SIZE_MAX), 18u);
    EXPECT_EQ(std::u16string(desc.description, 9), u"Office PC");
    EXPECT_EQ(ReadableBytes(desc.location, SIZE_MAX), 18u);
    EXPECT_EQ(std::u16string(desc.location, 9), u"E:\\Office");
    EXPECT_EQ(info.historyList->count, 2147483647);
    EXPECT_EQ(ReadableBytes(info.historyList, SIZE_MAX), 4u + 2 * sizeof(_ProjectHistoryEntry));
    ASSERT_NE(desc.encryptedPassword, nullptr);
    EXPECT_EQ(desc.encryptedPassword[0], u'\0');

    // The history the source page reads is overstated the same way.
    _ProjectHistoryList* list = nullptr;
    ASSERT_EQ(caller.QueryProjectHistory(5, &list, kAnyDrive), 0);
    EXPECT_EQ(list->count, 2147483647);
    EXPECT_EQ(ReadableBytes(list, SIZE_MAX), 4u + 2 * sizeof(_ProjectHistoryEntry));
    EXPECT_EQ(caller.FreeProjectHistory(list), 0);
    EXPECT_EQ(caller.FreeProjectRestoreInfo(info), 0);
}

// The times of a project's history as QueryProjectHistory and the restore info serve it.
std::vector<std::uint64_t> ServedTimes(const _ProjectHistoryList* list)
{
    std::vector<std::uint64_t> times;
    for (std::int32_t i = 0; i < list->count; ++i) {
        const std::uint64_t time = list->entries[i].backupTime;   // copied out: the field is unaligned
        times.push_back(time);
    }
    return times;
}

TEST_F(Halvex, AHistoryIsServedAscendingUnlessItIsToBeServedAsListed)
{
    const std::string history = R"([{"time": 133000000000000000}, {"time": 0}, {"time": 132000000000000000}])";
    for (const bool asListed : {false, true}) {
        SimEngine sim(R"({"thisComputer": {"disks": [{"number": 0, "size": 1000}]},
            "projects": [{"id": 5, "description": "Office PC", "location": "E:\\Office",
              "layout": {"disks": [{"number": 0, "size": 1000, "selected": true}]},
              "history": )" + history + R"(, "hostile": {"historyAsListed": )" + (asListed ? "true" : "false") + "}}]}");
        const std::vector<std::uint64_t> expected =
            asListed ? std::vector<std::uint64_t>{133000000000000000, 0, 132000000000000000}
                     : std::vector<std::uint64_t>{0, 132000000000000000, 133000000000000000};
        _ProjectHistoryList* list = nullptr;
        ASSERT_EQ(caller.QueryProjectHistory(5, &list, kAnyDrive), 0);
        EXPECT_EQ(ServedTimes(list), expected) << "as listed: " << asListed;
        EXPECT_EQ(caller.FreeProjectHistory(list), 0);
        _ProjectRestoreInfo info{};
        ASSERT_EQ(caller.QueryProjectRestoreInfo(5, 133000000000000000, info, kAnyDrive), 0);
        EXPECT_EQ(ServedTimes(info.historyList), expected) << "as listed: " << asListed;
        EXPECT_EQ(caller.FreeProjectRestoreInfo(info), 0);
        EXPECT_EQ(blocks.Outstanding(), 0);
    }
}

TEST_F(Halvex, AHostileRestoreInfoLeavesTheNamedPointersNull)
{
    for (const char* pointer : {"projectDesc", "thisComputer", "historyList"}) {
        SimEngine sim(HostileCatalog(std::string(R"({"nullPointers": [")") + pointer + R"("]})"));
        _ProjectRestoreInfo info{};
        ASSERT_EQ(caller.QueryProjectRestoreInfo(5, 133000000000000000, info, kAnyDrive), 0) << pointer;
        const std::string name = pointer;
        EXPECT_EQ(info.projectDesc == nullptr, name == "projectDesc") << pointer;
        EXPECT_EQ(info.thisComputer == nullptr, name == "thisComputer") << pointer;
        EXPECT_EQ(info.historyList == nullptr, name == "historyList") << pointer;
        EXPECT_EQ(caller.FreeProjectRestoreInfo(info), 0);
        EXPECT_EQ(blocks.Outstanding(), 0) << pointer;
    }
}

TEST(HalvexEncryptString, EqualTextsEqualFormsAndLetterCaseMatters)
{
    const std::wstring form = Encrypted(L"harbour7");
    EXPECT_EQ(Encrypted(L"harbour7"), form);
    EXPECT_NE(Encrypted(L"Harbour7"), form);
    EXPECT_NE(Encrypted(L"harbour"), form);
    EXPECT_EQ(form.find(L"harbour7"), std::wstring::npos);
    EXPECT_NE(Encrypted(L""), Encrypted(L" "));
}

TEST(HalvexEncryptString, RefusesWhatItCannotFill)
{
    wchar_t small[8] = {L'x'};
    EXPECT_FALSE(Caller::EncryptString(L"harbour7", small, sizeof(small)));
    EXPECT_EQ(small[0], 0);
    wchar_t out[260];
    EXPECT_FALSE(Caller::EncryptString(nullptr, out, sizeof(out)));
    EXPECT_FALSE(Caller::EncryptString(L"harbour7", nullptr, sizeof(out)));
}

// Records the media requests it receives and answers them with `answer`.
struct MediaAnswerer {
    std::int32_t answer = kMediaAnswerOk;
    std::vector<_MediaRequestNotifyData> requests;

    static void Callback(void* context, void* record)
    {
        auto* self = static_cast<MediaAnswerer*>(context);
        auto* request = static_cast<_MediaRequestNotifyData*>(record);
        self->requests.push_back(*request);
        request->answer = self->answer;
    }
    void Register(Caller& caller) { caller.SetNotifyFunction(kNotifyMediaRequest, reinterpret_cast<void*>(&Callback), this); }
};

// Project 103 of the sample lies on a DVD: it opens once a media request has been
// answered OK.
TEST_F(Halvex, BackupOnRemovableMediaOpensOnceTheMediaRequestIsAnsweredOk)
{
    SimEngine sim;
    const std::uint64_t archive = History(caller, 103).back().backupTime;
    auto query = [&] {
        auto desc = std::make_unique<_ProjectDesc>();
        const int result = caller.QueryArchiveProject(103, archive, *desc, L'F');
        if (result == 0) caller.FreeProject(*desc);
        return result;
    };
    EXPECT_EQ(query(), halvex::kMediumNotAvailable);   // nobody to ask

    MediaAnswerer cancel, ok;
    cancel.answer = kMediaAnswerCancel;
    cancel.Register(caller);
    EXPECT_EQ(query(), halvex::kMediumNotAvailable);
    ASSERT_EQ(cancel.requests.size(), 1u);
    EXPECT_EQ(cancel.requests[0].part, -1);
    EXPECT_EQ(cancel.requests[0].drive, L'F');
    EXPECT_EQ(cancel.requests[0].backupTime, archive);

    ok.Register(caller);   // replaces the first registration
    EXPECT_EQ(query(), 0);
    EXPECT_EQ(cancel.requests.size(), 1u);
    EXPECT_EQ(ok.requests.size(), 1u);
    EXPECT_EQ(query(), 0);   // the medium is in place now: no second request
    EXPECT_EQ(ok.requests.size(), 1u);

    const auto lines = sim.Journal("QueryArchiveProject");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["mediaRequest"]["delivered"], false);
    EXPECT_EQ(lines[2]["mediaRequest"]["answer"], kMediaAnswerOk);
    EXPECT_EQ(lines[2]["archiveId"], archive);
    EXPECT_EQ(lines[2]["drive"], L'F');
}

TEST_F(Halvex, WithdrawnCallbackIsNotCalled)
{
    SimEngine sim;
    const std::uint64_t archive = History(caller, 103).back().backupTime;
    MediaAnswerer ok;
    ok.Register(caller);
    EXPECT_EQ(caller.SetNotifyFunction(kNotifyMediaRequest, nullptr, nullptr), 0);
    auto desc = std::make_unique<_ProjectDesc>();
    EXPECT_EQ(caller.QueryArchiveProject(103, archive, *desc, L'F'), halvex::kMediumNotAvailable);
    EXPECT_TRUE(ok.requests.empty());
    EXPECT_EQ(caller.SetNotifyFunction(4, reinterpret_cast<void*>(&MediaAnswerer::Callback), &ok), halvex::kInvalidRequest);
}

// One operation as the wizard calls it, freeing what it got; its result.
using Operation = std::function<int(Caller&)>;

int DescribeProject(Caller& caller)
{
    auto desc = std::make_unique<_ProjectDesc>();
    const int result = caller.QueryProject(101, *desc, kAnyDrive);
    if (result == 0) caller.FreeProject(*desc);
    return result;
}

int ListProjects(Caller& caller)
{
    _Projects* list = nullptr;
    const int result = caller.QueryProjects(&list, false, kAnyDrive);
    if (result == 0) caller.FreeProjects(&list);
    return result;
}

int ReadHistory(Caller& caller)
{
    _ProjectHistoryList* list = nullptr;
    const int result = caller.QueryProjectHistory(101, &list, kAnyDrive);
    if (result == 0) caller.FreeProjectHistory(list);
    return result;
}

int ReadThisComputer(Caller& caller)
{
    auto layout = std::make_unique<tagEntireComputerInf>();
    return caller.GetDRRestoreVolumesInfo(*layout);
}

// A catalog of one project, 101, with the given faults.
std::string FaultCatalog(const std::string& faults)
{
    return R"({
  "thisComputer": {"disks": [{"number": 0, "size": 100000000000}]},
  "projects": [{"id": 101, "description": "Data", "location": "E:\\Data",
    "layout": {"disks": [{"number": 0, "size": 100000000000, "selected": true}]},
    "history": [{"time": "2026-11-02T20:00:00Z"}]}],
  "faults": )" + faults + "}";
}

struct FaultCase {
    const char* operation;
    Operation call;
    std::uint32_t faultyCall;      // 0: every call
    std::vector<int> results;      // of three calls in a row
};

class HalvexFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(HalvexFaults, FailTheNamedCallWithTheCatalogsCode)
{
    const FaultCase& c = GetParam();
    const EngineBlocks blocks;
    SimEngine sim(FaultCatalog(R"([{"operation": ")" + std::string(c.operation) + R"(", "call": )" +
                               std::to_string(c.faultyCall) + R"(, "code": -1000358}])"));
    Caller caller(true);
    std::vector<int> results;
    for (int i = 0; i < 3; ++i) results.push_back(c.call(caller));
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(blocks.Outstanding(), 0) << "engine blocks this test did not give back";
}

constexpr int kFault = halvex::kDiskFailure;

INSTANTIATE_TEST_SUITE_P(Operations, HalvexFaults, testing::Values(
    FaultCase{"QueryProject", DescribeProject, 2, {0, kFault, 0}},
    FaultCase{"QueryProjects", ListProjects, 1, {kFault, 0, 0}},
    FaultCase{"QueryProjectHistory", ReadHistory, 0, {kFault, kFault, kFault}},
    FaultCase{"GetDRRestoreVolumesInfo", ReadThisComputer, 3, {0, 0, kFault}},
    FaultCase{"QueryProject", ListProjects, 0, {0, 0, 0}}));   // another operation is not touched

// A catalog that cannot be used: every query fails with kEngineNotReady, nothing
// crashes and releasing still works.
class HalvexBadCatalog : public testing::TestWithParam<const char*> {};

TEST_P(HalvexBadCatalog, MakesEveryQueryFail)
{
    SimEngine sim(GetParam());
    Caller caller(true);
    EXPECT_TRUE(Caller::StartupFailed());
    wchar_t source[MAX_PATH] = {};
    EXPECT_FALSE(HalvexSimCatalogSource(source, MAX_PATH));
    for (const Operation& operation : {Operation(ListProjects), Operation(DescribeProject), Operation(ReadHistory),
                                       Operation(ReadThisComputer)})
        EXPECT_EQ(operation(caller), halvex::kEngineNotReady);
    auto desc = std::make_unique<_ProjectDesc>();
    _ProjectRestoreInfo info{};
    EXPECT_EQ(caller.QueryArchiveProject(101, 1, *desc, L'E'), halvex::kEngineNotReady);
    EXPECT_EQ(caller.QueryProjectRestoreInfo(101, 1, info, kAnyDrive), halvex::kEngineNotReady);
    EXPECT_EQ(caller.FreeProjectRestoreInfo(info), 0);
}

INSTANTIATE_TEST_SUITE_P(Catalogs, HalvexBadCatalog, testing::Values(
    "{",                                                                   // not JSON
    "[]",                                                                  // not an object
    R"({"projects": []})",                                                 // no computer
    R"({"projects": [], "thisComputer": {"disks": []}, "extra": 1})",      // misspelt key
    R"({"projects": [{"id": 1, "description": "x", "location": "\\\\server\\share",
        "layout": {"disks": []}}], "thisComputer": {"disks": []}})",       // no drive letter
    R"({"projects": [], "thisComputer": {"disks": [{"number": 0, "size": -5}]}})",
    R"({"projects": [], "thisComputer": {"disks": [{"number": 0, "size": 1, "partitions": [
        {"number": 1, "size": 1, "label": "1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890"}]}]}})",
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []},
        "history": [{"time": "2026-02-30T00:00:00Z"}]}], "thisComputer": {"disks": []}})",
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []}},
        {"id": 1, "description": "y", "location": "E:", "layout": {"disks": []}}], "thisComputer": {"disks": []}})",
    R"({"projects": [], "thisComputer": {"disks": []}, "faults": [{"operation": "QueryProjcts", "call": 1, "code": -1}]})",
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []},
        "hostile": {"unterminated": ["labels"]}}], "thisComputer": {"disks": []}})",             // unknown text
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []},
        "hostile": {"encryptedPassword": "x"}}], "thisComputer": {"disks": []}})",               // neither null nor ""
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []},
        "hostile": {"historyCount": 2147483648}}], "thisComputer": {"disks": []}})",             // not 32-bit
    R"({"projects": [{"id": 1, "description": "x", "location": "E:", "layout": {"disks": []},
        "hostile": {"historyAsListed": 1}}], "thisComputer": {"disks": []}})"));                 // not true or false

// The lines a program writes to the debugger output, caught as the exception that
// OutputDebugString raises for a debugger.
class DebugOutput {
public:
    DebugOutput() : m_handler(::AddVectoredExceptionHandler(1, &Catch)) { Lines().clear(); }
    ~DebugOutput() { ::RemoveVectoredExceptionHandler(m_handler); }
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static LONG CALLBACK Catch(EXCEPTION_POINTERS* pointers)
    {
        const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
            Lines().emplace_back(reinterpret_cast<const char*>(record.ExceptionInformation[1]),
                                 static_cast<std::size_t>(record.ExceptionInformation[0]));
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* m_handler;
};

TEST(HalvexCatalogFile, UnusableCatalogIsReportedInOneLine)
{
    DebugOutput output;
    SimEngine sim(R"({"projects": [], "thisComputer": {"disks": [{"number": "zero", "size": 1}]}})");
    ASSERT_EQ(output.Lines().size(), 1u) << testing::PrintToString(output.Lines());
    const std::string& line = output.Lines()[0];
    EXPECT_NE(line.find("halvex-"), std::string::npos) << line;                   // the file
    EXPECT_NE(line.find("thisComputer.disks[0].number"), std::string::npos) << line;   // the fault
    EXPECT_NE(line.find("-1000003"), std::string::npos) << line;                  // the consequence
}

TEST(HalvexCatalogFile, MissingFileMakesEveryQueryFail)
{
    SimEngine sim;   // the sample, then a file that is not there
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", (ProgramFolder() + L"\\no-such-catalog.json").c_str());
    HalvexSimReset();
    Caller caller(true);
    EXPECT_EQ(ListProjects(caller), halvex::kEngineNotReady);
}

// Halvex.dll finds halvex-sim.json beside itself when no catalog is named: a copy of
// the DLL in a folder of its own, with a catalog there, is loaded beside the one in use.
TEST(HalvexCatalogFile, CatalogBesideTheDllIsUsed)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(ProgramFolder()) / ("halvex-beside-" + std::to_string(::GetCurrentProcessId()));
    fs::create_directories(folder);
    fs::copy_file(fs::path(ProgramFolder()) / "Halvex.dll", folder / "Halvex.dll", fs::copy_options::overwrite_existing);
    std::ofstream(folder / "halvex-sim.json") << FaultCatalog("[]");

    const HMODULE copy = ::LoadLibraryW((folder / "Halvex.dll").c_str());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, ::GetModuleHandleW(L"Halvex.dll")) << "the copy was not loaded on its own";
    using SourceFunction = bool (*)(wchar_t*, unsigned long);
    const auto catalogSource = reinterpret_cast<SourceFunction>(reinterpret_cast<void*>(::GetProcAddress(copy, "HalvexSimCatalogSource")));
    ASSERT_NE(catalogSource, nullptr);
    wchar_t source[MAX_PATH] = {};
    EXPECT_TRUE(catalogSource(source, MAX_PATH));
    EXPECT_EQ(fs::path(source).filename(), "halvex-sim.json");
    EXPECT_EQ(fs::path(source).parent_path().filename(), folder.filename());
    ::FreeLibrary(copy);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST(HalvexCatalogFile, SampleIsUsedWithoutACatalogFile)
{
    SimEngine sim;
    wchar_t source[MAX_PATH] = {};
    EXPECT_TRUE(HalvexSimCatalogSource(source, MAX_PATH));
    EXPECT_STREQ(source, L"built-in sample");
    EXPECT_FALSE(Caller::StartupFailed());
}

// The engine client is started as the engine expects: the communicator twice, the
// second time initialized through the third slot of its virtual table, then the Caller.
TEST(HalvexClient, IsStartedInOrderOnceForTheProcess)
{
    SimEngine sim;
    Caller& client = GetEngineClient();
    CreateEngineClient();
    EXPECT_EQ(&GetEngineClient(), &client);
    std::vector<std::string> calls;
    for (const auto& line : sim.Journal()) calls.push_back(line["op"].get<std::string>() + (line["local"] == true ? "(true)" : "?"));
    EXPECT_EQ(calls, (std::vector<std::string>{"Communicator::Instance(true)", "Communicator::Instance(true)",
                                               "Communicator::Initialize(true)", "Caller(true)"}));
}

TEST(HalvexClient, CommunicatorIsOneObjectWhoseThirdSlotTakesABool)
{
    SimEngine sim;
    const std::shared_ptr<Communicator> first = Communicator::Instance(true);
    EXPECT_EQ(Communicator::Instance(false), first);
    using SlotFunction = void (*)(Communicator*, bool);
    SlotFunction* table = *reinterpret_cast<SlotFunction**>(first.get());
    table[2](first.get(), true);
    const auto lines = sim.Journal("Communicator::Initialize");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["local"], true);
}

}  // namespace
}  // namespace palto::test
