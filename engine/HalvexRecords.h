// Records exchanged with the backup engine, byte for byte as the engine lays them out
// (64-bit Windows, little-endian, natural alignment, 8-byte pointers). Characters in
// records are char16_t, so the layouts are the same in the native and the Windows build.
#pragma once

#include <cstddef>
#include <cstdint>

struct _ProjectDesc;
struct tagEntireComputerInf;
struct _ProjectHistoryList;

// The engine's answer about one chosen backup; the memory behind the pointers is the
// engine's until FreeProjectRestoreInfo.
struct _ProjectRestoreInfo {
    _ProjectDesc* projectDesc;            // the backup's description; its layout is the backed-up computer
    tagEntireComputerInf* thisComputer;   // block for this computer's layout
    std::uint64_t reserved;               // the engine's; never read
    _ProjectHistoryList* historyList;     // the project's backups
};
static_assert(sizeof(void*) == 8, "the engine's records are those of a 64-bit process");
static_assert(sizeof(_ProjectRestoreInfo) == 32);
static_assert(offsetof(_ProjectRestoreInfo, projectDesc) == 0);
static_assert(offsetof(_ProjectRestoreInfo, thisComputer) == 8);
static_assert(offsetof(_ProjectRestoreInfo, historyList) == 24);
