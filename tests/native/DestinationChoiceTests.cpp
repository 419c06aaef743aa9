// The disk/partition destination: the entries of both lists, the OEM filters, the
// automatic choice of a target, the Next decision, the check on Next and the marking of
// the chosen source and target in the layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "pages/DestinationChoice.h"
#include "resources/ids.h"

namespace {

using palto::DestinationChoice;
using palto::ListEntry;
using palto::test::DiskFixture;
using palto::test::GB;
using palto::test::MakeLayout;

constexpr const wchar_t* kDiskEntry = L"Disk %d (%.1f GB)";
constexpr const wchar_t* kPartitionDestination = L"Disk %d, partition %d";

palto::ListSettings Settings(bool oem = false, palto::ProgramVolume program = {}, wchar_t backupDrive = 0)
{
    return {{L"Disk %d: %s(%.1f GB)", L"Disk %d, partition %d: %s (%.1f GB)", kDiskEntry, L"Local disk"},
            palto::MakeOemFilter(oem, L"RECOVERY", L"Tools"),
            program,
            backupDrive};
}

// Table cases show their name when a check fails.
template <class Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

std::vector<std::wstring> Texts(const std::vector<ListEntry>& entries)
{
    std::vector<std::wstring> texts;
    for (const ListEntry& entry : entries) texts.push_back(entry.text);
    return texts;
}

// ---------------------------------------------------------------------------------------
// Entries

TEST(DiskList, SourcesAreTheFlaggedDisksAndTargetsEveryDisk)
{
    auto layout = MakeLayout({
        {0, 100 * GB, {{1, u"System", 30 * GB, u'C'}, {2, u"Data", 60 * GB, u'D'}, {3, u"", 10 * GB}}, true},
        {1, 200 * GB, {{1, u"Other", 200 * GB, u'E'}}, false},
        {2, 50 * GB, {}, true},
    });

    const auto sources = palto::BuildDiskList(*layout, true, Settings());
    EXPECT_EQ(Texts(sources), (std::vector<std::wstring>{L"Disk 0: System, Data, Local disk, (100.0 GB)", L"Disk 2 (50.0 GB)"}));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[1].size, 50 * GB);
    EXPECT_EQ(sources[1].disk, 2);
    EXPECT_EQ(sources[1].partition, -1);

    const auto targets = palto::BuildDiskList(*layout, false, Settings());
    EXPECT_EQ(Texts(targets), (std::vector<std::wstring>{L"Disk 0: System, Data, Local disk, (100.0 GB)",
                                                         L"Disk 1: Other, (200.0 GB)", L"Disk 2 (50.0 GB)"}));
}

TEST(DiskList, OemModeLeavesTypeFortyOutOfTheNames)
{
    auto layout = MakeLayout({
        {0, 10 * GB, {{1, u"Tools", 1 * GB, 0, true, 40}}, true},
        {1, 20 * GB, {{1, u"Boot", 1 * GB, 0, true, 39}, {2, u"Hidden", 1 * GB, 0, true, 40}}, true},
    });
    EXPECT_EQ(Texts(palto::BuildDiskList(*layout, true, Settings(true))),
              (std::vector<std::wstring>{L"Disk 0: (10.0 GB)", L"Disk 1: Boot, (20.0 GB)"}));
    EXPECT_EQ(Texts(palto::BuildDiskList(*layout, true, Settings(false))),
              (std::vector<std::wstring>{L"Disk 0: Tools, (10.0 GB)", L"Disk 1: Boot, Hidden, (20.0 GB)"}));
}

TEST(PartitionSourceList, FlaggedPartitionsDiskByDiskEachWithItsOwnDisksSize)
{
    auto layout = MakeLayout({
        {0, 100 * GB, {{1, u"System", 30 * GB, u'C', true}, {2, u"Data", 70 * GB, u'D', false}}},
        {4, 2048 * GB, {{1, u"", 10 * GB, u'E', true}}},
    });
    const auto sources = palto::BuildPartitionSourceList(*layout, Settings());
    EXPECT_EQ(Texts(sources), (std::vector<std::wstring>{L"Disk 0, partition 1: System (30.0 GB)",
                                                         L"Disk 4, partition 1: Local disk (10.0 GB)"}));
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[0].size, 30 * GB);
    EXPECT_EQ(sources[0].diskSize, 100 * GB);
    EXPECT_EQ(sources[1].diskSize, 2048 * GB);
    EXPECT_EQ(sources[1].disk, 1);
    EXPECT_EQ(sources[1].partition, 0);
}

