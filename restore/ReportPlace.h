// Where the restore report may go. It must survive the restore, so it never goes onto a
// disk the restore may write to: in order, the program's own folder, a folder "Restore
// reports" at the root of the backup's drive (never the backup's own folder, which is
// left untouched), and the temporary folder. Which of them is writable only a try tells
// (ReportFile.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/HalvexRecords.h"

namespace palto {

inline constexpr std::wstring_view kReportFolderName = L"Restore reports";

// The drive letters (upper case) of this computer that the restore may write to: for an
// entire-computer restore (`restoreType` 0) every partition of the disks the fit check
// pairs with a backed-up disk; otherwise every partition of the disk that holds the
// chosen target (marked in `here`), the whole disk and not only the target partition,
// since a partition restore may move its neighbours.
std::wstring DrivesTheRestoreMayWrite(int restoreType, const tagEntireComputerInf* backedUp,
                                      const tagEntireComputerInf* here);

// The drive letter (upper case) of a path such as "E:\Backups", 0 for one without.
wchar_t DriveOfPath(std::wstring_view path);

// The folders to try, in order, without those on a drive in `forbidden` or without a
// path. Paths come without a trailing backslash.
std::vector<std::wstring> ReportFolders(std::wstring_view programFolder, std::wstring_view backupLocation,
                                        std::wstring_view tempFolder, std::wstring_view forbidden);

}  // namespace palto
