#include "engine/RecordReaders.h"

#include <algorithm>

namespace palto {

namespace {

std::size_t Clamp(std::int32_t count, int max)
{
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, max));
}

// Characters up to the first zero, never more than `max`.
std::wstring BoundedText(const char16_t* text, std::size_t max)
{
    std::wstring copy;
    if (!text) return copy;
    for (std::size_t i = 0; i < max && text[i] != 0; ++i) copy += static_cast<wchar_t>(text[i]);
    return copy;
}

constexpr std::size_t kMaxEncryptedPassword = 259;   // EncryptString fills 260 characters with its zero

}  // namespace

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
    return BoundedText(partition.label, std::size(partition.label));
}

std::wstring LocationText(const _ProjectDesc* desc)
{
    return desc ? BoundedText(desc->location, kMaxEngineText) : std::wstring();
}

std::wstring DescriptionText(const _ProjectDesc* desc)
{
    return desc ? BoundedText(desc->description, kMaxEngineText) : std::wstring();
}

std::wstring EncryptedPasswordText(const _ProjectDesc* desc)
{
    return desc ? BoundedText(desc->encryptedPassword, kMaxEncryptedPassword) : std::wstring();
}

wchar_t LocationDrive(const _ProjectDesc* desc)
{
    return desc && desc->location ? static_cast<wchar_t>(desc->location[0]) : L'\0';
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

std::span<const _ProjectHistoryEntry> HistoryEntries(const _ProjectHistoryList* list)
{
    if (!list || list->count <= 0) return {};
    return {list->entries, static_cast<std::size_t>(list->count)};
}

std::span<_ProjectHistoryEntry> HistoryEntries(_ProjectHistoryList* list)
{
    if (!list || list->count <= 0) return {};
    return {list->entries, static_cast<std::size_t>(list->count)};
}

double BytesToGigabytes(std::uint64_t bytes)
{
    return static_cast<double>(bytes) * 0x1p-30;
}

}  // namespace palto