struct ProgramCase {
    const char* name;
    palto::ProgramVolume program;
    bool oem;
    std::vector<std::wstring> targets;
};

class PartitionTargetList : public testing::TestWithParam<ProgramCase> {};

TEST_P(PartitionTargetList, OffersPartitionsAndEmptyDisksButNeverTheProgramsVolume)
{
    auto here = MakeLayout({
        {0, 500 * GB, {{1, u"Boot", 100 * GB, u'C'}, {2, u"Data", 400 * GB, u'D'}}},
        {1, 100 * GB, {}},
        {2, 8 * GB, {{1, u"Stick", 8 * GB, u'X'}}},
    });
    EXPECT_EQ(Texts(palto::BuildPartitionTargetList(*here, Settings(GetParam().oem, GetParam().program))),
              GetParam().targets);
}

const std::wstring kBoot = L"Disk 0, partition 1: Boot (100.0 GB)";
const std::wstring kData = L"Disk 0, partition 2: Data (400.0 GB)";
const std::wstring kEmpty = L"Disk 1 (100.0 GB)";
const std::wstring kStick = L"Disk 2, partition 1: Stick (8.0 GB)";

INSTANTIATE_TEST_SUITE_P(Cases, PartitionTargetList, testing::Values(
    ProgramCase{"ProgramUnknown", {-1, -1}, false, {kBoot, kData, kEmpty, kStick}},
    ProgramCase{"ProgramOnSecondPartition", {0, 2}, false, {kBoot, kEmpty, kStick}},
    ProgramCase{"ProgramOnItsDisksOnlyPartition", {2, 1}, false, {kBoot, kData, kEmpty}},
    ProgramCase{"ProgramSkippedInOemModeToo", {0, 1}, true, {kData, kEmpty, kStick}},
    ProgramCase{"OnlyDiskKnown", {0, -1}, false, {kBoot, kData, kEmpty, kStick}},
    ProgramCase{"OnlyPartitionKnown", {-1, 1}, false, {kBoot, kData, kEmpty, kStick}}),
    [](const auto& info) { return info.param.name; });

TEST(PartitionTargetList, DiskWithoutPartitionsIsAWholeDiskEntry)
{
    auto here = MakeLayout({{0, 50 * GB, {{1, u"A", 50 * GB, u'C'}}}, {7, 100 * GB, {}}});
    const auto targets = palto::BuildPartitionTargetList(*here, Settings());
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[1].text, L"Disk 7 (100.0 GB)");
    EXPECT_EQ(targets[1].size, 100 * GB);
    EXPECT_EQ(targets[1].disk, 1);
    EXPECT_EQ(targets[1].partition, -1);
}

// Both OEM filters, each seen through its list: a backed-up partition hidden from the
// source list, one of this computer hidden from the target list.
struct FilterCase {
    const char* name;
    palto::OemFilter oem;
    std::u16string_view label;
    std::uint32_t typeCode;
    char16_t drive;
    bool oemSkip;
    bool hiddenAsSource;
    bool hiddenAsTarget;
};

class OemFilters : public testing::TestWithParam<FilterCase> {};

TEST_P(OemFilters, HideWhatTheyShould)
{
    const FilterCase& c = GetParam();
    auto layout = MakeLayout({{0, 10 * GB, {{1, c.label, 10 * GB, c.drive, true, c.typeCode, c.oemSkip}}, true}});
    palto::ListSettings settings = Settings();
    settings.oem = c.oem;
    EXPECT_EQ(palto::BuildPartitionSourceList(*layout, settings).empty(), c.hiddenAsSource);
    EXPECT_EQ(palto::BuildPartitionTargetList(*layout, settings).empty(), c.hiddenAsTarget);
    EXPECT_EQ(palto::IsOemHiddenTarget(layout->disks[0].partitions[0], c.oem), c.hiddenAsTarget);
}

