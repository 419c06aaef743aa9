// The entire-computer destination without its window: whether the backed-up disks fit
// onto this computer's, and the texts that describe this computer's disks. Templates
// come from the resource module and are passed in; every walk over a layout goes
// through the clamped readers, so a damaged count never reads past the record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/HalvexRecords.h"

namespace palto {

// Whether every backed-up disk finds a disk here at least as large: the largest
// backed-up disk against the largest disk here, the second against the second, and so
// on (byte counts; equal sizes fit). More backed-up disks than disks here never fit;
// extra disks here are ignored. Disk numbers and order play no part.
bool EntireComputerFits(const tagEntireComputerInf& backedUp, const tagEntireComputerInf& here);

// Whether a partition of a disk here is the backup's drive (`backupDrive`, 0 for none):
// an entire-computer restore overwrites every disk here, the backup's own with them.
bool BackupOnThisComputer(const tagEntireComputerInf& here, wchar_t backupDrive);

// The disks here (indexes into Disks(here)) that the fit check pairs with a backed-up
// disk: as many of the largest as the backup has disks, and every disk as large as the
// smallest of them, since equal sizes could be paired either way.
std::vector<std::size_t> PairedDisks(const tagEntireComputerInf& backedUp, const tagEntireComputerInf& here);

// One disk in `diskEntryTemplate` (IDS_DISK_ENTRY: disk number, gigabytes).
std::wstring DiskEntryText(const tagDiskInf& disk, std::wstring_view diskEntryTemplate);

// Every disk here in the engine's order, one IDS_DISK_ENTRY each, with nothing between
// them (a line break belongs to the template); empty for a layout without disks.
std::wstring DiskListText(const tagEntireComputerInf& here, std::wstring_view diskEntryTemplate);

// The destination of an entire-computer restore in `entireDestinationTemplate`
// (IDS_ENTIRE_DESTINATION: total gigabytes, number of disks).
std::wstring EntireDestinationText(const tagEntireComputerInf& here, std::wstring_view entireDestinationTemplate);

}  // namespace palto
