// The stand-in engine's restore task: the order it accepts, the stages it moves
// through, its notifications on a thread of its own with their answers read back, and
// its stop.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "HalvexTestSupport.h"
#include "engine/RecordReaders.h"

namespace palto::test {
namespace {

constexpr const char* kOneLongStage = R"([{"phase": 6, "firstStage": true, "ms": 600000}])";

// The restore info of the catalog's project with this computer's partition marked as
// the destination, and the order built from it.
struct PreparedRestore {
    PreparedRestore(Caller& caller, std::uint64_t archive = kRestoreArchive) : info(caller, kRestoreProject, archive)
    {
        EXPECT_EQ(info.result, 0);
        if (info.result == 0) info.info.thisComputer->disks[0].partitions[0].selected = 1;
        order = MakeOrder(info.info, archive);
    }
    RestoreInfo info;
    std::unique_ptr<_ProjectRestoreData> order;
};

class HalvexRestore : public testing::Test {
protected:
    void TearDown() override
    {
        HalvexSimReset();   // stops a task still running
        EXPECT_EQ(blocks.Outstanding(), 0) << "engine blocks this test did not give back";
    }

    // Starts the restore of `archive` as the restore worker does: the restore info is
    // given back as soon as the engine has the order.
    int Start(std::uint64_t archive = kRestoreArchive)
    {
        PreparedRestore restore(caller, archive);
        return caller.ProjectRestoreCtrl(kRestoreProject, *restore.order);
    }

    _ProgressInfo Progress()
    {
        _ProgressInfo progress{};
        EXPECT_EQ(caller.GetTaskProgInfo(kRestoreProject, progress), 0);
        return progress;
    }

    EngineBlocks blocks;
    Caller caller{true};
    TaskEnd end;
};

TEST_F(HalvexRestore, RunsThroughItsStagesAndEndsOnAThreadOfItsOwn)
{
    SimEngine sim(RestoreCatalog(R"([{"phase": 6, "firstStage": true, "ms": 300}, {"phase": 3, "firstStage": true, "ms": 300},
                                     {"phase": 7, "ms": 300}, {"phase": 9, "ms": 300}])"));
    ListenForTaskEnd(caller, end);
    ASSERT_EQ(Start(), 0);

    std::vector<std::pair<int, bool>> stages;
    int lastPercent = 0;
    while (!end.ended.Wait(std::chrono::milliseconds(2))) {
        const _ProgressInfo progress = Progress();
        const std::pair<int, bool> stage{progress.phase, progress.firstStage != 0};
        if (stages.empty() || stages.back() != stage) {
            stages.push_back(stage);
        } else {
            EXPECT_GE(progress.percent, lastPercent);
        }
        EXPECT_GE(progress.percent, 0);
        EXPECT_LE(progress.percent, 100);
        lastPercent = progress.percent;
    }
    EXPECT_EQ(stages, (std::vector<std::pair<int, bool>>{{6, true}, {3, true}, {7, false}, {9, false}}));
    EXPECT_EQ(Progress().percent, 100);
    EXPECT_EQ(end.result, 0);
    EXPECT_NE(end.thread, ::GetCurrentThreadId());
}

TEST_F(HalvexRestore, JournalHoldsTheOrderAsReceived)
{
    SimEngine sim(RestoreCatalog(kOneLongStage));
    ASSERT_EQ(Start(134000000000000000ull), 0);   // a backup that is not a base: its base is the one before

    const auto lines = sim.Journal("ProjectRestoreCtrl");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["projectId"], kRestoreProject);
    EXPECT_EQ(lines[0]["archiveId"], 134000000000000000ull);
    EXPECT_EQ(lines[0]["baseEntryTime"], 133000000000000000ull);
    EXPECT_EQ(lines[0]["layout"], nlohmann::json::parse(R"({"entireComputer": 0, "disks": [
        {"number": 0, "selected": 0, "partitions": [{"number": 1, "selected": 1}]}]})"));
    EXPECT_EQ(lines[0]["result"], 0);
}

TEST_F(HalvexRestore, ScriptedResultEndsTheTask)
{
    SimEngine sim(RestoreCatalog(R"([{"phase": 9, "ms": 0}])", "[]", halvex::kTargetWriteFailed));
    ListenForTaskEnd(caller, end);
    ASSERT_EQ(Start(), 0);
    ASSERT_TRUE(end.ended.Wait());
    EXPECT_EQ(end.result, halvex::kTargetWriteFailed);
}

