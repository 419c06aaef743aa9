#include "restore/ProgressMath.h"

#include <algorithm>

#include "engine/RecordReaders.h"
#include "resources/ids.h"

namespace palto {

namespace {

template <class Entry, class List>
Entry* FindBase(List* list, std::uint64_t archiveId)
{
    const auto entries = HistoryEntries(list);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->backupTime != 0 && entry->backupTime <= archiveId && entry->notBase == 0) return &*entry;
    }
    return nullptr;
}

// Longer spans are shown as this (over 300 years): hours stay within an int, and the
// remaining time, at most 99 times the elapsed one, within 64 bits.
constexpr std::int64_t kLongestSpan = 10'000'000'000;

constexpr std::int32_t kPhaseCopying = 6;
constexpr std::int32_t kPhaseMiddle = 7;
constexpr std::int32_t kPhaseHold = 8;

}  // namespace

const _ProjectHistoryEntry* FindBaseEntry(const _ProjectHistoryList* list, std::uint64_t archiveId)
{
    return FindBase<const _ProjectHistoryEntry>(list, archiveId);
}

_ProjectHistoryEntry* FindBaseEntry(_ProjectHistoryList* list, std::uint64_t archiveId)
{
    return FindBase<_ProjectHistoryEntry>(list, archiveId);
}

ProgressStep OverallProgress(std::int32_t phase, std::int32_t percent, bool firstStage, int lastValue)
{
    // The engine's percent is taken as 0..100 whatever it reports, so the bar never
    // passes 100 and the remaining time never turns negative.
    const int p = std::clamp(percent, 0, 100);
    ProgressStep step;
    if (phase == kPhaseHold) {
        step.value = step.lastValue = std::clamp(lastValue, 0, 100);
        return step;
    }
    if (firstStage) {
        step.value = p * 70 / 100;
        if (phase == kPhaseCopying) step.stageText = IDS_STAGE_FIRST_PHASE6;
        else if (step.value > 1) step.stageText = IDS_STAGE_FIRST;
    } else if (phase == kPhaseMiddle) {
        step.value = 70 + p * 10 / 100;
        step.stageText = IDS_STAGE_PHASE7;
    } else {
        step.value = 80 + p * 20 / 100;
        step.stageText = IDS_STAGE_LAST;
    }
    step.lastValue = step.value;
    return step;
}

HoursMinutesSeconds SplitSeconds(std::int64_t seconds)
{
    const std::int64_t s = std::clamp<std::int64_t>(seconds, 0, kLongestSpan * 99);
    return {static_cast<int>(s / 3600), static_cast<int>(s % 3600 / 60), static_cast<int>(s % 60)};
}

std::optional<RestoreTimes> ProgressTimes(std::int64_t startTime, std::int64_t now, int value)
{
    if (startTime <= 0 || value <= 0) return std::nullopt;
    const std::int64_t v = std::min(value, 100);
    const std::int64_t elapsed = now > startTime ? std::min(now - startTime, kLongestSpan) : 0;
    return RestoreTimes{SplitSeconds(elapsed), SplitSeconds((100 - v) * elapsed / v)};
}

std::optional<RestoreTimes> FinishedTimes(std::int64_t startTime, std::int64_t now)
{
    return ProgressTimes(startTime, now, 100);
}

}  // namespace palto
