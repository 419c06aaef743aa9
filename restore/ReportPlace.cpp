#include "restore/ReportPlace.h"

#include <cwctype>

#include "engine/RecordReaders.h"
#include "pages/EntireFit.h"

namespace palto {

namespace {

void AddDrivesOf(const tagDiskInf& disk, std::wstring& drives)
{
    for (const tagPartitionInf& partition : Partitions(disk)) {
        const wchar_t letter = DriveOfPath(std::wstring{static_cast<wchar_t>(partition.driveLetter), L':'});
        if (letter && drives.find(letter) == std::wstring::npos) drives += letter;
    }
}

bool HoldsTarget(const tagDiskInf& disk)
{
    if (disk.selected) return true;
    for (const tagPartitionInf& partition : Partitions(disk))
        if (partition.selected) return true;
    return false;
}

std::wstring WithoutTrailingBackslash(std::wstring_view path)
{
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.remove_suffix(1);
    return std::wstring(path);
}

}  // namespace

std::wstring DrivesTheRestoreMayWrite(int restoreType, const tagEntireComputerInf* backedUp,
                                      const tagEntireComputerInf* here)
{
    std::wstring drives;
    if (!here) return drives;
    const auto disks = Disks(*here);
    if (restoreType == 0) {
        if (backedUp)
            for (const std::size_t d : PairedDisks(*backedUp, *here)) AddDrivesOf(disks[d], drives);
        return drives;
    }
    for (const tagDiskInf& disk : disks)
        if (HoldsTarget(disk)) AddDrivesOf(disk, drives);
    return drives;
}

wchar_t DriveOfPath(std::wstring_view path)
{
    if (path.size() < 2 || path[1] != L':') return 0;
    const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
    return letter >= L'A' && letter <= L'Z' ? letter : 0;
}

std::vector<std::wstring> ReportFolders(std::wstring_view programFolder, std::wstring_view backupLocation,
                                        std::wstring_view tempFolder, std::wstring_view forbidden)
{
    std::vector<std::wstring> folders;
    const auto add = [&](const std::wstring& folder) {
        const wchar_t drive = DriveOfPath(folder);
        if (folder.empty() || (drive && forbidden.find(drive) != std::wstring_view::npos)) return;
        folders.push_back(folder);
    };
    add(WithoutTrailingBackslash(programFolder));
    if (const wchar_t drive = DriveOfPath(backupLocation))
        add(std::wstring{drive, L':', L'\\'} + std::wstring(kReportFolderName));
    add(WithoutTrailingBackslash(tempFolder));
    return folders;
}

}  // namespace palto