TEST_F(HalvexRestore, StopEndsTheTaskWithANonZeroResult)
{
    SimEngine sim(RestoreCatalog(kOneLongStage));
    ListenForTaskEnd(caller, end);
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(Start(), halvex::kTaskRunning);

    _TaskCtlCmdData stop{kTaskCommandStop, 0};
    EXPECT_EQ(caller.TaskControl(kRestoreProject, stop), 0);
    ASSERT_TRUE(end.ended.Wait());
    EXPECT_EQ(end.result, halvex::kCancelled);
}

// A callback that holds the engine's thread until the test lets it answer.
template <class Record>
struct HeldCallback {
    Signal arrived, release;
    Record seen{};
    DWORD thread = 0;
    std::function<void(Record&)> answer;

    static void Callback(void* context, void* record)
    {
        auto* self = static_cast<HeldCallback*>(context);
        auto* received = static_cast<Record*>(record);
        self->seen = *received;
        self->thread = ::GetCurrentThreadId();
        self->arrived.Raise();
        self->release.Wait();
        self->answer(*received);
    }
    void Register(Caller& caller, unsigned id) { caller.SetNotifyFunction(id, reinterpret_cast<void*>(&Callback), this); }
};

constexpr const char* kTwoStages = R"([{"phase": 6, "firstStage": true, "ms": 200}, {"phase": 9, "ms": 200}])";
constexpr const char* kMediaAtHalfway = R"([{"stage": 0, "percent": 50, "mediaRequest": {"part": 2, "drive": "F"}}])";

struct MediaCase {
    std::int32_t answer;
    std::int32_t result;
};

class HalvexRestoreMedia : public HalvexRestore, public testing::WithParamInterface<MediaCase> {};