const palto::OemFilter kOem = palto::MakeOemFilter(true, L"RECOVERY", L"Tools");
const palto::OemFilter kOemWithoutKeywords = palto::MakeOemFilter(true, L"", L"");
const palto::OemFilter kNoOem = palto::MakeOemFilter(false, L"RECOVERY", L"Tools");
const palto::OemFilter kOemZ = palto::MakeOemFilter(true, L"ZAZ", L"");

INSTANTIATE_TEST_SUITE_P(Cases, OemFilters, testing::Values(
    FilterCase{"PlainPartition", kOem, u"Data", 7, u'D', false, false, false},
    FilterCase{"KeywordLabel", kOem, u"Recovery", 7, u'E', false, true, true},
    FilterCase{"SecondKeywordLabel", kOem, u"TOOLS", 7, u'E', false, true, true},
    FilterCase{"KeywordInsideLabel", kOem, u"My recovery copy", 7, u'E', false, true, false},
    FilterCase{"SystemReservedAnyCase", kOem, u"SyStem ReSERVED", 7, u'C', false, false, true},
    FilterCase{"TypeThirtyNine", kOem, u"Data", 39, u'D', false, false, true},
    FilterCase{"TypeForty", kOem, u"Data", 40, u'D', false, false, true},
    FilterCase{"NoDriveLetter", kOem, u"Data", 7, 0, false, false, true},
    FilterCase{"EngineSaysSkip", kOem, u"Data", 7, u'D', true, true, false},
    FilterCase{"Unlabelled", kOem, u"", 7, u'D', false, false, false},
    FilterCase{"EmptyKeywordsHideNoLabel", kOemWithoutKeywords, u"Data", 7, u'D', false, false, false},
    FilterCase{"EmptyKeywordsHideNoUnlabelled", kOemWithoutKeywords, u"", 7, u'D', false, false, false},
    FilterCase{"EmptyKeywordsStillSystemReserved", kOemWithoutKeywords, u"system reserved", 7, u'C', false, false, true},
    FilterCase{"UpperCaseZIsFolded", kOemZ, u"zaZ", 7, u'E', false, true, true},
    FilterCase{"OffHidesNothing", kNoOem, u"Recovery", 40, 0, true, false, false}),
    [](const auto& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------
// The backup's own place

struct HoldsCase {
    const char* name;
    int disk;
    int partition;
    wchar_t backupDrive;
    bool holds;
};

class BackupPlace : public testing::TestWithParam<HoldsCase> {};

TEST_P(BackupPlace, IsTheDrivesPartitionOrTheDiskCarryingIt)
{
    auto here = MakeLayout({
        {0, 500 * GB, {{1, u"System", 100 * GB, u'C'}, {2, u"Backups", 400 * GB, u'D'}}},
        {1, 100 * GB, {}},
        {2, 100 * GB, {{1, u"", 100 * GB, 0}}},
    });
    EXPECT_EQ(palto::TargetHoldsBackup(*here, GetParam().disk, GetParam().partition, GetParam().backupDrive),
              GetParam().holds);
}

INSTANTIATE_TEST_SUITE_P(Cases, BackupPlace, testing::Values(
    HoldsCase{"ItsPartition", 0, 1, L'D', true},
    HoldsCase{"ItsPartitionLowerCase", 0, 1, L'd', true},
    HoldsCase{"AnotherPartition", 0, 0, L'D', false},
    HoldsCase{"TheDiskCarryingIt", 0, -1, L'D', true},
    HoldsCase{"AnEmptyDisk", 1, -1, L'D', false},
    HoldsCase{"NoDriveMatchesNoLetter", 2, 0, 0, false},
    HoldsCase{"NetworkPathMatchesNothing", 2, -1, L'\\', false},
    HoldsCase{"DiskOutsideTheLayout", 3, -1, L'D', false},
    HoldsCase{"PartitionOutsideTheDisk", 0, 2, L'D', false},
    HoldsCase{"NegativePartition", 0, -2, L'D', false}),
    [](const auto& info) { return info.param.name; });

TEST(BackupPlace, TargetsHoldingTheBackupStayListedAndMarked)
{
    auto here = MakeLayout({
        {0, 500 * GB, {{1, u"System", 100 * GB, u'C'}, {2, u"Backups", 400 * GB, u'D'}}},
        {1, 100 * GB, {}},
    });
    const auto disks = palto::BuildDiskList(*here, false, Settings(false, {}, L'D'));
    ASSERT_EQ(disks.size(), 2u);
    EXPECT_TRUE(disks[0].holdsBackup);
    EXPECT_FALSE(disks[1].holdsBackup);

    const auto partitions = palto::BuildPartitionTargetList(*here, Settings(false, {}, L'D'));
    ASSERT_EQ(partitions.size(), 3u);
    EXPECT_FALSE(partitions[0].holdsBackup);
    EXPECT_TRUE(partitions[1].holdsBackup);
    EXPECT_FALSE(partitions[2].holdsBackup);
}

// ---------------------------------------------------------------------------------------
// The automatic choice and the Next decision

ListEntry Partition(std::uint64_t gigabytes, bool holdsBackup = false)
{
    return {L"", gigabytes * GB, 0, 0, 1000 * GB, holdsBackup};
}

ListEntry WholeDisk(std::uint64_t gigabytes)
{
    return {L"", gigabytes * GB, 1, -1, gigabytes * GB};
}

ListEntry SourceOnDisk(std::uint64_t gigabytes, std::uint64_t diskGigabytes)
{
    return {L"", gigabytes * GB, 0, 0, diskGigabytes * GB};
}

DestinationChoice Choice(std::vector<ListEntry> sources, std::vector<ListEntry> targets, int sourceSel, int targetSel)
{
    DestinationChoice choice;
    choice.sources = std::move(sources);
    choice.targets = std::move(targets);
    choice.sourceSel = sourceSel;
    choice.targetSel = targetSel;
    return choice;
}

const std::vector<ListEntry> kFourTargets = {Partition(100), Partition(50), Partition(45), Partition(45)};

struct PickCase {
    const char* name;
    std::vector<ListEntry> sources;
    int sourceSel;
    std::vector<ListEntry> targets;
    int targetSel;
    int picked;
};

class AutoPick : public testing::TestWithParam<PickCase> {};

TEST_P(AutoPick, TakesTheSmallestTargetThatFits)
{
    const PickCase& c = GetParam();
    DestinationChoice choice = Choice(c.sources, c.targets, c.sourceSel, c.targetSel);
    EXPECT_EQ(palto::AutoPickTarget(choice), c.picked != c.targetSel);
    EXPECT_EQ(choice.targetSel, c.picked);
}

INSTANTIATE_TEST_SUITE_P(Cases, AutoPick, testing::Values(
    PickCase{"FirstOfTheSmallest", {Partition(40)}, 0, kFourTargets, 0, 2},
    PickCase{"CurrentIsOneOfTheSmallest", {Partition(40)}, 0, kFourTargets, 3, 3},
    PickCase{"NothingLargeEnough", {Partition(200)}, 0, kFourTargets, 1, 1},
    PickCase{"EqualSizeFits", {Partition(50)}, 0, kFourTargets, 0, 1},
    PickCase{"SelectionBeyondTheList", {Partition(40)}, 0, kFourTargets, 9, 2},
    PickCase{"NoSelection", {Partition(40)}, 0, kFourTargets, -1, 2},
    PickCase{"NothingFitsFromBeyondTheList", {Partition(200)}, 0, kFourTargets, 9, 9},
    PickCase{"PassesOverTheBackupsPlace", {Partition(40)}, 0,
             {Partition(100), Partition(50), Partition(45, true), Partition(45)}, 0, 3},
    PickCase{"PassesOverATooSmallEmptyDisk", {SourceOnDisk(10, 2048)}, 0, {WholeDisk(100), Partition(500)}, 0, 1},
    PickCase{"NoSourceSelected", {Partition(40)}, -1, kFourTargets, 0, 0},
    PickCase{"SourceBeyondTheList", {Partition(40)}, 1, kFourTargets, 0, 0},
    PickCase{"NoTargets", {Partition(40)}, 0, {}, 0, 0}),
    [](const auto& info) { return info.param.name; });

TEST(AutoPick, FollowsTheSourceOnlyWhereItMust)
{
    DestinationChoice choice = Choice({Partition(40), Partition(48), Partition(30)}, kFourTargets, 0, 1);
    EXPECT_FALSE(palto::SelectSource(choice, 1));   // 48 GB: the 50 GB target is the smallest that fits
    EXPECT_EQ(choice.targetSel, 1);
    EXPECT_TRUE(palto::SelectSource(choice, 2));    // 30 GB: the first 45 GB target
    EXPECT_EQ(choice.targetSel, 2);
}

TEST(AutoPick, NeverMovesATargetTheUserPicked)
{
    DestinationChoice choice = Choice({Partition(40), Partition(30)}, kFourTargets, 0, 2);
    palto::SelectTarget(choice, 0);
    EXPECT_FALSE(palto::SelectSource(choice, 1));
    EXPECT_EQ(choice.targetSel, 0);
    EXPECT_EQ(choice.sourceSel, 1);
}

struct NextCase {
    const char* name;
    ListEntry source;
    ListEntry target;
    bool nextEnabled;
    unsigned warning;
};

class NextDecision : public testing::TestWithParam<NextCase> {};

TEST_P(NextDecision, EnablesNextOnlyWhenTheSourceFits)
{
    const palto::NextState state = palto::DecideNextState(Choice({GetParam().source}, {GetParam().target}, 0, 0));
    EXPECT_EQ(state.nextEnabled, GetParam().nextEnabled);
    EXPECT_EQ(state.warningTextId, GetParam().warning);
}

INSTANTIATE_TEST_SUITE_P(Cases, NextDecision, testing::Values(
    NextCase{"PartitionOfEqualSize", Partition(45), Partition(45), true, 0},
    NextCase{"DiskOfEqualSize", WholeDisk(500), WholeDisk(500), true, 0},
    NextCase{"PartitionTooSmall", Partition(46), Partition(45), false, IDS_TARGET_PARTITION_TOO_SMALL},
    NextCase{"DiskTooSmall", WholeDisk(501), WholeDisk(500), false, IDS_TARGET_DISK_TOO_SMALL},
    NextCase{"EmptyDiskSmallerThanTheSourcesDisk", SourceOnDisk(10, 2048), WholeDisk(100), false, IDS_TARGET_DISK_TOO_SMALL},
    NextCase{"EmptyDiskAsLargeAsTheSourcesDisk", SourceOnDisk(10, 100), WholeDisk(100), true, 0},
    NextCase{"SourcesDiskDoesNotMatterOnAPartition", SourceOnDisk(10, 2048), Partition(10), true, 0},
    NextCase{"TargetHoldsTheBackup", Partition(10), Partition(100, true), false, IDS_TARGET_HOLDS_BACKUP}),
    [](const auto& info) { return info.param.name; });

TEST(NextDecision, WithoutAValidSelectionNextIsDisabledAndNoWarningShown)
{
    for (auto [sourceSel, targetSel] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 4}}) {
        const palto::NextState state = palto::DecideNextState(Choice({Partition(40)}, kFourTargets, sourceSel, targetSel));
        EXPECT_FALSE(state.nextEnabled) << sourceSel << "," << targetSel;
        EXPECT_EQ(state.warningTextId, 0u) << sourceSel << "," << targetSel;
    }
    EXPECT_FALSE(palto::DecideNextState(DestinationChoice{}).nextEnabled);
}

