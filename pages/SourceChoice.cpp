#include "pages/SourceChoice.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "app/TextCut.h"
#include "engine/RecordReaders.h"
#include "framework/Format.h"

namespace palto {

namespace {

constexpr std::size_t kDisplayLength = 26;

bool AnyDiskSelected(const tagEntireComputerInf& layout)
{
    const auto disks = Disks(layout);
    return std::any_of(disks.begin(), disks.end(), [](const tagDiskInf& disk) { return disk.selected != 0; });
}

bool AnyPartitionSelected(const tagEntireComputerInf& layout)
{
    for (const tagDiskInf& disk : Disks(layout)) {
        const auto partitions = Partitions(disk);
        if (std::any_of(partitions.begin(), partitions.end(),
                        [](const tagPartitionInf& partition) { return partition.selected != 0; }))
            return true;
    }
    return false;
}

std::wstring ShownAsIs(std::wstring_view text)
{
    std::wstring escaped;
    for (wchar_t c : text) {
        if (c == L'&') escaped += L'&';
        escaped += c;
    }
    return escaped;
}

}  // namespace

void RenewDescription(_ProjectDesc& desc)
{
    const std::int32_t diskCount = desc.layout.diskCount;
    if (diskCount < 0 || diskCount > kMaxDisks) {
        new (&desc) _ProjectDesc;
        return;
    }
    // Clearing 724 KiB for every query would cost more than the engine's own work on it.
    auto* bytes = reinterpret_cast<unsigned char*>(&desc);
    constexpr std::size_t table = offsetof(_ProjectDesc, layout) + offsetof(tagEntireComputerInf, disks);
    constexpr std::size_t tableEnd = table + sizeof(desc.layout.disks);
    std::memset(bytes, 0, table + static_cast<std::size_t>(diskCount) * sizeof(tagDiskInf));
    std::memset(bytes + tableEnd, 0, sizeof(desc) - tableEnd);
    desc.layout.presetOne = 1;
}

std::wstring ProjectDisplayText(std::wstring_view description)
{
    return CutText(description, kDisplayLength, kDisplayLength);
}

std::wstring LatestCaption(std::wstring_view caption, std::wstring_view project, std::wstring_view date)
{
    if (project.empty() || date.empty()) return std::wstring(caption);
    return FormatText(L"%s: %s [%s]", caption, ShownAsIs(project), ShownAsIs(date));
}

bool LayoutHoldsSomething(const tagEntireComputerInf& layout)
{
    if (layout.diskCount <= 0) return false;
    return layout.entireComputer != 0 || AnyDiskSelected(layout) || AnyPartitionSelected(layout);
}

bool ProjectFitsRestoreType(const tagEntireComputerInf& layout, int restoreType)
{
    if (layout.diskCount <= 0) return false;
    switch (restoreType) {
    case 0: return layout.entireComputer != 0;
    case 1: return AnyDiskSelected(layout);
    case 2: return AnyPartitionSelected(layout);
    default: return false;
    }
}

std::span<const std::uint32_t> ProjectIds(const _Projects* list, const ReadableExtent& readable)
{
    constexpr std::size_t header = offsetof(_Projects, ids);
    if (!list || readable(list, header) < header) return {};
    const std::size_t bytes = readable(list, header + std::size_t{list->count} * sizeof(std::uint32_t));
    return {list->ids, bytes < header ? 0 : (bytes - header) / sizeof(std::uint32_t)};
}

std::uint64_t NewestBackupTime(std::span<const _ProjectHistoryEntry> history)
{
    std::uint64_t newest = 0;
    for (const _ProjectHistoryEntry& entry : history) {
        const std::uint64_t time = entry.backupTime;   // packed: copied out before comparing
        if (time > newest) newest = time;
    }
    return newest;
}

std::optional<std::size_t> ProjectWithNewestBackup(std::span<const std::uint64_t> newestTimes)
{
    std::optional<std::size_t> found;
    std::uint64_t newest = 0;
    for (std::size_t i = 0; i < newestTimes.size(); ++i) {
        if (newestTimes[i] > newest) {   // strictly newer: a tie keeps the earlier project
            newest = newestTimes[i];
            found = i;
        }
    }
    return found;
}

std::vector<std::uint64_t> OfferedArchives(std::span<const _ProjectHistoryEntry> history)
{
    std::vector<std::uint64_t> times;
    for (auto entry = history.rbegin(); entry != history.rend(); ++entry) {
        const std::uint64_t time = entry->backupTime;
        if (time != 0) times.push_back(time);
    }
    return times;
}

}  // namespace palto
