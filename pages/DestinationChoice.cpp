#include "pages/DestinationChoice.h"

#include <algorithm>
#include <utility>

#include "engine/RecordReaders.h"
#include "framework/Format.h"
#include "pages/EntireFit.h"
#include "resources/ids.h"

namespace palto {

namespace {

// Letter case is ignored for A to Z only; every other character compares as it stands.
std::wstring LowerLetters(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return lower;
}

// Drive letters without regard to case; anything but a letter is no drive at all.
bool SameDrive(wchar_t a, wchar_t b)
{
    const auto upper = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return upper(a) >= L'A' && upper(a) <= L'Z' && upper(a) == upper(b);
}

std::wstring PartitionName(const tagPartitionInf& partition, const EntryTexts& texts)
{
    std::wstring label = LabelText(partition);
    return label.empty() ? texts.noLabel : label;
}

ListEntry PartitionEntry(const tagDiskInf& disk, int diskIndex, int partitionIndex, const EntryTexts& texts)
{
    const tagPartitionInf& partition = disk.partitions[partitionIndex];
    return {FormatText(texts.partition, disk.diskNumber, partition.partitionNumber, PartitionName(partition, texts),
                       BytesToGigabytes(partition.partitionSize)),
            partition.partitionSize, diskIndex, partitionIndex, disk.diskSize};
}

ListEntry WholeDiskEntry(std::wstring text, const tagDiskInf& disk, int diskIndex)
{
    return {std::move(text), disk.diskSize, diskIndex, -1, disk.diskSize};
}

std::wstring PartitionNames(const tagDiskInf& disk, const ListSettings& settings)
{
    std::wstring names;
    for (const tagPartitionInf& partition : Partitions(disk))
        if (!(settings.oem.on && partition.typeCode == 40)) names += PartitionName(partition, settings.texts) + L", ";
    return names;
}

void MarkTargetsHoldingBackup(std::vector<ListEntry>& targets, const tagEntireComputerInf& here, wchar_t backupDrive)
{
    for (ListEntry& target : targets)
        target.holdsBackup = TargetHoldsBackup(here, target.disk, target.partition, backupDrive);
}

// Element `index` of a span or a list, null when it has none.
template <class Items>
auto* At(Items&& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? &items[index] : nullptr;
}

// Whether an entry lies inside the layout: its disk, and its partition unless -1.
bool EntryInLayout(const tagEntireComputerInf& layout, const ListEntry& entry)
{
    const tagDiskInf* disk = At(Disks(layout), entry.disk);
    return disk && (entry.partition == -1 || At(Partitions(*disk), entry.partition));
}

}  // namespace

OemFilter MakeOemFilter(bool on, std::wstring_view keyword1, std::wstring_view keyword2)
{
    return {on, LowerLetters(keyword1), LowerLetters(keyword2)};
}

bool IsOemHiddenSource(const tagPartitionInf& partition, const OemFilter& oem)
{
    if (!oem.on) return false;
    if (partition.oemSkip != 0) return true;
    const std::wstring label = LowerLetters(LabelText(partition));
    const auto contains = [&](const std::wstring& keyword) {
        return !keyword.empty() && label.find(keyword) != std::wstring::npos;
    };
    return contains(oem.keyword1) || contains(oem.keyword2);
}

bool IsOemHiddenTarget(const tagPartitionInf& partition, const OemFilter& oem)
{
    if (!oem.on) return false;
    if (partition.typeCode == 39 || partition.typeCode == 40 || partition.driveLetter == 0) return true;
    const std::wstring label = LowerLetters(LabelText(partition));
    const auto equals = [&](const std::wstring& keyword) { return !keyword.empty() && label == keyword; };
    return equals(oem.keyword1) || equals(oem.keyword2) || label == L"system reserved";
}

std::vector<ListEntry> BuildDiskList(const tagEntireComputerInf& layout, bool isSource, const ListSettings& settings)
{
    std::vector<ListEntry> entries;
    const auto disks = Disks(layout);
    for (int d = 0; d < static_cast<int>(disks.size()); ++d) {
        const tagDiskInf& disk = disks[d];
        if (isSource && !disk.selected) continue;
        std::wstring text = Partitions(disk).empty()
            ? DiskEntryText(disk, settings.texts.disk)
            : FormatText(settings.texts.diskWithPartitions, disk.diskNumber, PartitionNames(disk, settings),
                         BytesToGigabytes(disk.diskSize));
        entries.push_back(WholeDiskEntry(std::move(text), disk, d));
    }
    if (!isSource) MarkTargetsHoldingBackup(entries, layout, settings.backupDrive);
    return entries;
}

std::vector<ListEntry> BuildPartitionSourceList(const tagEntireComputerInf& backedUp, const ListSettings& settings)
{
    std::vector<ListEntry> entries;
    const auto disks = Disks(backedUp);
    for (int d = 0; d < static_cast<int>(disks.size()); ++d) {
        const auto partitions = Partitions(disks[d]);
        for (int p = 0; p < static_cast<int>(partitions.size()); ++p)
            if (partitions[p].selected && !IsOemHiddenSource(partitions[p], settings.oem))
                entries.push_back(PartitionEntry(disks[d], d, p, settings.texts));
    }
    return entries;
}

std::vector<ListEntry> BuildPartitionTargetList(const tagEntireComputerInf& here, const ListSettings& settings)
{
    const auto isProgramVolume = [&](const tagDiskInf& disk, const tagPartitionInf& partition) {
        const ProgramVolume& program = settings.program;
        return program.diskNumber >= 0 && program.partitionNumber >= 0 &&
               disk.diskNumber == static_cast<std::uint32_t>(program.diskNumber) &&
               partition.partitionNumber == static_cast<std::uint32_t>(program.partitionNumber);
    };
    std::vector<ListEntry> entries;
    const auto disks = Disks(here);
    for (int d = 0; d < static_cast<int>(disks.size()); ++d) {
        const auto partitions = Partitions(disks[d]);
        if (partitions.empty()) entries.push_back(WholeDiskEntry(DiskEntryText(disks[d], settings.texts.disk), disks[d], d));
        for (int p = 0; p < static_cast<int>(partitions.size()); ++p)
            if (!isProgramVolume(disks[d], partitions[p]) && !IsOemHiddenTarget(partitions[p], settings.oem))
                entries.push_back(PartitionEntry(disks[d], d, p, settings.texts));
    }
    MarkTargetsHoldingBackup(entries, here, settings.backupDrive);
    return entries;
}

bool TargetHoldsBackup(const tagEntireComputerInf& here, int disk, int partition, wchar_t backupDrive)
{
    const tagDiskInf* target = At(Disks(here), disk);
    if (!target) return false;
    const auto holds = [&](const tagPartitionInf& p) { return SameDrive(p.driveLetter, backupDrive); };
    if (partition == -1) return std::ranges::any_of(Partitions(*target), holds);
    const tagPartitionInf* p = At(Partitions(*target), partition);
    return p && holds(*p);
}

void EnterChoice(DestinationChoice& choice, const ChoiceKey& key, const tagEntireComputerInf& backedUp,
                 const tagEntireComputerInf& here, const ListSettings& settings)
{
    if (choice.madeFor && *choice.madeFor != key) {
        choice.sourceSel = 0;
        choice.targetSel = 0;
        choice.targetChosen = false;
    }
    choice.madeFor = key;

    choice.sources.clear();
    choice.targets.clear();
    if (key.restoreType == 1) {
        choice.sources = BuildDiskList(backedUp, true, settings);
        choice.targets = BuildDiskList(here, false, settings);
    } else if (key.restoreType == 2) {
        choice.sources = BuildPartitionSourceList(backedUp, settings);
        choice.targets = BuildPartitionTargetList(here, settings);
    }
    if (!choice.targetChosen) AutoPickTarget(choice);
}

bool Fits(const ListEntry& source, const ListEntry& target)
{
    const bool wholeDisk = target.partition == -1;
    return !target.holdsBackup && source.size <= target.size && (!wholeDisk || source.diskSize <= target.size);
}

bool AutoPickTarget(DestinationChoice& choice)
{
    const ListEntry* source = At(choice.sources, choice.sourceSel);
    if (!source || choice.targets.empty()) return false;

    const std::vector<ListEntry>& targets = choice.targets;
    const auto fits = [&](int i) { return Fits(*source, targets[i]); };
    int best = At(targets, choice.targetSel) ? choice.targetSel : 0;
    for (int i = 0; i < static_cast<int>(targets.size()); ++i)
        if (fits(i) && (!fits(best) || targets[i].size < targets[best].size)) best = i;

    if (best == choice.targetSel || !fits(best)) return false;
    choice.targetSel = best;
    return true;
}

bool SelectSource(DestinationChoice& choice, int index)
{
    choice.sourceSel = index;
    return !choice.targetChosen && AutoPickTarget(choice);
}

void SelectTarget(DestinationChoice& choice, int index)
{
    choice.targetChosen = true;
    choice.targetSel = index;
}

NextState DecideNextState(const DestinationChoice& choice)
{
    const ListEntry* source = At(choice.sources, choice.sourceSel);
    const ListEntry* target = At(choice.targets, choice.targetSel);
    if (!source || !target) return {};
    if (target->holdsBackup) return {false, IDS_TARGET_HOLDS_BACKUP};
    if (!Fits(*source, *target))
        return {false, target->partition == -1 ? unsigned{IDS_TARGET_DISK_TOO_SMALL} : unsigned{IDS_TARGET_PARTITION_TOO_SMALL}};
    return {true, 0};
}

std::optional<std::wstring> CheckNextStep(const DestinationChoice& choice, const tagEntireComputerInf& backedUp,
                                          const tagEntireComputerInf& here, std::wstring_view diskEntryTemplate,
                                          std::wstring_view partitionDestinationTemplate)
{
    const ListEntry* source = At(choice.sources, choice.sourceSel);
    const ListEntry* target = At(choice.targets, choice.targetSel);
    if (!source || !target || !EntryInLayout(backedUp, *source) || !EntryInLayout(here, *target)) return std::nullopt;
    if (!DecideNextState(choice).nextEnabled) return std::nullopt;

    const tagDiskInf& disk = *At(Disks(here), target->disk);
    if (target->partition == -1) return DiskEntryText(disk, diskEntryTemplate);
    return FormatText(partitionDestinationTemplate, disk.diskNumber, disk.partitions[target->partition].partitionNumber);
}

bool MarkChosenSource(const DestinationChoice& choice, tagEntireComputerInf& backedUp)
{
    const ListEntry* source = At(choice.sources, choice.sourceSel);
    if (!source || !EntryInLayout(backedUp, *source)) return false;

    const auto disks = Disks(backedUp);
    for (int d = 0; d < static_cast<int>(disks.size()); ++d) {
        const bool chosenDisk = d == source->disk;
        disks[d].selected = chosenDisk && source->partition == -1;
        const auto partitions = Partitions(disks[d]);
        for (int p = 0; p < static_cast<int>(partitions.size()); ++p)
            partitions[p].selected = chosenDisk && p == source->partition;
    }
    return true;
}

bool MarkChosenTarget(const DestinationChoice& choice, tagEntireComputerInf& here)
{
    const ListEntry* target = At(choice.targets, choice.targetSel);
    if (!target || !EntryInLayout(here, *target)) return false;

    tagDiskInf& disk = *At(Disks(here), target->disk);
    if (target->partition == -1)
        disk.selected = 1;
    else
        disk.partitions[target->partition].selected = 1;
    return true;
}

}  // namespace palto