// ---------------------------------------------------------------------------------------
// Entering the page

struct PageFixture {
    std::unique_ptr<tagEntireComputerInf> backedUp = MakeLayout({
        {0, 100 * GB, {{1, u"System", 40 * GB, u'C', true}, {2, u"Data", 30 * GB, u'D', true}}, true},
        {1, 2048 * GB, {{1, u"Media", 10 * GB, u'E', true}}, true},
    });
    std::unique_ptr<tagEntireComputerInf> here = MakeLayout({
        {0, 1000 * GB, {{1, u"Big", 100 * GB, u'C'}, {2, u"Mid", 50 * GB, u'D'}, {3, u"Small", 45 * GB, u'F'}}},
        {1, 150 * GB, {}},
    });
};

TEST(EnterChoice, SizeRuleForAnEmptyDiskUsesTheChosenSourcesDisk)
{
    PageFixture page;
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    palto::SelectTarget(choice, 3);                                  // the empty 150 GB disk
    palto::SelectSource(choice, 1);                                  // Data, on the 100 GB disk
    EXPECT_TRUE(palto::DecideNextState(choice).nextEnabled);
    palto::SelectSource(choice, 2);                                  // Media, on the 2 TB disk
    EXPECT_EQ(palto::DecideNextState(choice).warningTextId, unsigned{IDS_TARGET_DISK_TOO_SMALL});
    EXPECT_FALSE(palto::DecideNextState(choice).nextEnabled);
}

