#include <gtest/gtest.h>

#include "LayoutFixture.h"
#include "restore/ReportPlace.h"

using namespace palto;
using palto::test::GB;
using palto::test::MakeLayout;

namespace {

// This computer: disk 0 (C: and D:), disk 1 (E: and one partition without a letter),
// disk 2 (F:), with the target marked as the destination page marks it.
std::unique_ptr<tagEntireComputerInf> ThisComputer(int targetDisk, int targetPartition)
{
    std::vector<palto::test::DiskFixture> disks = {
        {0, 200 * GB, {{1, u"Windows", 150 * GB, u'C'}, {2, u"Data", 50 * GB, u'd'}}},
        {1, 100 * GB, {{1, u"Backup", 60 * GB, u'E'}, {2, u"", 40 * GB, 0}}},
        {2, 50 * GB, {{1, u"Spare", 50 * GB, u'F'}}},
    };
    if (targetDisk >= 0) {
        if (targetPartition < 0) disks[targetDisk].selected = true;
        else disks[targetDisk].partitions[targetPartition].selected = true;
    }
    return MakeLayout(disks);
}

}  // namespace

TEST(ReportPlace, APartitionOrDiskRestoreWritesToTheWholeDiskOfItsTarget)
{
    const auto backedUp = palto::test::MakeDisks({100});
    EXPECT_EQ(DrivesTheRestoreMayWrite(2, backedUp.get(), ThisComputer(0, 1).get()), L"CD");
    EXPECT_EQ(DrivesTheRestoreMayWrite(1, backedUp.get(), ThisComputer(2, -1).get()), L"F");
    EXPECT_EQ(DrivesTheRestoreMayWrite(2, backedUp.get(), ThisComputer(1, 1).get()), L"E");
    EXPECT_EQ(DrivesTheRestoreMayWrite(1, backedUp.get(), ThisComputer(-1, -1).get()), L"");
    EXPECT_EQ(DrivesTheRestoreMayWrite(1, backedUp.get(), nullptr), L"");
}

TEST(ReportPlace, AnEntireComputerRestoreWritesToEveryPairedDisk)
{
    const auto here = ThisComputer(-1, -1);
    // One backed-up disk: the largest here (disk 0); two: disks 0 and 1; four: all three.
    EXPECT_EQ(DrivesTheRestoreMayWrite(0, palto::test::MakeDisks({10}).get(), here.get()), L"CD");
    EXPECT_EQ(DrivesTheRestoreMayWrite(0, palto::test::MakeDisks({10, 90}).get(), here.get()), L"CDE");
    EXPECT_EQ(DrivesTheRestoreMayWrite(0, palto::test::MakeDisks({1, 1, 1, 1}).get(), here.get()), L"CDEF");
    EXPECT_EQ(DrivesTheRestoreMayWrite(0, nullptr, here.get()), L"");
}

TEST(ReportPlace, DisksOfEqualSizeCouldBeEitherPairedDisk)
{
    const auto here = MakeLayout({{0, 80 * GB, {{1, u"", 80 * GB, u'G'}}}, {1, 80 * GB, {{1, u"", 80 * GB, u'H'}}}});
    EXPECT_EQ(DrivesTheRestoreMayWrite(0, palto::test::MakeDisks({10}).get(), here.get()), L"GH");
}

TEST(ReportPlace, FoldersInOrderWithoutTheRestoresDrives)
{
    const std::wstring program = L"X:\\Tools\\Restore";
    const std::wstring backup = L"e:\\Backups\\Documents";
    const std::wstring temp = L"X:\\Temp\\";
    struct Case {
        const wchar_t* forbidden;
        std::vector<std::wstring> folders;
    } cases[] = {
        {L"", {L"X:\\Tools\\Restore", L"E:\\Restore reports", L"X:\\Temp"}},
        {L"CD", {L"X:\\Tools\\Restore", L"E:\\Restore reports", L"X:\\Temp"}},
        {L"X", {L"E:\\Restore reports"}},
        {L"E", {L"X:\\Tools\\Restore", L"X:\\Temp"}},
        {L"EX", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReportFolders(program, backup, temp, c.forbidden), c.folders) << c.forbidden;
}

TEST(ReportPlace, PathsWithoutALetter)
{
    EXPECT_EQ(ReportFolders(L"\\\\server\\share\\", L"\\\\nas\\backups", L"", L"CDE"),
              std::vector<std::wstring>{L"\\\\server\\share"});
    EXPECT_EQ(ReportFolders(L"", L"", L"C:\\", L"X"), std::vector<std::wstring>{L"C:\\"});
    EXPECT_EQ(DriveOfPath(L"7:\\x"), 0);
    EXPECT_EQ(DriveOfPath(L"z:"), L'Z');
    EXPECT_EQ(DriveOfPath(L"E"), 0);
}
