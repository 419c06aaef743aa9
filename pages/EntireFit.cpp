#include "pages/EntireFit.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/RecordReaders.h"
#include "framework/Format.h"
#include "pages/DestinationChoice.h"

namespace palto {

namespace {

// The disk sizes of a layout, largest first.
std::vector<std::uint64_t> SizesLargestFirst(const tagEntireComputerInf& layout)
{
    std::vector<std::uint64_t> sizes;
    for (const tagDiskInf& disk : Disks(layout)) sizes.push_back(disk.diskSize);
    std::ranges::sort(sizes, std::greater<>());
    return sizes;
}

}  // namespace

bool EntireComputerFits(const tagEntireComputerInf& backedUp, const tagEntireComputerInf& here)
{
    const std::vector<std::uint64_t> needed = SizesLargestFirst(backedUp);
    const std::vector<std::uint64_t> offered = SizesLargestFirst(here);
    if (needed.size() > offered.size()) return false;
    return std::equal(needed.begin(), needed.end(), offered.begin(), std::less_equal<>());
}

bool BackupOnThisComputer(const tagEntireComputerInf& here, wchar_t backupDrive)
{
    const int diskCount = static_cast<int>(Disks(here).size());
    for (int disk = 0; disk < diskCount; ++disk)
        if (TargetHoldsBackup(here, disk, -1, backupDrive)) return true;
    return false;
}

std::vector<std::size_t> PairedDisks(const tagEntireComputerInf& backedUp, const tagEntireComputerInf& here)
{
    const std::size_t needed = Disks(backedUp).size();
    const std::vector<std::uint64_t> offered = SizesLargestFirst(here);
    if (needed == 0 || offered.empty()) return {};
    const std::uint64_t smallestPaired = offered[std::min(needed, offered.size()) - 1];
    std::vector<std::size_t> paired;
    const auto disks = Disks(here);
    for (std::size_t d = 0; d < disks.size(); ++d)
        if (disks[d].diskSize >= smallestPaired) paired.push_back(d);
    return paired;
}

std::wstring DiskEntryText(const tagDiskInf& disk, std::wstring_view diskEntryTemplate)
{
    return FormatText(diskEntryTemplate, disk.diskNumber, BytesToGigabytes(disk.diskSize));
}

std::wstring DiskListText(const tagEntireComputerInf& here, std::wstring_view diskEntryTemplate)
{
    std::wstring text;
    for (const tagDiskInf& disk : Disks(here)) text += DiskEntryText(disk, diskEntryTemplate);
    return text;
}

std::wstring EntireDestinationText(const tagEntireComputerInf& here, std::wstring_view entireDestinationTemplate)
{
    const int diskCount = static_cast<int>(Disks(here).size());
    return FormatText(entireDestinationTemplate, BytesToGigabytes(here.totalSize), diskCount);
}

}  // namespace palto