TEST(EnterChoice, KeepsTheUsersPickOnALaterEntryIntoTheSameChoice)
{
    PageFixture page;
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    EXPECT_EQ(choice.targetSel, 2);                                  // 40 GB System: the 45 GB partition
    palto::SelectTarget(choice, 0);
    palto::SelectSource(choice, 2);
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    EXPECT_EQ(choice.sourceSel, 2);
    EXPECT_EQ(choice.targetSel, 0);
    EXPECT_TRUE(choice.targetChosen);
}

}  // namespace

namespace palto {
void PrintTo(const ChoiceKey& key, std::ostream* out)
{
    *out << "restore type " << key.restoreType << ", project " << key.projectId << ", backup " << key.archiveId;
}
}  // namespace palto

namespace {

class ChangedChoice : public testing::TestWithParam<palto::ChoiceKey> {};

TEST_P(ChangedChoice, StartsAgainFromTheFirstEntries)
{
    PageFixture page;
    DestinationChoice choice;
    palto::EnterChoice(choice, {1, 1, 100}, *page.backedUp, *page.here, Settings());
    palto::SelectSource(choice, 1);
    palto::SelectTarget(choice, 1);

    palto::EnterChoice(choice, GetParam(), *page.backedUp, *page.here, Settings());
    EXPECT_EQ(choice.sourceSel, 0);
    EXPECT_FALSE(choice.targetChosen);
    EXPECT_EQ(choice.targetSel, GetParam().restoreType == 2 ? 2 : 1);   // chosen anew for the first source
}

INSTANTIATE_TEST_SUITE_P(Keys, ChangedChoice, testing::Values(
    palto::ChoiceKey{2, 1, 100}, palto::ChoiceKey{1, 2, 100}, palto::ChoiceKey{1, 1, 101}));

TEST(EnterChoice, OtherRestoreTypesListNothing)
{
    PageFixture page;
    for (int type : {0, 3, -1}) {
        DestinationChoice choice;
        palto::EnterChoice(choice, {type, 1, 100}, *page.backedUp, *page.here, Settings());
        EXPECT_TRUE(choice.sources.empty());
        EXPECT_TRUE(choice.targets.empty());
        EXPECT_FALSE(palto::DecideNextState(choice).nextEnabled);
    }
}

// ---------------------------------------------------------------------------------------
// Next: the destination text and the marks

TEST(NextStep, DestinationTextNamesTheTarget)
{
    PageFixture page;
    DestinationChoice disks;
    palto::EnterChoice(disks, {1, 1, 100}, *page.backedUp, *page.here, Settings());
    palto::SelectTarget(disks, 0);
    EXPECT_EQ(palto::CheckNextStep(disks, *page.backedUp, *page.here, kDiskEntry, kPartitionDestination),
              L"Disk 0 (1000.0 GB)");

    DestinationChoice partitions;
    palto::EnterChoice(partitions, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    palto::SelectTarget(partitions, 1);
    EXPECT_EQ(palto::CheckNextStep(partitions, *page.backedUp, *page.here, kDiskEntry, kPartitionDestination),
              L"Disk 0, partition 2");
    palto::SelectTarget(partitions, 3);                  // the disk without partitions: its entry's text
    EXPECT_EQ(partitions.targets[3].text, L"Disk 1 (150.0 GB)");
    EXPECT_EQ(palto::CheckNextStep(partitions, *page.backedUp, *page.here, kDiskEntry, kPartitionDestination),
              L"Disk 1 (150.0 GB)");
}

TEST(NextStep, RefusesAChoiceThatCannotBeTaken)
{
    PageFixture page;
    const auto check = [&](const DestinationChoice& choice) {
        return palto::CheckNextStep(choice, *page.backedUp, *page.here, kDiskEntry, kPartitionDestination);
    };
    EXPECT_EQ(check(DestinationChoice{}), std::nullopt);

    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    ASSERT_NE(check(choice), std::nullopt);

    DestinationChoice stale = choice;
    stale.targetSel = 4;
    EXPECT_EQ(check(stale), std::nullopt);

    DestinationChoice tooSmall = choice;
    palto::SelectTarget(tooSmall, 2);
    palto::SelectSource(tooSmall, 0);                    // 40 GB source onto 45 GB: fits
    ASSERT_NE(check(tooSmall), std::nullopt);
    tooSmall.sources[0].size = 46 * GB;
    EXPECT_EQ(check(tooSmall), std::nullopt);

    DestinationChoice holding = choice;
    holding.targets[holding.targetSel].holdsBackup = true;
    EXPECT_EQ(check(holding), std::nullopt);

    page.here->disks[0].partitionCount = 1;              // the layout no longer has the chosen partition
    EXPECT_EQ(check(choice), std::nullopt);
}

TEST(MarkChosen, SecondFlaggedDiskKeepsTheOnlyFlag)
{
    auto backedUp = MakeLayout({
        {0, 10 * GB, {{1, u"A", 10 * GB, u'C', true}}, true},
        {1, 10 * GB, {{1, u"B", 10 * GB, u'D', true}}, false},
        {2, 10 * GB, {{1, u"C", 5 * GB, u'E', true}, {2, u"D", 5 * GB, u'F', true}}, true},
        {3, 10 * GB, {}, true},
    });
    auto here = palto::test::MakeDisks({100});
    DestinationChoice choice;
    palto::EnterChoice(choice, {1, 1, 100}, *backedUp, *here, Settings());
    palto::SelectSource(choice, 1);

    ASSERT_TRUE(palto::MarkChosenSource(choice, *backedUp));
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(backedUp->disks[d].selected, d == 2 ? 1 : 0) << d;
        for (int p = 0; p < backedUp->disks[d].partitionCount; ++p)
            EXPECT_EQ(backedUp->disks[d].partitions[p].selected, 0) << d << "/" << p;
    }
}

TEST(MarkChosen, PartitionSourceKeepsTheOnlyFlagPastHiddenPartitions)
{
    auto backedUp = MakeLayout({
        {0, 10 * GB, {{1, u"Recovery", 1 * GB, u'C', true}, {2, u"System", 9 * GB, u'D', true}}, true},
        {1, 10 * GB, {{1, u"Vendor", 1 * GB, u'E', true, 7, true}, {2, u"Data", 8 * GB, u'F', true}, {3, u"Spare", 1 * GB}}, true},
    });
    auto here = palto::test::MakeDisks({100});
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *backedUp, *here, Settings(true));
    ASSERT_EQ(Texts(choice.sources), (std::vector<std::wstring>{L"Disk 0, partition 2: System (9.0 GB)",
                                                                L"Disk 1, partition 2: Data (8.0 GB)"}));
    palto::SelectSource(choice, 1);

