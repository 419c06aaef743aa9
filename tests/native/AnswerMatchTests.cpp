// What the pages find for an answer file: entries by their text, destinations by the
// numbers the engine gave them (not by their place in a list, which changes when the
// recovery environment numbers the disks differently), a target's label, and the
// messages that name the key.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "app/AnswerTexts.h"
#include "pages/AnswerMatch.h"
#include "pages/DestinationChoice.h"
#include "resources/ids.h"
#include "resources/lang/ENU.h"

using palto::AnswerDifference;
using palto::AnswerFinding;
using palto::DiskRef;
using palto::test::DiskFixture;
using palto::test::GB;
using palto::test::MakeLayout;

namespace {

palto::ListSettings Settings(palto::ProgramVolume program = {})
{
    return {{L"Disk %d: %s(%.1f GB)", L"Disk %d, partition %d: %s (%.1f GB)", L"Disk %d: %.1f GB", L"(no label)"},
            palto::MakeOemFilter(false, L"", L""),
            program,
            0};
}

// This computer with its disks in the engine's order 2, 0, 1: disk 2 is empty, disk 0
// holds two partitions, disk 1 one without a label.
std::unique_ptr<tagEntireComputerInf> Renumbered()
{
    return MakeLayout({
        DiskFixture{2, 50 * GB, {}},
        DiskFixture{0, 100 * GB, {{1, u"System Reserved", 1 * GB}, {2, u"Windows", 99 * GB, u'C'}}},
        DiskFixture{1, 45 * GB, {{1, u"", 45 * GB, u'D'}}},
    });
}

struct NumbersCase {
    const char* name;
    DiskRef ref;
    int found;
};

class FindByNumbers : public testing::TestWithParam<NumbersCase> {};

TEST_P(FindByNumbers, FindsTheEntryOfThoseNumbersWhereverItIsListed)
{
    const auto here = Renumbered();
    const auto targets = palto::BuildPartitionTargetList(*here, Settings({0, 1}));
    ASSERT_EQ(palto::EntryTexts(targets),
              (std::vector<std::wstring>{L"Disk 2: 50.0 GB", L"Disk 0, partition 2: Windows (99.0 GB)",
                                         L"Disk 1, partition 1: (no label) (45.0 GB)"}));
    EXPECT_EQ(palto::FindByNumbers(targets, *here, GetParam().ref), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Refs, FindByNumbers,
    testing::Values(NumbersCase{"WholeDiskByItsNumber", {2, std::nullopt}, 0},
                    NumbersCase{"PartitionByBothNumbers", {1, 1}, 2},
                    NumbersCase{"PartitionOfADiskListedSecond", {0, 2}, 1},
                    NumbersCase{"TheProgramsOwnVolumeIsNotOffered", {0, 1}, palto::kNotListed},
                    NumbersCase{"ADiskWithPartitionsIsNoWholeDiskTarget", {0, std::nullopt}, palto::kNotListed},
                    NumbersCase{"AnEmptyDiskHasNoPartition", {2, 1}, palto::kNotListed},
                    NumbersCase{"NoSuchDisk", {5, 1}, palto::kNotListed}),
    [](const testing::TestParamInfo<NumbersCase>& info) { return std::string(info.param.name); });

TEST(FindByNumbersOfAHostileEngine, TwoDisksOfOneNumberAreNotGuessedBetween)
{
    const auto here = MakeLayout({DiskFixture{1, 50 * GB, {}}, DiskFixture{1, 60 * GB, {}}});
    const auto targets = palto::BuildDiskList(*here, false, Settings());
    EXPECT_EQ(palto::FindByNumbers(targets, *here, {1, std::nullopt}), palto::kListedTwice);
}

TEST(TargetLabel, IsThePartitionsOrThoseOfTheDisksPartitions)
{
    const auto here = Renumbered();
    const auto disks = palto::BuildDiskList(*here, false, Settings());
    ASSERT_EQ(disks.size(), 3u);
    EXPECT_EQ(palto::TargetLabel(disks[0], *here), L"");
    EXPECT_EQ(palto::TargetLabel(disks[1], *here), L"System Reserved, Windows");
    EXPECT_EQ(palto::TargetLabel(disks[2], *here), L"") << "a partition without a label";
    const auto partitions = palto::BuildPartitionTargetList(*here, Settings());
    EXPECT_EQ(palto::TargetLabel(partitions[2], *here), L"Windows");
}

TEST(FindListed, TakesOnlyAnEntryThatReadsExactlySoOnce)
{
    const std::vector<std::wstring> entries{L"Documents", L"Office PC", L"documents", L"Office PC"};
    EXPECT_EQ(palto::FindListed(entries, L"Documents"), 0);
    EXPECT_EQ(palto::FindListed(entries, L"documents"), 2);
    EXPECT_EQ(palto::FindListed(entries, L"Office PC"), palto::kListedTwice);
    EXPECT_EQ(palto::FindListed(entries, L"Documents "), palto::kNotListed);
}

// The English module's texts, as the program loads them.
std::wstring English(unsigned id)
{
    static const std::map<unsigned, const char*> texts{
        {IDS_ANSWERS_UNUSABLE, S_ANSWERS_UNUSABLE},           {IDS_ANSWERS_WITHOUT, S_ANSWERS_WITHOUT},
        {IDS_ANSWERS_UNREADABLE, S_ANSWERS_UNREADABLE},       {IDS_ANSWERS_NO_SECTION, S_ANSWERS_NO_SECTION},
        {IDS_ANSWERS_UNKNOWN_SECTION, S_ANSWERS_UNKNOWN_SECTION}, {IDS_ANSWERS_UNKNOWN_KEY, S_ANSWERS_UNKNOWN_KEY},
        {IDS_ANSWERS_KEY_TWICE, S_ANSWERS_KEY_TWICE},         {IDS_ANSWERS_MISSING_KEY, S_ANSWERS_MISSING_KEY},
        {IDS_ANSWERS_BAD_VALUE, S_ANSWERS_BAD_VALUE},         {IDS_ANSWERS_NOT_FOR_TYPE, S_ANSWERS_NOT_FOR_TYPE},
        {IDS_ANSWER_STOPPED, S_ANSWER_STOPPED},               {IDS_ANSWER_BY_HAND, S_ANSWER_BY_HAND},
        {IDS_ANSWER_NOT_OFFERED, S_ANSWER_NOT_OFFERED},       {IDS_ANSWER_NOTHING_OFFERED, S_ANSWER_NOTHING_OFFERED},
        {IDS_ANSWER_LISTED_TWICE, S_ANSWER_LISTED_TWICE},     {IDS_ANSWER_SIZE_FOUND, S_ANSWER_SIZE_FOUND},
        {IDS_ANSWER_LABEL_FOUND, S_ANSWER_LABEL_FOUND},       {IDS_ANSWER_NO_LABEL_FOUND, S_ANSWER_NO_LABEL_FOUND},
        {IDS_ANSWER_BLOCKED, S_ANSWER_BLOCKED},               {IDS_ANSWER_BLOCKED_BY, S_ANSWER_BLOCKED_BY},
        {IDS_ANSWER_START_WAITS, S_ANSWER_START_WAITS},
    };
    const std::string text = texts.at(id);
    return std::wstring(text.begin(), text.end());
}

constexpr wchar_t kByHand[] = L"\n\nThe wizard stays on this step: check the choice and go on by hand.";

struct DifferenceCase {
    const char* name;
    AnswerDifference difference;
    const wchar_t* text;
};

class DifferenceTexts : public testing::TestWithParam<DifferenceCase> {};

TEST_P(DifferenceTexts, NameTheKeyAndWhatTheStepFound)
{
    EXPECT_EQ(palto::AnswerDifferenceText(GetParam().difference, English), std::wstring(GetParam().text) + kByHand);
}

INSTANTIATE_TEST_SUITE_P(
    Findings, DifferenceTexts,
    testing::Values(
        DifferenceCase{"NotOffered", {L"Backup", L"Laptop", AnswerFinding::NotOffered, L"Documents\nOffice PC"},
                       L"The answer file asks for Backup=Laptop, but this step offers only:\nDocuments\nOffice PC"},
        DifferenceCase{"NothingOffered", {L"Source", L"0:1", AnswerFinding::NothingOffered, L""},
                       L"The answer file asks for Source=0:1, but this step offers nothing to choose."},
        DifferenceCase{"ListedTwice", {L"Backup", L"Office PC", AnswerFinding::ListedTwice, L""},
                       L"The answer file asks for Backup=Office PC, but more than one entry of this step reads so."},
        DifferenceCase{"Size", {L"TargetSize", L"48318382080", AnswerFinding::Size, L"53687091200"},
                       L"The answer file asks for TargetSize=48318382080, but the target has 53687091200 bytes."},
        DifferenceCase{"Label", {L"TargetLabel", L"Data", AnswerFinding::Label, L"Backup"},
                       L"The answer file asks for TargetLabel=Data, but the target's label is: Backup"},
        DifferenceCase{"NoLabel", {L"TargetLabel", L"Data", AnswerFinding::NoLabel, L""},
                       L"The answer file asks for TargetLabel=Data, but the target has no label."},
        DifferenceCase{"BlockedWithItsWarning", {L"Target", L"2:1", AnswerFinding::Blocked, L"Too small."},
                       L"The answer file asks for Target=2:1, but this step keeps Next disabled: Too small."},
        DifferenceCase{"Blocked", {L"Type", L"entire", AnswerFinding::Blocked, L""},
                       L"The answer file asks for Type=entire, but this step keeps Next disabled."}),
    [](const testing::TestParamInfo<DifferenceCase>& info) { return std::string(info.param.name); });

TEST(ProblemTexts, NameTheFileTheKeyAndTheReason)
{
    palto::AnswerFileRead read;
    read.path = L"X:\\office.ini";
    read.error = palto::AnswerFileError{palto::AnswerProblem::BadValue, L"Start", L"later", L"ask | now"};
    EXPECT_EQ(palto::AnswerFileProblemText(read, English),
              L"The answer file X:\\office.ini cannot be used: Start=later cannot be read. The value must be: ask | now"
              L"\n\nThe wizard starts without it.");
    read.error = palto::AnswerFileError{palto::AnswerProblem::NotForType, L"Target", L"entire"};
    EXPECT_EQ(palto::AnswerFileProblemText(read, English),
              L"The answer file X:\\office.ini cannot be used: Target is not used when Type=entire.\n\nThe wizard starts without it.");
}

}  // namespace
