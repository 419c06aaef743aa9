// The answer file's rules: what a file asks for, the first problem of a file that cannot
// be used (with the key it names), and the argument that names the file.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ProfileText.h"
#include "app/AnswerFile.h"

using palto::AnswerFileError;
using palto::AnswerProblem;
using palto::test::ProfileText;

namespace palto {
void PrintTo(const AnswerFileError& error, std::ostream* os)
{
    *os << "{problem " << static_cast<int>(error.problem) << ", key " << testing::PrintToString(error.key) << ", value "
        << testing::PrintToString(error.value) << ", expected " << testing::PrintToString(error.expected) << "}";
}
}  // namespace palto

namespace {

palto::AnswerFileRead Read(const std::wstring& text)
{
    return palto::ReadAnswers(ProfileText(text), L"Z:\\answers.ini");
}

TEST(AnswerFile, APartitionRestoreIsReadWithEveryKey)
{
    const auto read = Read(L"; prepared for the office\r\n"
                           L"[Restore]\r\n"
                           L"# the second disk's partition\r\n"
                           L"type = Partition\r\n"
                           L"Backup=Documents\r\n"
                           L"Date=2026-10-05 21:00:00\r\n"
                           L"Source=0:1\r\n"
                           L"Target=3:1\r\n"
                           L"TargetSize=48318382080\r\n"
                           L"TargetLabel=\"Data \"\r\n"
                           L"Start=NOW\r\n");
    ASSERT_TRUE(read.answers) << testing::PrintToString(read.error);
    const palto::Answers& a = *read.answers;
    EXPECT_EQ(a.path, L"Z:\\answers.ini");
    EXPECT_EQ(a.type, palto::AnswerType::Partition);
    EXPECT_EQ(a.backup, L"Documents");
    EXPECT_EQ(a.date, L"2026-10-05 21:00:00");
    EXPECT_EQ(a.source, (palto::DiskRef{0, 1}));
    EXPECT_EQ(a.target, (palto::DiskRef{3, 1}));
    EXPECT_EQ(a.targetSize, 48318382080ull);
    EXPECT_EQ(a.targetLabel, L"Data ");
    EXPECT_EQ(a.start, palto::AnswerStart::Now);
    EXPECT_EQ(a.MissingForStartNow(), std::nullopt);
    ASSERT_EQ(a.given.size(), 8u);
    EXPECT_EQ(a.given[0], (std::pair<std::wstring, std::wstring>{L"type", L"Partition"}));
    EXPECT_EQ(a.ValueOf(L"TargetLabel"), L"Data ");
}

TEST(AnswerFile, LeftOutKeysTakeTheirDefaults)
{
    const auto read = Read(L"[restore]\nType=entire\nBackup=Office PC\n");
    ASSERT_TRUE(read.answers) << testing::PrintToString(read.error);
    EXPECT_EQ(read.answers->date, std::nullopt) << "the latest";
    EXPECT_EQ(read.answers->start, palto::AnswerStart::Ask);
    EXPECT_EQ(read.answers->targetLabel, std::nullopt);
    EXPECT_EQ(read.answers->MissingForStartNow(), L"TargetSize");
}

TEST(AnswerFile, AnEmptyLabelIsALabelGiven)
{
    const auto read = Read(L"[Restore]\nType=disk\nBackup=Disks\nSource=1\nTarget=3\nTargetSize=1\nTargetLabel=\n");
    ASSERT_TRUE(read.answers) << testing::PrintToString(read.error);
    EXPECT_EQ(read.answers->targetLabel, L"");
    EXPECT_EQ(read.answers->MissingForStartNow(), std::nullopt);
    EXPECT_EQ(read.answers->target, (palto::DiskRef{3, std::nullopt}));
}

TEST(AnswerFile, StartNowWithoutTheTargetsLabelStillNeedsIt)
{
    const auto read = Read(L"[Restore]\nType=partition\nBackup=B\nSource=0:1\nTarget=1\nTargetSize=5\nStart=now\n");
    ASSERT_TRUE(read.answers) << testing::PrintToString(read.error);
    EXPECT_EQ(read.answers->MissingForStartNow(), L"TargetLabel");
}

struct ProblemCase {
    const char* name;
    const wchar_t* text;
    AnswerFileError error;
};

class Problems : public testing::TestWithParam<ProblemCase> {};

TEST_P(Problems, TheFirstProblemNamesItsKey)
{
    const auto read = Read(GetParam().text);
    EXPECT_FALSE(read.answers);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(*read.error, GetParam().error);
    EXPECT_EQ(read.path, L"Z:\\answers.ini");
}

constexpr wchar_t kHead[] = L"[Restore]\nType=partition\nBackup=Documents\n";

INSTANTIATE_TEST_SUITE_P(
    Files, Problems,
    testing::Values(
        ProblemCase{"Empty", L"", {AnswerProblem::NoSection}},
        ProblemCase{"OnlyLinesBeforeAnySection", L"Type=disk\n", {AnswerProblem::NoSection}},
        ProblemCase{"UnknownSection", L"[Restore]\nType=disk\n[Options]\nx=1\n", {AnswerProblem::UnknownSection, L"Options"}},
        ProblemCase{"SecondRestoreSection", L"[Restore]\nType=disk\n[RESTORE]\n", {AnswerProblem::KeyTwice, L"[RESTORE]"}},
        ProblemCase{"UnknownKey", L"[Restore]\nType=disk\nTarget Size=5\n", {AnswerProblem::UnknownKey, L"Target Size"}},
        ProblemCase{"UnknownKeyBeforeABadValue", L"[Restore]\nColour=red\nType=floppy\n", {AnswerProblem::UnknownKey, L"Colour"}},
        ProblemCase{"KeyTwice", L"[Restore]\nType=disk\ntype=disk\n", {AnswerProblem::KeyTwice, L"type"}},
        ProblemCase{"KeyWithoutValue", L"[Restore]\nType\n", {AnswerProblem::BadValue, L"Type", L"", L"entire | disk | partition"}},
        ProblemCase{"UnknownType", L"[Restore]\nType=floppy\n", {AnswerProblem::BadValue, L"Type", L"floppy", L"entire | disk | partition"}},
        ProblemCase{"EmptyBackup", L"[Restore]\nBackup=\n", {AnswerProblem::BadValue, L"Backup", L"", L"<name>"}},
        ProblemCase{"DateOfAnotherShape", L"[Restore]\nDate=5.10.2026 21:00\n", {AnswerProblem::BadValue, L"Date", L"5.10.2026 21:00", L"latest | YYYY-MM-DD hh:mm:ss"}},
        ProblemCase{"DateWithLetters", L"[Restore]\nDate=2026-1O-05 21:00:00\n", {AnswerProblem::BadValue, L"Date", L"2026-1O-05 21:00:00", L"latest | YYYY-MM-DD hh:mm:ss"}},
        ProblemCase{"NegativeDisk", L"[Restore]\nSource=-1\n", {AnswerProblem::BadValue, L"Source", L"-1", L"N | N:M"}},
        ProblemCase{"PartitionWithoutNumber", L"[Restore]\nTarget=1:\n", {AnswerProblem::BadValue, L"Target", L"1:", L"N | N:M"}},
        ProblemCase{"DiskBeyond32Bits", L"[Restore]\nTarget=4294967296\n", {AnswerProblem::BadValue, L"Target", L"4294967296", L"N | N:M"}},
        ProblemCase{"SizeWithUnit", L"[Restore]\nTargetSize=45 GB\n", {AnswerProblem::BadValue, L"TargetSize", L"45 GB", L"N"}},
        ProblemCase{"SizeBeyond64Bits", L"[Restore]\nTargetSize=18446744073709551616\n", {AnswerProblem::BadValue, L"TargetSize", L"18446744073709551616", L"N"}},
        ProblemCase{"UnknownStart", L"[Restore]\nStart=later\n", {AnswerProblem::BadValue, L"Start", L"later", L"ask | now"}},
        ProblemCase{"NoType", L"[Restore]\nBackup=Documents\n", {AnswerProblem::MissingKey, L"Type"}},
        ProblemCase{"NoBackup", L"[Restore]\nType=entire\n", {AnswerProblem::MissingKey, L"Backup"}},
        ProblemCase{"NoSource", L"[Restore]\nType=disk\nBackup=B\nTarget=1\n", {AnswerProblem::MissingKey, L"Source"}},
        ProblemCase{"NoTarget", L"[Restore]\nType=partition\nBackup=B\nSource=0:1\n", {AnswerProblem::MissingKey, L"Target"}},
        ProblemCase{"EntireWithATarget", L"[Restore]\nType=entire\nBackup=B\nTarget=1\n", {AnswerProblem::NotForType, L"Target", L"entire"}},
        ProblemCase{"EntireWithALabel", L"[Restore]\nTargetLabel=\nType=entire\nBackup=B\n", {AnswerProblem::NotForType, L"TargetLabel", L"entire"}},
        ProblemCase{"DiskFromAPartition", L"[Restore]\nType=disk\nBackup=B\nSource=1:1\nTarget=2\n", {AnswerProblem::BadValue, L"Source", L"1:1", L"N"}},
        ProblemCase{"DiskOntoAPartition", L"[Restore]\nType=disk\nBackup=B\nSource=1\nTarget=2:1\n", {AnswerProblem::BadValue, L"Target", L"2:1", L"N"}},
        ProblemCase{"PartitionFromADisk", L"[Restore]\nType=partition\nBackup=B\nSource=1\nTarget=2\n", {AnswerProblem::BadValue, L"Source", L"1", L"N:M"}}),
    [](const testing::TestParamInfo<ProblemCase>& info) { return std::string(info.param.name); });

TEST(AnswerFile, AFileThatCannotBeReadSaysSo)
{
    const auto read = palto::ReadAnswers(ProfileText(kHead, false), L"Z:\\gone.ini");
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->problem, AnswerProblem::Unreadable);
    EXPECT_EQ(read.path, L"Z:\\gone.ini");
}

