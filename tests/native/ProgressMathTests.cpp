// The restore's arithmetic: the base backup of a restore, the overall value and stage
// label of the progress bar, and the elapsed and remaining times.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <optional>
#include <ostream>
#include <vector>

#include "restore/ProgressMath.h"

namespace {

using palto::HoursMinutesSeconds;
using palto::RestoreTimes;

struct Entry {
    std::uint64_t time;
    bool notBase = false;
};

// A history list as the engine lays it out: a count and packed entries.
class History {
public:
    History(std::int32_t count, const std::vector<Entry>& entries)
        : m_list(static_cast<_ProjectHistoryList*>(std::calloc(1, 4 + entries.size() * sizeof(_ProjectHistoryEntry))))
    {
        m_list->count = count;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            m_list->entries[i].backupTime = entries[i].time;
            m_list->entries[i].notBase = entries[i].notBase ? 1 : 0;
        }
    }
    explicit History(const std::vector<Entry>& entries) : History(static_cast<std::int32_t>(entries.size()), entries) {}
    ~History() { std::free(m_list); }
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Index of the base entry for `archive`, -1 for none.
    int BaseFor(std::uint64_t archive) const
    {
        const _ProjectHistoryEntry* base = palto::FindBaseEntry(static_cast<const _ProjectHistoryList*>(m_list), archive);
        return base ? static_cast<int>(base - m_list->entries) : -1;
    }

private:
    _ProjectHistoryList* m_list;
};

constexpr std::uint64_t kHigh = 1ull << 63;   // negative if compared as signed

struct BaseCase {
    const char* name;
    std::int32_t count;
    std::vector<Entry> entries;
    std::uint64_t archive;
    int base;
};

void PrintTo(const BaseCase& c, std::ostream* out)
{
    *out << c.name;
}

class BaseEntry : public testing::TestWithParam<BaseCase> {};

TEST_P(BaseEntry, IsTheLatestUsableBackupNotLaterThanTheArchive)
{
    const BaseCase& c = GetParam();
    EXPECT_EQ(History(c.count, c.entries).BaseFor(c.archive), c.base);
}

INSTANTIATE_TEST_SUITE_P(Cases, BaseEntry, testing::Values(
    BaseCase{"TheArchiveItself", 3, {{100}, {200}, {300}}, 200, 1},
    BaseCase{"TheNewestOfAll", 3, {{100}, {200}, {300}}, 300, 2},
    BaseCase{"AnEarlierOneWhenTheArchiveIsNotListed", 2, {{100}, {300}}, 200, 0},
    BaseCase{"PassesOverEntriesThatCannotBeABase", 3, {{100}, {200, true}, {300, true}}, 300, 0},
    BaseCase{"NoneWhenAllAreLater", 2, {{100}, {200}}, 50, -1},
    BaseCase{"NoneWhenNoneCanBeABase", 2, {{100, true}, {200, true}}, 200, -1},
    BaseCase{"PassesOverEntriesWithoutTime", 3, {{0}, {100, true}, {200}}, 150, -1},
    BaseCase{"EntryWithoutTimeNeverBecomesTheBase", 2, {{0}, {100}}, 50, -1},
    BaseCase{"ComparesTimesUnsigned", 2, {{5}, {kHigh}}, kHigh + 1, 1},
    BaseCase{"AHighTimeIsLaterThanALowArchive", 2, {{5}, {kHigh}}, 10, 0},
    BaseCase{"EmptyList", 0, {}, 100, -1},
    BaseCase{"CountZeroWithEntriesBehind", 0, {{100}}, 100, -1},
    BaseCase{"NegativeCount", -1, {{100}}, 100, -1},
    BaseCase{"CountBelowTheEntriesBehind", 1, {{100}, {200}}, 300, 0},
    // Entries not offered between dated ones: the dated ones after them still count.
    BaseCase{"TheArchiveAfterAnEntryWithoutTime", 3, {{100}, {0}, {200}}, 200, 2},
    BaseCase{"AnEarlierOneAcrossEntriesWithoutTime", 5, {{100}, {0}, {200, true}, {0}, {300, true}}, 300, 0}),
    [](const auto& info) { return info.param.name; });

TEST(BaseEntry, NoListHasNoBase)
{
    EXPECT_EQ(palto::FindBaseEntry(static_cast<const _ProjectHistoryList*>(nullptr), 100), nullptr);
}

struct TickCase {
    const char* name;
    std::int32_t phase;
    std::int32_t percent;
    bool firstStage;
    int lastValue;
    int value;
    unsigned stageText;   // 0: the label stays
};

void PrintTo(const TickCase& c, std::ostream* out)
{
    *out << c.name;
}

class OverallProgress : public testing::TestWithParam<TickCase> {};

