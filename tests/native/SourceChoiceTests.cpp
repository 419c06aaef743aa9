// Which backups the source page offers for a restore type, which it picks by itself,
// and how it shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "pages/SourceChoice.h"

namespace {

using palto::LatestCaption;
using palto::ProjectDisplayText;

// A backed-up computer: `disks` disks of two partitions each, with the flags a backup sets.
struct LayoutCase {
    const char* name;
    std::int32_t diskCount;
    bool entireComputer;
    int selectedDisk;                 // index of the disk marked whole, -1 none
    int selectedPartitionDisk;        // disk of the partition marked, -1 none
    std::int32_t partitionCount;      // partitions counted on every disk
    bool holdsSomething;
    bool fits[3];                     // types 0, 1, 2
};

std::unique_ptr<tagEntireComputerInf> MakeLayout(const LayoutCase& c)
{
    auto layout = std::make_unique<tagEntireComputerInf>();
    layout->diskCount = c.diskCount;
    layout->entireComputer = c.entireComputer;
    for (tagDiskInf& disk : layout->disks) disk.partitionCount = c.partitionCount;
    if (c.selectedDisk >= 0) layout->disks[c.selectedDisk].selected = 1;
    if (c.selectedPartitionDisk >= 0) layout->disks[c.selectedPartitionDisk].partitions[1].selected = 1;
    return layout;
}

class SourceCandidates : public testing::TestWithParam<LayoutCase> {};

TEST_P(SourceCandidates, AreTheBackupsHoldingWhatTheRestoreTypeNeeds)
{
    const LayoutCase& c = GetParam();
    const auto layout = MakeLayout(c);
    EXPECT_EQ(palto::LayoutHoldsSomething(*layout), c.holdsSomething);
    for (int type = 0; type < 3; ++type) {
        EXPECT_EQ(palto::ProjectFitsRestoreType(*layout, type), c.fits[type]) << "type " << type;
        EXPECT_EQ(palto::IsSourceCandidate(*layout, type), c.holdsSomething && c.fits[type]) << "type " << type;
    }
    for (int type : {-1, 3, 0x7FFFFFFF}) EXPECT_FALSE(palto::ProjectFitsRestoreType(*layout, type)) << "type " << type;
}

INSTANTIATE_TEST_SUITE_P(Layouts, SourceCandidates, testing::Values(
    LayoutCase{"EntireComputer", 2, true, 0, 1, 2, true, {true, true, true}},
    LayoutCase{"EntireFlagAlone", 1, true, -1, -1, 2, true, {true, false, false}},
    LayoutCase{"WholeDisksOnly", 2, false, 1, -1, 2, true, {false, true, false}},
    LayoutCase{"OnePartition", 2, false, -1, 1, 2, true, {false, false, true}},
    LayoutCase{"NothingMarked", 2, false, -1, -1, 2, false, {false, false, false}},
    LayoutCase{"NoDisksThoughEntire", 0, true, 0, 0, 2, false, {false, false, false}},
    LayoutCase{"NegativeDiskCount", -1, true, 0, 0, 2, false, {false, false, false}},
    LayoutCase{"DiskBeyondTheCount", 1, false, 1, -1, 2, false, {false, false, false}},
    LayoutCase{"PartitionBeyondTheCount", 1, false, -1, 0, 1, false, {false, false, false}},
    LayoutCase{"PartitionOfDiskBeyondTheCount", 1, false, -1, 1, 2, false, {false, false, false}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(ProjectDisplayText, CutsDescriptionsLongerThanTwentySixCharacters)
{
    EXPECT_EQ(ProjectDisplayText(L"Photos and music from the family"), L"Photos and music from the ..");  // 32
    EXPECT_EQ(ProjectDisplayText(L"abcdefghijklmnopqrstuvwxyz1234"), L"abcdefghijklmnopqrstuvwxyz..");  // 30
    EXPECT_EQ(ProjectDisplayText(L"abcdefghijklmnopqrstuvwxyz1"), L"abcdefghijklmnopqrstuvwxyz..");  // 27
    EXPECT_EQ(ProjectDisplayText(L"abcdefghijklmnopqrstuvwxyz"), L"abcdefghijklmnopqrstuvwxyz");  // 26: whole
    EXPECT_EQ(ProjectDisplayText(L""), L"");
}

TEST(LatestCaption, NamesTheBackupPickedOnlyWhenThereIsOne)
{
    EXPECT_EQ(LatestCaption(L"Restore the &latest backup", L"Office PC", L"2026-11-16 20:00:00"),
              L"Restore the &latest backup: Office PC [2026-11-16 20:00:00]");
    EXPECT_EQ(LatestCaption(L"Latest", L"", L"2026-11-16 20:00:00"), L"Latest");
    EXPECT_EQ(LatestCaption(L"Latest", L"Office PC", L""), L"Latest");
    EXPECT_EQ(LatestCaption(L"100% latest", L"%s", L"%d"), L"100% latest: %s [%d]") << "texts are not templates";
}

TEST(LatestCaption, ShowsAmpersandsOfTheTextsAsTheyAre)
{
    EXPECT_EQ(LatestCaption(L"&Latest", L"Photos & music", L"2026"), L"&Latest: Photos && music [2026]");
}

struct NewestCase {
    std::vector<std::uint64_t> newestTimes;
    std::optional<std::size_t> picked;
};

void PrintTo(const NewestCase& c, std::ostream* out)
{
    *out << "newest backup times " << testing::PrintToString(c.newestTimes) << ", picks ";
    if (c.picked) *out << "project " << *c.picked;
    else *out << "none";
}

class NewestProject : public testing::TestWithParam<NewestCase> {};

TEST_P(NewestProject, IsTheFirstWithTheNewestBackup)
{
    EXPECT_EQ(palto::ProjectWithNewestBackup(GetParam().newestTimes), GetParam().picked);
}

INSTANTIATE_TEST_SUITE_P(Times, NewestProject, testing::Values(
    NewestCase{{}, std::nullopt},
    NewestCase{{0, 0, 0}, std::nullopt},
    NewestCase{{5}, 0},
    NewestCase{{5, 7, 3}, 1},
    NewestCase{{7, 5, 7}, 0},                        // a tie keeps the earlier project
    NewestCase{{0, 3, 3}, 1},
    NewestCase{{1, 0x8000000000000000ull, 2}, 1}));  // compared as unsigned

std::vector<_ProjectHistoryEntry> History(std::initializer_list<std::uint64_t> times)
{
    std::vector<_ProjectHistoryEntry> entries;
    for (std::uint64_t time : times) {
        _ProjectHistoryEntry entry{};
        entry.backupTime = time;
        entries.push_back(entry);
    }
    return entries;
}

TEST(OfferedArchives, AreNewestFirstWithoutEntriesOfTimeZero)
{
    EXPECT_EQ(palto::OfferedArchives(History({0, 10, 20, 0, 30})), (std::vector<std::uint64_t>{30, 20, 10}));
    EXPECT_TRUE(palto::OfferedArchives(History({0, 0})).empty());
    EXPECT_TRUE(palto::OfferedArchives({}).empty());
}

TEST(NewestBackupTime, IsTheLargestTimeOfTheHistory)
{
    EXPECT_EQ(palto::NewestBackupTime(History({10, 30, 20})), 30u);
    EXPECT_EQ(palto::NewestBackupTime(History({0, 0})), 0u);
    EXPECT_EQ(palto::NewestBackupTime({}), 0u);
}

// An answer as an engine writes it: every byte of the record up to the end of the disks
// it counts, and everything after the disk table; all of the record for a count out of
// range.
void FillAsAnAnswer(_ProjectDesc& desc, std::int32_t diskCount)
{
    auto* bytes = reinterpret_cast<unsigned char*>(&desc);
    const std::size_t table = offsetof(_ProjectDesc, layout) + offsetof(tagEntireComputerInf, disks);
    const std::size_t tableEnd = table + sizeof(desc.layout.disks);
    const bool inRange = diskCount >= 0 && diskCount <= kMaxDisks;
    std::memset(bytes, 0xA5, inRange ? table + static_cast<std::size_t>(diskCount) * sizeof(tagDiskInf) : sizeof desc);
    std::memset(bytes + tableEnd, 0x5A, sizeof desc - tableEnd);
    desc.layout.diskCount = diskCount;
}

class RenewedDescription : public testing::TestWithParam<std::int32_t> {};

TEST_P(RenewedDescription, IsANewDescriptionByteForByte)
{
    const auto fresh = std::make_unique<_ProjectDesc>();
    const auto reused = std::make_unique<_ProjectDesc>();
    FillAsAnAnswer(*reused, GetParam());
    palto::RenewDescription(*reused);
    EXPECT_EQ(reused->layout.presetOne, 1u);
    EXPECT_EQ(std::memcmp(fresh.get(), reused.get(), sizeof(_ProjectDesc)), 0) << "disk count " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(DiskCounts, RenewedDescription, testing::Values(0, 2, 26, 27, -1, 0x7FFFFFFF));

TEST(ProjectIds, AreTheIdsOfTheList)
{
    EXPECT_TRUE(palto::ProjectIds(nullptr).empty());
    // As the engine lays it out: the count, then that many ids.
    const std::uint32_t block[] = {3, 101, 7, 0xFFFFFFFF};
    const auto ids = palto::ProjectIds(reinterpret_cast<const _Projects*>(block));
    EXPECT_EQ(std::vector<std::uint32_t>(ids.begin(), ids.end()), (std::vector<std::uint32_t>{101, 7, 0xFFFFFFFF}));
}

TEST(ProjectIds, EndWithTheReadableBlockWhateverTheCount)
{
    // A count far above what the engine allocated: the block holds two ids.
    auto block = std::make_unique<std::uint32_t[]>(3);
    block[0] = 0xFFFFFFFF;
    block[1] = 101;
    block[2] = 7;
    const auto blockEnd = [](const void*, std::size_t wanted) { return std::min<std::size_t>(wanted, 3 * sizeof(std::uint32_t)); };
    const auto ids = palto::ProjectIds(reinterpret_cast<const _Projects*>(block.get()), blockEnd);
    EXPECT_EQ(std::vector<std::uint32_t>(ids.begin(), ids.end()), (std::vector<std::uint32_t>{101, 7}));
    const auto nothingReadable = [](const void*, std::size_t) { return std::size_t{0}; };
    EXPECT_TRUE(palto::ProjectIds(reinterpret_cast<const _Projects*>(block.get()), nothingReadable).empty());
}

}  // namespace
