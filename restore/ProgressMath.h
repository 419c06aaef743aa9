// The arithmetic of the restore progress page, without windows: which backup a restore
// is based on, the overall value of the bar from the engine's phase and percent, the
// stage label to show, and the elapsed and remaining times.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/HalvexRecords.h"

namespace palto {

// The backup a restore of `archiveId` builds on: walking from the newest entry down, the
// first that is not later than the archive and may serve as a base. Entries with time 0
// (never offered to the user) are passed over; a null list or a count of 0 or below is
// an empty list. Null when no entry qualifies.
const _ProjectHistoryEntry* FindBaseEntry(const _ProjectHistoryList* list, std::uint64_t archiveId);
_ProjectHistoryEntry* FindBaseEntry(_ProjectHistoryList* list, std::uint64_t archiveId);

// One progress report of the engine turned into what the page shows. The first stage
// fills the bar from 0 to 70, phase 7 from 70 to 80, the last stage from 80 to 100;
// phase 8 keeps the bar where it was.
struct ProgressStep {
    int value = 0;           // overall value 0..100; nothing is shown for 0
    unsigned stageText = 0;  // string id of the stage label, 0 = keep the label
    int lastValue = 0;       // what the next phase-8 report keeps
};
ProgressStep OverallProgress(std::int32_t phase, std::int32_t percent, bool firstStage, int lastValue);

// A span of time as the time text shows it.
struct HoursMinutesSeconds {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool operator==(const HoursMinutesSeconds&) const = default;
};
HoursMinutesSeconds SplitSeconds(std::int64_t seconds);

struct RestoreTimes {
    HoursMinutesSeconds elapsed;
    HoursMinutesSeconds remaining;
    bool operator==(const RestoreTimes&) const = default;
};

// Elapsed time since `startTime` and the time still to go at overall value `value`
// (seconds since 1970; `value` 1..100). None while the start time is not known (0) or
// the value is not above 0. A clock set back gives 0, never a negative time.
std::optional<RestoreTimes> ProgressTimes(std::int64_t startTime, std::int64_t now, int value);

// The times at the successful end: the whole time taken, nothing remaining.
std::optional<RestoreTimes> FinishedTimes(std::int64_t startTime, std::int64_t now);

}  // namespace palto
