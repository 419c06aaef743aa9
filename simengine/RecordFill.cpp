#include "simengine/RecordFill.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "simengine/Protect.h"

namespace sim {

namespace {

char16_t* NewText(Allocations& allocations, const std::u16string& text)
{
    auto* copy = static_cast<char16_t*>(allocations.Allocate((text.size() + 1) * sizeof(char16_t)));
    if (copy) std::copy(text.begin(), text.end(), copy);   // the block is zero-filled: the end is there
    return copy;
}

// A text without its zero, at the end of readable memory.
char16_t* NewUnterminatedText(Allocations& allocations, const std::u16string& text)
{
    auto* copy = static_cast<char16_t*>(allocations.AllocateAtPageEnd(text.size() * sizeof(char16_t)));
    if (copy) std::copy(text.begin(), text.end(), copy);
    return copy;
}

char16_t* NewText(Allocations& allocations, const std::u16string& text, bool unterminated)
{
    return unterminated ? NewUnterminatedText(allocations, text) : NewText(allocations, text);
}

// The label, then '~' up to the field's last character: no zero anywhere.
void FillWholeLabel(tagPartitionInf& partition)
{
    const auto end = std::end(partition.label);
    std::fill(std::find(std::begin(partition.label), end, u'\0'), end, u'~');
}

// The password as a description carries it: the EncryptString form, or what a faulty
// engine leaves there instead; none for a null pointer.
std::optional<std::u16string> PasswordText(const Project& project, std::size_t formLength)
{
    if (!project.password || project.hostile.password == Hostile::Password::Null) return std::nullopt;
    if (project.hostile.password == Hostile::Password::Empty) return u"";
    return ProtectedForm(*project.password, formLength);
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

void SpoilLayout(tagEntireComputerInf& record, const HostileCounts& counts, bool unterminatedLabels)
{
    if (unterminatedLabels) {
        for (std::int32_t d = 0; d < record.diskCount; ++d) {
            tagDiskInf& disk = record.disks[d];
            for (std::int32_t p = 0; p < disk.partitionCount; ++p) FillWholeLabel(disk.partitions[p]);
        }
    }
    if (counts.partitionCount) {
        for (tagDiskInf& disk : record.disks) disk.partitionCount = *counts.partitionCount;
    }
    if (counts.diskCount) record.diskCount = *counts.diskCount;
}

void ReleaseDescriptionTexts(Allocations& allocations, _ProjectDesc& desc)
{
    for (char16_t** text : {&desc.location, &desc.description, &desc.encryptedPassword}) {
        if (allocations.Release(*text)) *text = nullptr;
    }
}

bool FillDescription(Allocations& allocations, _ProjectDesc& desc, const Project& project, std::size_t formLength)
{
    const Hostile& hostile = project.hostile;
    ReleaseDescriptionTexts(allocations, desc);
    desc.location = NewText(allocations, project.location, hostile.unterminatedLocation);
    desc.description = NewText(allocations, project.description, hostile.unterminatedDescription);
    const std::optional<std::u16string> password = PasswordText(project, formLength);
    desc.encryptedPassword = password ? NewText(allocations, *password) : nullptr;
    if (!desc.location || !desc.description || (password && !desc.encryptedPassword)) {
        ReleaseDescriptionTexts(allocations, desc);
        return false;
    }
    FillLayout(desc.layout, project.layout, true);
    SpoilLayout(desc.layout, hostile.backedUp, hostile.unterminatedLabels);
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
    const std::size_t bytes = offsetof(_ProjectHistoryList, entries) + count * sizeof(_ProjectHistoryEntry);
    const std::optional<std::int32_t> hostileCount = project.hostile.historyCount;
    auto* list = static_cast<_ProjectHistoryList*>(hostileCount ? allocations.AllocateAtPageEnd(bytes) : allocations.Allocate(bytes));
    if (!list) return nullptr;
    list->count = hostileCount.value_or(static_cast<std::int32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        list->entries[i].backupTime = project.history[i].time;
        list->entries[i].notBase = project.history[i].notBase;
    }
    return list;
}

}  // namespace sim