TEST_P(HalvexRestoreMedia, RequestWaitsOnTheEnginesThreadForItsAnswer)
{
    SimEngine sim(RestoreCatalog(kTwoStages, kMediaAtHalfway));
    ListenForTaskEnd(caller, end);
    HeldCallback<_MediaRequestNotifyData> media;
    media.answer = [](auto& request) { request.answer = GetParam().answer; };
    media.Register(caller, kNotifyMediaRequest);
    ASSERT_EQ(Start(), 0);

    ASSERT_TRUE(media.arrived.Wait());
    EXPECT_NE(media.thread, ::GetCurrentThreadId());
    EXPECT_EQ(media.seen.part, 2);
    EXPECT_EQ(media.seen.drive, L'F');
    EXPECT_EQ(media.seen.backupTime, kRestoreArchive);
    const _ProgressInfo progress = Progress();   // answered while the callback waits
    EXPECT_EQ(progress.phase, 6);
    EXPECT_GE(progress.percent, 50);
    media.release.Raise();

    ASSERT_TRUE(end.ended.Wait());
    EXPECT_EQ(end.result, GetParam().result);
    EXPECT_EQ(sim.Journal("MediaRequest").at(0)["answer"], GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Answers, HalvexRestoreMedia, testing::Values(
    MediaCase{kMediaAnswerOk, 0},
    MediaCase{kMediaAnswerCancel, halvex::kMediumNotAvailable},
    MediaCase{7, halvex::kMediumNotAvailable}));   // an answer the engine does not know

TEST_F(HalvexRestore, StopIsTakenWhileACallbackWaits)
{
    SimEngine sim(RestoreCatalog(kTwoStages, kMediaAtHalfway));
    ListenForTaskEnd(caller, end);
    HeldCallback<_MediaRequestNotifyData> media;
    media.answer = [](auto& request) { request.answer = kMediaAnswerOk; };
    media.Register(caller, kNotifyMediaRequest);
    ASSERT_EQ(Start(), 0);
    ASSERT_TRUE(media.arrived.Wait());

    _TaskCtlCmdData stop{kTaskCommandStop, 0};
    EXPECT_EQ(caller.TaskControl(kRestoreProject, stop), 0);
    media.release.Raise();
    ASSERT_TRUE(end.ended.Wait());
    EXPECT_EQ(end.result, halvex::kCancelled);
}

struct MessageCase {
    std::int32_t code;
    std::int32_t answer;
    std::int32_t result;
};

class HalvexRestoreMessage : public HalvexRestore, public testing::WithParamInterface<MessageCase> {};

TEST_P(HalvexRestoreMessage, AnswerDecidesWhetherTheTaskGoesOn)
{
    const std::string events = R"([{"stage": 1, "percent": 0, "message": {"code": )" + std::to_string(GetParam().code) +
                               R"(, "param": 42}}])";
    SimEngine sim(RestoreCatalog(kTwoStages, events));
    ListenForTaskEnd(caller, end);
    HeldCallback<_EngineMessageNotifyData> message;
    message.answer = [](auto& record) { record.answer = GetParam().answer; };
    message.release.Raise();   // answers at once
    message.Register(caller, kNotifyEngineMessage);
    ASSERT_EQ(Start(), 0);

    ASSERT_TRUE(end.ended.Wait());
    EXPECT_EQ(message.seen.code, GetParam().code);
    EXPECT_EQ(message.seen.param, 42u);
    EXPECT_EQ(message.seen.answer, 0);   // the engine's preset
    EXPECT_NE(message.thread, ::GetCurrentThreadId());
    EXPECT_EQ(end.result, GetParam().result);
    EXPECT_EQ(sim.Journal("EngineMessage").at(0)["answer"], GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Answers, HalvexRestoreMessage, testing::Values(
    MessageCase{halvex::kAskGoOn, 1, 0},
    MessageCase{halvex::kAskGoOn, -1, halvex::kCancelled},
    MessageCase{halvex::kAskGoOn, 0, halvex::kCancelled},     // not answered: no consent to go on
    MessageCase{halvex::kWarnReadErrors, 0, 0}));             // a warning never stops the task

// An order the engine refuses: it starts nothing.
struct OrderCase {
    const char* name;
    std::function<void(_ProjectRestoreData&, std::vector<unsigned char>& scratch)> spoil;
    int result;
};

class HalvexRestoreOrder : public HalvexRestore, public testing::WithParamInterface<OrderCase> {};

TEST_P(HalvexRestoreOrder, IsRefused)
{
    SimEngine sim(RestoreCatalog(kOneLongStage));
    PreparedRestore restore(caller);
    std::vector<unsigned char> scratch;
    GetParam().spoil(*restore.order, scratch);
    EXPECT_EQ(caller.ProjectRestoreCtrl(kRestoreProject, *restore.order), GetParam().result);
    _ProgressInfo progress{};
    EXPECT_EQ(caller.GetTaskProgInfo(kRestoreProject, progress), halvex::kInvalidRequest);
}

// A copy of the order's history list in the test's own memory, base entry pointing into it.
void UseCopiedHistory(_ProjectRestoreData& order, std::vector<unsigned char>& scratch)
{
    const std::size_t bytes = 4 + HistoryEntries(order.historyList).size() * sizeof(_ProjectHistoryEntry);
    const std::size_t baseOffset = reinterpret_cast<unsigned char*>(order.baseEntry) - reinterpret_cast<unsigned char*>(order.historyList);
    scratch.resize(bytes);
    std::memcpy(scratch.data(), order.historyList, bytes);
    order.historyList = reinterpret_cast<_ProjectHistoryList*>(scratch.data());
    order.baseEntry = reinterpret_cast<_ProjectHistoryEntry*>(scratch.data() + baseOffset);
}

INSTANTIATE_TEST_SUITE_P(Orders, HalvexRestoreOrder, testing::Values(
    OrderCase{"NoBaseEntry", [](auto& order, auto&) { order.baseEntry = nullptr; }, halvex::kInvalidRequest},
    OrderCase{"BaseEntryBetweenEntries",
              [](auto& order, auto&) { order.baseEntry = reinterpret_cast<_ProjectHistoryEntry*>(reinterpret_cast<char*>(order.baseEntry) + 1); },
              halvex::kInvalidRequest},
    OrderCase{"BaseEntryPastTheList", [](auto& order, auto&) { order.baseEntry = &order.historyList->entries[3]; }, halvex::kInvalidRequest},
    OrderCase{"EarlierBaseThanTheLatest", [](auto& order, auto&) { order.baseEntry = &order.historyList->entries[0]; },
              halvex::kBaseNotAvailable},
    OrderCase{"HistoryListNotTheEngines", UseCopiedHistory, halvex::kInvalidRequest},
    OrderCase{"NothingMarked", [](auto& order, auto&) { order.layout.disks[0].partitions[0].selected = 0; }, halvex::kInvalidRequest},
    OrderCase{"AnotherComputersLayout", [](auto& order, auto&) { order.layout.diskCount = 2; }, halvex::kInvalidRequest},
    OrderCase{"HostileDiskCount", [](auto& order, auto&) { order.layout.diskCount = -7; }, halvex::kInvalidRequest},
    OrderCase{"UnknownArchive", [](auto& order, auto&) { order.archiveId += 1; }, halvex::kArchiveNotFound}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace palto::test