TEST_P(OverallProgress, MapsPhaseAndPercentOntoTheBar)
{
    const TickCase& c = GetParam();
    const palto::ProgressStep step = palto::OverallProgress(c.phase, c.percent, c.firstStage, c.lastValue);
    EXPECT_EQ(step.value, c.value);
    EXPECT_EQ(step.stageText, c.stageText);
    EXPECT_EQ(step.lastValue, c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, OverallProgress, testing::Values(
    TickCase{"FirstStageOnePercentShowsNothing", 3, 1, true, 40, 0, 0},
    TickCase{"FirstStageValueOneKeepsTheLabel", 3, 2, true, 0, 1, 0},
    TickCase{"FirstStageValueTwoSetsTheLabel", 3, 3, true, 0, 2, 5184},
    TickCase{"FirstStageEnd", 3, 100, true, 0, 70, 5184},
    TickCase{"FirstStagePhase6", 6, 0, true, 0, 0, 5205},
    TickCase{"FirstStagePhase6Half", 6, 50, true, 0, 35, 5205},
    TickCase{"Phase7Start", 7, 0, false, 0, 70, 5206},
    TickCase{"Phase7End", 7, 100, false, 0, 80, 5206},
    TickCase{"LastStageStart", 9, 0, false, 0, 80, 5185},
    TickCase{"LastStageHalf", 9, 50, false, 0, 90, 5185},
    TickCase{"LastStageEnd", 9, 100, false, 0, 100, 5185},
    TickCase{"Phase6OutsideTheFirstStageIsTheLastStage", 6, 50, false, 0, 90, 5185},
    TickCase{"Phase8KeepsTheBar", 8, 100, false, 42, 42, 0},
    TickCase{"Phase8KeepsTheBarInTheFirstStage", 8, 100, true, 42, 42, 0},
    TickCase{"Phase8BeforeAnyProgress", 8, 50, false, 0, 0, 0},
    TickCase{"PercentAbove100", 9, 150, false, 0, 100, 5185},
    TickCase{"PercentHuge", 3, INT_MAX, true, 0, 70, 5184},
    TickCase{"PercentNegative", 7, -20, false, 0, 70, 5206},
    TickCase{"PercentMostNegative", 9, INT_MIN, false, 0, 80, 5185},
    TickCase{"Phase8KeepsOnlyAValueOfTheBar", 8, 0, false, 250, 100, 0}),
    [](const auto& info) { return info.param.name; });

struct TimeCase {
    const char* name;
    std::int64_t start;
    std::int64_t now;
    int value;
    std::optional<RestoreTimes> times;
};

void PrintDuration(const HoursMinutesSeconds& t, std::ostream* out)
{
    *out << t.hours << ':' << std::setw(2) << std::setfill('0') << t.minutes << ':' << std::setw(2) << t.seconds
         << std::setfill(' ');
}

void PrintTo(const TimeCase& c, std::ostream* out)
{
    *out << c.name << ": start " << c.start << ", now " << c.now << ", value " << c.value << ", expects ";
    if (!c.times) {
        *out << "no times";
        return;
    }
    *out << "elapsed ";
    PrintDuration(c.times->elapsed, out);
    *out << ", remaining ";
    PrintDuration(c.times->remaining, out);
}

class ProgressTimes : public testing::TestWithParam<TimeCase> {};

TEST_P(ProgressTimes, AreElapsedAndRemainingInHoursMinutesSeconds)
{
    const TimeCase& c = GetParam();
    EXPECT_EQ(palto::ProgressTimes(c.start, c.now, c.value), c.times);
}

constexpr std::int64_t kStart = 1'765'000'000;

INSTANTIATE_TEST_SUITE_P(Cases, ProgressTimes, testing::Values(
    TimeCase{"QuarterAfterTenMinutes", kStart, kStart + 600, 25, RestoreTimes{{0, 10, 0}, {0, 30, 0}}},
    TimeCase{"OnePercentAfterOneMinute", kStart, kStart + 60, 1, RestoreTimes{{0, 1, 0}, {1, 39, 0}}},
    TimeCase{"RemainingTruncates", kStart, kStart + 10, 3, RestoreTimes{{0, 0, 10}, {0, 5, 23}}},
    TimeCase{"Done", kStart, kStart + 3725, 100, RestoreTimes{{1, 2, 5}, {0, 0, 0}}},
    TimeCase{"StartNotKnownYet", 0, kStart, 50, std::nullopt},
    TimeCase{"NothingDoneYet", kStart, kStart + 5, 0, std::nullopt},
    TimeCase{"ClockSetBack", kStart, kStart - 500, 50, RestoreTimes{{0, 0, 0}, {0, 0, 0}}},
    TimeCase{"ClockAtItsLowest", kStart, LLONG_MIN, 50, RestoreTimes{{0, 0, 0}, {0, 0, 0}}},
    TimeCase{"ValueAbove100", kStart, kStart + 60, 150, RestoreTimes{{0, 1, 0}, {0, 0, 0}}},
    TimeCase{"CenturiesAreCut", 1, LLONG_MAX, 1, RestoreTimes{{2777777, 46, 40}, {275000000, 0, 0}}}),
    [](const auto& info) { return info.param.name; });

TEST(FinishedTimes, AreTheWholeTimeAndNothingRemaining)
{
    EXPECT_EQ(palto::FinishedTimes(kStart, kStart + 3725), (RestoreTimes{{1, 2, 5}, {0, 0, 0}}));
    EXPECT_EQ(palto::FinishedTimes(0, kStart), std::nullopt);
}

}  // namespace