    ASSERT_TRUE(palto::MarkChosenSource(choice, *backedUp));
    for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(backedUp->disks[d].selected, 0) << d;
        for (int p = 0; p < backedUp->disks[d].partitionCount; ++p)
            EXPECT_EQ(backedUp->disks[d].partitions[p].selected, d == 1 && p == 1 ? 1 : 0) << d << "/" << p;
    }
}

TEST(MarkChosen, TargetFlagIsTheDisksForAnEmptyDiskAndClearsNothing)
{
    PageFixture page;
    page.here->disks[0].partitions[0].selected = 1;      // a flag already set stays set
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    palto::SelectTarget(choice, 3);                      // the disk without partitions

    ASSERT_TRUE(palto::MarkChosenTarget(choice, *page.here));
    EXPECT_EQ(page.here->disks[1].selected, 1);
    EXPECT_EQ(page.here->disks[0].selected, 0);
    EXPECT_EQ(page.here->disks[0].partitions[0].selected, 1);

    palto::SelectTarget(choice, 1);
    ASSERT_TRUE(palto::MarkChosenTarget(choice, *page.here));
    EXPECT_EQ(page.here->disks[0].partitions[1].selected, 1);
    EXPECT_EQ(page.here->disks[0].selected, 0);
}

TEST(MarkChosen, InvalidSelectionsMarkNothing)
{
    PageFixture page;
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *page.backedUp, *page.here, Settings());
    const auto backedUpBefore = MakeLayout({});
    const auto hereBefore = MakeLayout({});
    std::memcpy(static_cast<void*>(backedUpBefore.get()), page.backedUp.get(), sizeof(tagEntireComputerInf));
    std::memcpy(static_cast<void*>(hereBefore.get()), page.here.get(), sizeof(tagEntireComputerInf));

    DestinationChoice stale = choice;
    stale.sourceSel = 3;
    stale.targetSel = -1;
    EXPECT_FALSE(palto::MarkChosenSource(stale, *page.backedUp));
    EXPECT_FALSE(palto::MarkChosenTarget(stale, *page.here));

    DestinationChoice outside = choice;
    outside.sources[0].disk = 2;                         // a disk the layout does not have
    outside.targets[outside.targetSel].partition = 3;
    EXPECT_FALSE(palto::MarkChosenSource(outside, *page.backedUp));
    EXPECT_FALSE(palto::MarkChosenTarget(outside, *page.here));

    EXPECT_EQ(std::memcmp(backedUpBefore.get(), page.backedUp.get(), sizeof(tagEntireComputerInf)), 0);
    EXPECT_EQ(std::memcmp(hereBefore.get(), page.here.get(), sizeof(tagEntireComputerInf)), 0);
}

