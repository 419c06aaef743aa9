#include "engine/RecordReaders.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#endif

namespace palto {

namespace {

std::size_t Clamp(std::int32_t count, int max)
{
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, max));
}

// Characters up to the first zero, never more than `max` nor past readable memory.
std::wstring BoundedText(const char16_t* text, std::size_t max, const ReadableExtent& readable)
{
    std::wstring copy;
    if (!text) return copy;
    const std::size_t end = std::min(max, readable(text, max * sizeof(char16_t)) / sizeof(char16_t));
    for (std::size_t i = 0; i < end && text[i] != 0; ++i) copy += static_cast<wchar_t>(text[i]);
    return copy;
}

// How many entries of a list can be read and keep the ascending order of backup times.
// Entries of time 0 (not offered) may stand anywhere: they neither end the list nor take
// part in the order, which the dated entries keep among themselves.
std::size_t ReadableEntries(const _ProjectHistoryList* list, const ReadableExtent& readable)
{
    constexpr std::size_t header = offsetof(_ProjectHistoryList, entries);
    if (!list || readable(list, header) < header || list->count <= 0) return 0;
    const auto count = static_cast<std::size_t>(list->count);
    const std::size_t bytes = readable(list, header + count * sizeof(_ProjectHistoryEntry));
    const std::size_t whole = bytes < header ? 0 : std::min(count, (bytes - header) / sizeof(_ProjectHistoryEntry));
    std::uint64_t latest = 0;
    for (std::size_t i = 0; i < whole; ++i) {
        const std::uint64_t time = list->entries[i].backupTime;
        if (time == 0) continue;
        if (time < latest) return i;
        latest = time;
    }
    return whole;
}

#ifdef _WIN32
bool IsReadable(const MEMORY_BASIC_INFORMATION& region)
{
    constexpr DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.State == MEM_COMMIT && (region.Protect & readable) != 0 &&
           (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
}
#endif

}  // namespace

std::size_t ReadableBytes(const void* address, std::size_t wanted)
{
#ifdef _WIN32
    const auto start = reinterpret_cast<std::uintptr_t>(address);
    std::size_t readable = 0;
    MEMORY_BASIC_INFORMATION region{};
    while (readable < wanted && ::VirtualQuery(reinterpret_cast<const void*>(start + readable), &region, sizeof(region)) &&
           IsReadable(region)) {
        readable = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize - start;
    }
    return std::min(readable, wanted);
#else
    (void)address;
    return wanted;
#endif
}

std::span<const tagDiskInf> Disks(const tagEntireComputerInf& layout)
{
    return {layout.disks, Clamp(layout.diskCount, kMaxDisks)};
}

std::span<tagDiskInf> Disks(tagEntireComputerInf& layout)
{
    return {layout.disks, Clamp(layout.diskCount, kMaxDisks)};
}

std::span<const tagPartitionInf> Partitions(const tagDiskInf& disk)
{
    return {disk.partitions, Clamp(disk.partitionCount, kMaxPartitionsPerDisk)};
}

std::span<tagPartitionInf> Partitions(tagDiskInf& disk)
{
    return {disk.partitions, Clamp(disk.partitionCount, kMaxPartitionsPerDisk)};
}

std::wstring LabelText(const tagPartitionInf& partition)
{
    // The field lies inside the record: all of it can be read.
    const auto wholeField = [](const void*, std::size_t wanted) { return wanted; };
    return BoundedText(partition.label, std::size(partition.label), wholeField);
}

std::wstring LocationText(const _ProjectDesc* desc, const ReadableExtent& readable)
{
    return desc ? BoundedText(desc->location, kMaxEngineText, readable) : std::wstring();
}

std::wstring DescriptionText(const _ProjectDesc* desc, const ReadableExtent& readable)
{
    return desc ? BoundedText(desc->description, kMaxEngineText, readable) : std::wstring();
}

std::wstring EncryptedPasswordText(const _ProjectDesc* desc, const ReadableExtent& readable)
{
    return desc ? BoundedText(desc->encryptedPassword, kMaxProtectedPassword + 1, readable) : std::wstring();
}

wchar_t LocationDrive(const _ProjectDesc* desc, const ReadableExtent& readable)
{
    const std::wstring first = desc ? BoundedText(desc->location, 1, readable) : std::wstring();
    return first.empty() ? L'\0' : first[0];
}

const tagEntireComputerInf* BackedUpLayout(const _ProjectRestoreInfo& info)
{
    return info.projectDesc ? &info.projectDesc->layout : nullptr;
}

tagEntireComputerInf* BackedUpLayout(_ProjectRestoreInfo& info)
{
    return info.projectDesc ? &info.projectDesc->layout : nullptr;
}

const tagEntireComputerInf* ThisComputerLayout(const _ProjectRestoreInfo& info)
{
    return info.thisComputer;
}

tagEntireComputerInf* ThisComputerLayout(_ProjectRestoreInfo& info)
{
    return info.thisComputer;
}

std::span<const _ProjectHistoryEntry> HistoryEntries(const _ProjectHistoryList* list, const ReadableExtent& readable)
{
    if (!list) return {};
    return {list->entries, ReadableEntries(list, readable)};
}

std::span<_ProjectHistoryEntry> HistoryEntries(_ProjectHistoryList* list, const ReadableExtent& readable)
{
    if (!list) return {};
    return {list->entries, ReadableEntries(list, readable)};
}

double BytesToGigabytes(std::uint64_t bytes)
{
    return static_cast<double>(bytes) * 0x1p-30;
}

}  // namespace palto
