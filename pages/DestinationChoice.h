// The disk/partition destination without its window: the source and target entries
// built from the two layouts, the automatic choice of a target, whether Next may be
// pressed and which warning explains why not, the check on Next and the marking of the
// chosen source and target in the layouts.
//
// The page keeps one DestinationChoice for its whole life and shows what it holds:
// entry k of a list is entry k of `sources` or `targets`, and the selections are
// `sourceSel` and `targetSel`. Templates come from the resource module and are passed
// in. Every walk over a layout goes through the clamped readers, and every index, from
// an entry or a selection, is checked before it is used: nothing reads or writes
// outside a record or a list, whatever counts the engine reports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/HalvexRecords.h"

namespace palto {

// The templates the entries are made of, as loaded from the resource module.
struct EntryTexts {
    std::wstring diskWithPartitions;   // IDS_DISK_WITH_PARTITIONS: disk number, partition names, gigabytes
    std::wstring partition;            // IDS_PARTITION_ENTRY: disk number, partition number, name, gigabytes
    std::wstring disk;                 // IDS_DISK_ENTRY: disk number, gigabytes
    std::wstring noLabel;              // IDS_NO_LABEL: the name of a partition without a label
};

// The partitions hidden under the OEM feature. Keywords are kept in lower case (letters
// A to Z). An empty keyword is no keyword: it hides nothing, so a resource module that
// lacks one of the two strings hides neither every labelled source partition (an
// empty text is contained in every label) nor every unlabelled target partition.
struct OemFilter {
    bool on = false;
    std::wstring keyword1;
    std::wstring keyword2;
};

// The filter for the OEM flag and the texts of IDS_OEM_KEYWORD1 and IDS_OEM_KEYWORD2.
OemFilter MakeOemFilter(bool on, std::wstring_view keyword1, std::wstring_view keyword2);

// A backed-up partition not offered as a source: in OEM mode, one the engine marked
// with oemSkip, or whose label contains a keyword anywhere (without regard to case).
bool IsOemHiddenSource(const tagPartitionInf& partition, const OemFilter& oem);

// A partition here not offered as a target: in OEM mode, type code 39 or 40, no drive
// letter, or a label that as a whole equals a keyword or "system reserved" (without
// regard to case).
bool IsOemHiddenTarget(const tagPartitionInf& partition, const OemFilter& oem);

// The volume the program runs from, never offered as a target; -1 = unknown.
struct ProgramVolume {
    std::int32_t diskNumber = -1;
    std::int32_t partitionNumber = -1;
};

// What the lists are made of besides the layouts.
struct ListSettings {
    EntryTexts texts;
    OemFilter oem;
    ProgramVolume program;
    wchar_t backupDrive = 0;   // drive letter of the chosen backup's location; 0 = none
};

// One entry of the source or the target list.
struct ListEntry {
    std::wstring text;
    std::uint64_t size = 0;        // bytes: of the disk, or of the partition
    int disk = -1;                 // index into the disks of the layout it was built from
    int partition = -1;            // index into that disk's partitions; -1 = the whole disk
    std::uint64_t diskSize = 0;    // bytes of the disk the entry lies on
    bool holdsBackup = false;      // targets only: restoring here would overwrite the backup
};

// Whole disks in the engine's order: as sources only the disks the backup holds
// (selected flag set), as targets every disk. A disk with partitions is named by its
// partitions (IDS_DISK_WITH_PARTITIONS; in OEM mode without type code 40), one without
// by IDS_DISK_ENTRY. Targets that carry the backup's drive are marked holdsBackup.
std::vector<ListEntry> BuildDiskList(const tagEntireComputerInf& layout, bool isSource, const ListSettings& settings);

// The backed-up partitions the backup holds (selected flag set), disk by disk, less
// those the OEM source filter hides; IDS_PARTITION_ENTRY each.
std::vector<ListEntry> BuildPartitionSourceList(const tagEntireComputerInf& backedUp, const ListSettings& settings);

// This computer's partitions, less the program's own volume and those the OEM target
// filter hides, and its disks without partitions as whole-disk entries (IDS_DISK_ENTRY).
// A disk with partitions never becomes a whole-disk entry, even when all are left out.
std::vector<ListEntry> BuildPartitionTargetList(const tagEntireComputerInf& here, const ListSettings& settings);

// Whether restoring onto the target (`partition` -1: the whole disk) would overwrite the
// backup: the partition has the backup's drive letter, or the disk carries one that has.
// A backup without a drive letter is held by no target.
bool TargetHoldsBackup(const tagEntireComputerInf& here, int disk, int partition, wchar_t backupDrive);

// What the selections were made for: another restore type or another backup makes them
// meaningless.
struct ChoiceKey {
    std::int32_t restoreType = 3;
    std::uint32_t projectId = 0;
    std::uint64_t archiveId = 0;
    bool operator==(const ChoiceKey&) const = default;
};

struct DestinationChoice {
    std::vector<ListEntry> sources;
    std::vector<ListEntry> targets;
    int sourceSel = 0;                  // may lie outside the list: then nothing is selected
    int targetSel = 0;
    bool targetChosen = false;          // the user picked a target: it is never moved again
    std::optional<ChoiceKey> madeFor;   // what the selections belong to
};

// On entry into the page, after both layouts were queried: keeps the selections and the
// user's pick when `key` is what they were made for, else starts again from the first
// entries; rebuilds both lists by the restore type (1 disks, 2 partitions, else none);
// then, unless the user picked a target, chooses one automatically.
void EnterChoice(DestinationChoice& choice, const ChoiceKey& key, const tagEntireComputerInf& backedUp,
                 const tagEntireComputerInf& here, const ListSettings& settings);

// Whether `target` can take `source`: it does not hold the backup, it is at least as
// large, and a whole-disk target is at least as large as the disk the source lies on.
bool Fits(const ListEntry& source, const ListEntry& target);

// Chooses the smallest target that fits the selected source; among equally small ones
// the current selection stays, else the first. A selection beyond the target list
// counts as none. Returns whether `targetSel` changed; without a selected source or a
// fitting target nothing changes.
bool AutoPickTarget(DestinationChoice& choice);

// The user selected source `index`: unless the user picked a target, the target follows.
// Returns whether `targetSel` changed.
bool SelectSource(DestinationChoice& choice, int index);

// The user selected target `index`: from now on the target is never chosen for them.
void SelectTarget(DestinationChoice& choice, int index);

// Whether Next is enabled, and which warning the page shows (0: none, hidden).
struct NextState {
    bool nextEnabled = false;
    unsigned warningTextId = 0;   // IDS_TARGET_HOLDS_BACKUP, IDS_TARGET_PARTITION_TOO_SMALL or IDS_TARGET_DISK_TOO_SMALL
};

// Without a valid source and target selection Next is disabled and no warning shown.
NextState DecideNextState(const DestinationChoice& choice);

// The check on Next: the destination text to store, or nothing when the choice cannot
// be taken (a selection outside its list, an entry outside its layout, a target that
// does not fit or holds the backup). A whole disk is named by `diskEntryTemplate`
// (IDS_DISK_ENTRY), a partition by `partitionDestinationTemplate` (IDS_PARTITION_DESTINATION:
// disk number, partition number).
std::optional<std::wstring> CheckNextStep(const DestinationChoice& choice, const tagEntireComputerInf& backedUp,
                                          const tagEntireComputerInf& here, std::wstring_view diskEntryTemplate,
                                          std::wstring_view partitionDestinationTemplate);

// Rewrites the backed-up layout's flags so that only the chosen source stays selected:
// a disk source keeps its disk flag and clears every partition flag; a partition source
// keeps its partition flag and clears every other partition flag and every disk flag.
// Returns false, changing nothing, when the selection or its entry is invalid.
bool MarkChosenSource(const DestinationChoice& choice, tagEntireComputerInf& backedUp);

// Sets the flag of the chosen target in this computer's layout (its partition's, or the
// disk's for a whole-disk target), clearing nothing. Returns false, changing nothing,
// when the selection or its entry is invalid.
bool MarkChosenTarget(const DestinationChoice& choice, tagEntireComputerInf& here);

}  // namespace palto