struct ArgumentCase {
    const wchar_t* commandLine;
    std::optional<std::wstring> path;
};

class Arguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(Arguments, TheFileIsNamedByItsOwnArgument)
{
    EXPECT_EQ(palto::AnswerFileArgument(GetParam().commandLine), GetParam().path) << testing::PrintToString(std::wstring(GetParam().commandLine));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Arguments,
    testing::Values(ArgumentCase{L"Palto.exe", std::nullopt},
                    ArgumentCase{L"Palto.exe -answers=X:\\restore.ini", L"X:\\restore.ini"},
                    ArgumentCase{L"Palto.exe /ANSWERS=X:\\restore.ini -test", L"X:\\restore.ini"},
                    ArgumentCase{L"\"C:\\-answers=no\\Palto.exe\" -test", std::nullopt},
                    ArgumentCase{L"Palto.exe -answers=\"D:\\my answers\\office.ini\"", L"D:\\my answers\\office.ini"},
                    ArgumentCase{L"Palto.exe \"/answers=D:\\my answers\\office.ini\" -test", L"D:\\my answers\\office.ini"},
                    ArgumentCase{L"Palto.exe -answers=", L""},
                    ArgumentCase{L"Palto.exe -answers", std::nullopt},
                    ArgumentCase{L"Palto.exe -answersX=a.ini", std::nullopt},
                    ArgumentCase{L"Palto.exe --answers=a.ini", std::nullopt},
                    ArgumentCase{L"Palto.exe -answers=a.ini -answers=b.ini", L"a.ini"},
                    ArgumentCase{L"Palto.exe -answers=a\\\\\"b c\"", L"a\\b c"}));

}  // namespace