// ---------------------------------------------------------------------------------------
// A damaged layout: counts beyond the arrays read and write nothing past the record.

TEST(DamagedLayout, CountsBeyondTheArraysStayInsideTheRecord)
{
    auto backedUp = palto::test::GarbageLayout();
    auto here = palto::test::GarbageLayout(0x5B);
    for (auto* layout : {backedUp.get(), here.get()}) {
        layout->diskCount = 27;
        for (int d = 0; d < 26; ++d) layout->disks[d].partitionCount = d % 2 ? 27 : -1;
    }

    EXPECT_EQ(palto::BuildDiskList(*backedUp, true, Settings()).size(), 26u);
    DestinationChoice choice;
    palto::EnterChoice(choice, {2, 1, 100}, *backedUp, *here, Settings(false, {}, L'C'));
    EXPECT_EQ(choice.sources.size(), 13u * 26u);          // the odd disks' partitions, all flagged
    EXPECT_EQ(choice.targets.size(), 13u + 13u * 26u);    // the even disks are empty here

    choice.sourceSel = static_cast<int>(choice.sources.size()) - 1;
    choice.targetSel = static_cast<int>(choice.targets.size()) - 1;
    EXPECT_TRUE(palto::MarkChosenSource(choice, *backedUp));
    EXPECT_TRUE(palto::MarkChosenTarget(choice, *here));
    EXPECT_EQ(backedUp->disks[25].partitions[25].selected, 1);
    EXPECT_EQ(here->disks[25].partitions[25].selected, 1);
    EXPECT_NE(palto::CheckNextStep(choice, *backedUp, *here, kDiskEntry, kPartitionDestination), std::nullopt);

    here->diskCount = -1;
    EXPECT_FALSE(palto::MarkChosenTarget(choice, *here));
    EXPECT_TRUE(palto::BuildPartitionTargetList(*here, Settings()).empty());
}

}  // namespace
