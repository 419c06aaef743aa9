// Which backups the source page offers and which it picks by itself: the decisions of
// the page without its windows, so that they can be tested on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/HalvexRecords.h"
#include "engine/RecordReaders.h"

namespace palto {

// A project's description as the project list shows it: up to 26 characters whole,
// a longer one cut to its first 26 followed by "..".
std::wstring ProjectDisplayText(std::wstring_view description);

// The caption of the latest-mode button once a backup is picked: the button's own
// caption, the project's text and the backup's date in brackets; without both texts,
// the button's own caption. Ampersands of the texts are doubled, so that the button
// shows them as they are instead of underlining the next letter.
std::wstring LatestCaption(std::wstring_view caption, std::wstring_view project, std::wstring_view date);

// Whether a backup holds anything at all: a computer with disks, of which the whole
// computer, a whole disk or one partition is marked as backed up.
bool LayoutHoldsSomething(const tagEntireComputerInf& layout);

// Whether a backup holds what a restore type needs: the entire computer (type 0), a
// whole disk (1) or a partition (2). Any other type fits nothing.
bool ProjectFitsRestoreType(const tagEntireComputerInf& layout, int restoreType);

// Whether the source page lists a backup for a restore type at all.
inline bool IsSourceCandidate(const tagEntireComputerInf& layout, int restoreType)
{
    return LayoutHoldsSomething(layout) && ProjectFitsRestoreType(layout, restoreType);
}

// Brings a description that a query filled back to the state of a new one, so that one
// block can serve every query of a walk. An answer is valid up to its disk count: what
// lies beyond it in the disk table is left as the constructor made it, unless the count
// is out of range, when all of it is cleared.
void RenewDescription(_ProjectDesc& desc);

// The ids of a project list; none for a null list. A count is no proof of what the
// engine allocated: the ids end where readable memory ends.
std::span<const std::uint32_t> ProjectIds(const _Projects* list, const ReadableExtent& readable = ReadableBytes);

// The newest backup time of a history, 0 when it has none.
std::uint64_t NewestBackupTime(std::span<const _ProjectHistoryEntry> history);

// Of the listed projects, given the newest backup time of each (0 for none or for a
// history that could not be read), the one with the newest backup; on a tie the one
// listed first. None when no project has a backup time.
std::optional<std::size_t> ProjectWithNewestBackup(std::span<const std::uint64_t> newestTimes);

// The backups of a history as the archive list offers them: newest first (the engine
// hands them in ascending time), without entries of time 0.
std::vector<std::uint64_t> OfferedArchives(std::span<const _ProjectHistoryEntry> history);

}  // namespace palto
