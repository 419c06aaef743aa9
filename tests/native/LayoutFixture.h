// Small disk layouts written the way a test reads them: disks with their partitions,
// sizes in gigabytes. Each layout is a heap block of exactly the record's size, so
// ASan sees any read or write past it.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/HalvexRecords.h"

namespace palto::test {

constexpr std::uint64_t GB = 1ull << 30;

struct PartitionFixture {
    std::uint32_t number = 1;
    std::u16string_view label;
    std::uint64_t size = 0;          // bytes
    char16_t drive = 0;
    bool selected = false;
    std::uint32_t typeCode = 7;
    bool oemSkip = false;
};

struct DiskFixture {
    std::uint32_t number = 0;
    std::uint64_t size = 0;          // bytes
    std::vector<PartitionFixture> partitions;
    bool selected = false;
};

inline std::unique_ptr<tagEntireComputerInf> MakeLayout(const std::vector<DiskFixture>& disks)
{
    auto layout = std::make_unique<tagEntireComputerInf>();
    layout->diskCount = static_cast<std::int32_t>(disks.size());
    for (std::size_t d = 0; d < disks.size(); ++d) {
        tagDiskInf& disk = layout->disks[d];
        disk.diskNumber = disks[d].number;
        disk.diskSize = disks[d].size;
        disk.selected = disks[d].selected;
        disk.partitionCount = static_cast<std::int32_t>(disks[d].partitions.size());
        layout->totalSize += disks[d].size;
        for (std::size_t p = 0; p < disks[d].partitions.size(); ++p) {
            const PartitionFixture& given = disks[d].partitions[p];
            tagPartitionInf& partition = disk.partitions[p];
            partition.partitionNumber = given.number;
            std::memcpy(partition.label, given.label.data(), given.label.size() * sizeof(char16_t));
            partition.partitionSize = given.size;
            partition.driveLetter = given.drive;
            partition.selected = given.selected;
            partition.typeCode = given.typeCode;
            partition.oemSkip = given.oemSkip;
        }
    }
    return layout;
}

// Disks of the given sizes (gigabytes), numbered from 0, without partitions.
inline std::unique_ptr<tagEntireComputerInf> MakeDisks(const std::vector<std::uint64_t>& sizesInGigabytes)
{
    std::vector<DiskFixture> disks;
    for (std::uint64_t size : sizesInGigabytes)
        disks.push_back({static_cast<std::uint32_t>(disks.size()), size * GB, {}});
    return MakeLayout(disks);
}

// A layout filled with one byte everywhere, as a faulty engine might leave it.
inline std::unique_ptr<tagEntireComputerInf> GarbageLayout(unsigned char fill = 0x5A)
{
    auto layout = std::make_unique<tagEntireComputerInf>();
    std::memset(static_cast<void*>(layout.get()), fill, sizeof(*layout));
    return layout;
}

}  // namespace palto::test
