// The entire-computer destination: the fit of the backed-up disks onto this computer's
// and the texts describing this computer's disks.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "LayoutFixture.h"
#include "pages/EntireFit.h"

namespace {

using palto::test::GB;
using palto::test::MakeDisks;

struct FitCase {
    const char* name;
    std::vector<std::uint64_t> backedUp;   // gigabytes
    std::vector<std::uint64_t> here;
    bool fits;
};

void PrintTo(const FitCase& c, std::ostream* out)
{
    *out << c.name;
}

class EntireFit : public testing::TestWithParam<FitCase> {};

TEST_P(EntireFit, PairsTheLargestDisksWithTheLargest)
{
    EXPECT_EQ(palto::EntireComputerFits(*MakeDisks(GetParam().backedUp), *MakeDisks(GetParam().here)), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Cases, EntireFit, testing::Values(
    FitCase{"LargerDisksHere", {100, 500}, {600, 100}, true},
    FitCase{"LargerDisksHereOtherOrder", {100, 500}, {100, 600}, true},
    FitCase{"SameTotalButLargestTooSmall", {100, 500}, {450, 150}, false},
    FitCase{"MoreDisksBackedUp", {1, 1, 1}, {1000, 1000}, false},
    FitCase{"ExtraDisksHereIgnored", {300}, {100, 300, 50}, true},
    FitCase{"EqualSizes", {250, 80}, {80, 250}, true},
    FitCase{"NoBackedUpDisks", {}, {100}, true},
    FitCase{"NoDisksEitherSide", {}, {}, true},
    FitCase{"NoDisksHere", {100}, {}, false}),
    [](const auto& info) { return info.param.name; });

TEST(EntireFit, ComparesSizesAsUnsignedByteCounts)
{
    auto backedUp = MakeDisks({0});
    auto here = MakeDisks({0});
    backedUp->disks[0].diskSize = 1ull << 63;
    here->disks[0].diskSize = (1ull << 63) + 1;
    EXPECT_TRUE(palto::EntireComputerFits(*backedUp, *here));
    EXPECT_FALSE(palto::EntireComputerFits(*here, *backedUp));

    // Sorting must treat 2^63 as the largest, not as a negative size.
    auto two = MakeDisks({10, 0});
    two->disks[1].diskSize = 1ull << 63;
    auto twoHere = MakeDisks({10, 20});
    EXPECT_FALSE(palto::EntireComputerFits(*two, *twoHere));
}

TEST(EntireFit, CountsBeyondTheRecordAreClamped)
{
    auto backedUp = palto::test::GarbageLayout();
    auto here = palto::test::GarbageLayout(0x5B);
    backedUp->diskCount = 27;
    here->diskCount = 27;
    EXPECT_TRUE(palto::EntireComputerFits(*backedUp, *here));   // 26 disks each, every one larger here
    here->diskCount = -1;
    EXPECT_FALSE(palto::EntireComputerFits(*backedUp, *here));
}

// The backup's location drive among this computer's partitions: an entire-computer
// restore would overwrite it.
struct BackupDriveCase {
    const char* name;
    wchar_t backupDrive;
    bool onThisComputer;
};

void PrintTo(const BackupDriveCase& c, std::ostream* out)
{
    *out << c.name;
}

class BackupDrive : public testing::TestWithParam<BackupDriveCase> {};

TEST_P(BackupDrive, IsFoundOnAnyPartitionOfAnyDiskHere)
{
    const auto here = palto::test::MakeLayout({
        {0, 100 * GB, {{1, u"System", 100 * GB, u'C'}}},
        {1, 500 * GB, {{1, u"", 200 * GB, 0}, {2, u"Data", 300 * GB, u'E'}}},
        {2, 50 * GB, {}},
    });
    EXPECT_EQ(palto::BackupOnThisComputer(*here, GetParam().backupDrive), GetParam().onThisComputer);
}

INSTANTIATE_TEST_SUITE_P(Cases, BackupDrive, testing::Values(
    BackupDriveCase{"FirstDisk", L'C', true},
    BackupDriveCase{"SecondPartitionOfSecondDisk", L'E', true},
    BackupDriveCase{"LowerCaseLocation", L'e', true},
    BackupDriveCase{"DriveElsewhere", L'G', false},
    BackupDriveCase{"NoLocationDrive", L'\0', false},   // a partition without a letter is no match
    BackupDriveCase{"NotALetter", L'\\', false}),
    [](const auto& info) { return info.param.name; });

TEST(BackupDrive, CountsBeyondTheRecordAreClamped)
{
    auto here = palto::test::GarbageLayout();
    here->diskCount = -1;
    EXPECT_FALSE(palto::BackupOnThisComputer(*here, L'Z'));
    here->diskCount = 27;
    here->disks[25].partitionCount = 1;
    here->disks[25].partitions[0].driveLetter = u'Q';
    EXPECT_TRUE(palto::BackupOnThisComputer(*here, L'Q'));
}

TEST(EntireTexts, OneDiskEntryPerDiskInTheEnginesOrder)
{
    auto here = palto::test::MakeLayout({{3, 500 * GB, {}}, {0, 3 * GB / 2, {}}});
    EXPECT_EQ(palto::DiskListText(*here, L"Disk %d: %.1f GB\r\n"), L"Disk 3: 500.0 GB\r\nDisk 0: 1.5 GB\r\n");
    EXPECT_EQ(palto::DiskListText(*MakeDisks({}), L"Disk %d: %.1f GB\r\n"), L"");
}

TEST(EntireTexts, DiskTextStopsAtTheRecordsLastDisk)
{
    auto here = palto::test::GarbageLayout();
    here->diskCount = 27;
    EXPECT_EQ(palto::DiskListText(*here, L"x"), std::wstring(26, L'x'));
}

TEST(EntireTexts, DestinationIsThisComputersTotalAndDiskCount)
{
    auto here = MakeDisks({600, 100});
    EXPECT_EQ(palto::EntireDestinationText(*here, L"%.1f GB on %d disks"), L"700.0 GB on 2 disks");
    EXPECT_EQ(palto::EntireDestinationText(*MakeDisks({}), L"%.1f GB on %d disks"), L"0.0 GB on 0 disks");
}

}  // namespace
