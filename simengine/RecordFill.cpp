#include "simengine/RecordFill.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "simengine/Protect.h"

namespace sim {

namespace {

char16_t* NewText(Allocations& allocations, const std::u16string& text)
{
    auto* copy = static_cast<char16_t*>(allocations.Allocate((text.size() + 1) * sizeof(char16_t)));
    if (copy) std::copy(text.begin(), text.end(), copy);   // the block is zero-filled: the end is there
    return copy;
}

void FillPartition(tagPartitionInf& record, const Partition& partition, bool withFlags)
{
    record.partitionNumber = partition.number;
    record.driveLetter = partition.driveLetter;
    const std::size_t length = std::min(partition.label.size(), std::size(record.label) - 1);
    std::copy_n(partition.label.begin(), length, record.label);
    record.label[length] = 0;
    record.partitionSize = partition.size;
    record.typeCode = partition.typeCode;
    record.oemSkip = partition.oemSkip;
    record.selected = withFlags && partition.selected;
}

void FillDisk(tagDiskInf& record, const Disk& disk, bool withFlags)
{
    record.diskNumber = disk.number;
    record.partitionCount = static_cast<std::int32_t>(std::min<std::size_t>(disk.partitions.size(), kMaxPartitionsPerDisk));
    for (std::int32_t i = 0; i < record.partitionCount; ++i) FillPartition(record.partitions[i], disk.partitions[i], withFlags);
    record.diskSize = disk.size;
    record.selected = withFlags && disk.selected;
}

}  // namespace

void FillLayout(tagEntireComputerInf& record, const Layout& layout, bool withFlags)
{
    std::memset(static_cast<void*>(&record), 0, sizeof(record));
    record.presetOne = 1;
    record.diskCount = static_cast<std::int32_t>(std::min<std::size_t>(layout.disks.size(), kMaxDisks));
    for (std::int32_t i = 0; i < record.diskCount; ++i) {
        FillDisk(record.disks[i], layout.disks[i], withFlags);
        record.totalSize += layout.disks[i].size;
    }
    record.entireComputer = withFlags && layout.entireComputer;
}

void ReleaseDescriptionTexts(Allocations& allocations, _ProjectDesc& desc)
{
    for (char16_t** text : {&desc.location, &desc.description, &desc.encryptedPassword}) {
        if (allocations.Release(*text)) *text = nullptr;
    }
}

bool FillDescription(Allocations& allocations, _ProjectDesc& desc, const Project& project)
{
    ReleaseDescriptionTexts(allocations, desc);
    desc.location = NewText(allocations, project.location);
    desc.description = NewText(allocations, project.description);
    desc.encryptedPassword = project.password ? NewText(allocations, ProtectedForm(*project.password)) : nullptr;
    if (!desc.location || !desc.description || (project.password && !desc.encryptedPassword)) {
        ReleaseDescriptionTexts(allocations, desc);
        return false;
    }
    FillLayout(desc.layout, project.layout, true);
    return true;
}

_Projects* NewProjectList(Allocations& allocations, const Catalog& catalog)
{
    const std::size_t count = catalog.projects.size();
    auto* list = static_cast<_Projects*>(allocations.Allocate(sizeof(_Projects) + count * sizeof(std::uint32_t)));
    if (!list) return nullptr;
    list->count = static_cast<std::uint32_t>(count);
    for (std::size_t i = 0; i < count; ++i) list->ids[i] = catalog.projects[i].id;
    return list;
}

_ProjectHistoryList* NewHistoryList(Allocations& allocations, const Project& project)
{
    const std::size_t count = project.history.size();
    auto* list = static_cast<_ProjectHistoryList*>(
        allocations.Allocate(offsetof(_ProjectHistoryList, entries) + count * sizeof(_ProjectHistoryEntry)));
    if (!list) return nullptr;
    list->count = static_cast<std::int32_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        list->entries[i].backupTime = project.history[i].time;
        list->entries[i].notBase = project.history[i].notBase;
    }
    return list;
}

}  // namespace sim
