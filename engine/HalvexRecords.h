// Records exchanged with the backup engine, byte for byte as the engine lays them out
// (64-bit Windows, little-endian, natural alignment, 8-byte pointers). Characters in
// records are char16_t, so the layouts are the same in the native and the Windows build.
//
// Fields named unused* and reserved* belong to the engine: they keep their place and
// width, and the wizard neither reads nor writes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(sizeof(void*) == 8, "the engine's records are those of a 64-bit process");
static_assert(sizeof(char16_t) == 2 && sizeof(double) == 8 && sizeof(bool) == 1);

// ---------------------------------------------------------------------------------------
// Restore layout: the disks and partitions of one computer.

struct tagPartitionInf {
    std::uint32_t partitionNumber;   // number of the partition on its disk
    char16_t driveLetter;            // drive letter of its volume, 0 when it has none
    char16_t label[260];             // volume label; zero-terminated unless the engine errs
    std::uint8_t padding1[2];
    std::uint64_t unused1;
    std::uint64_t unused2;
    std::uint64_t partitionSize;     // bytes
    std::uint32_t typeCode;
    std::uint32_t unused3;
    std::uint8_t unused4;
    std::uint8_t oemSkip;            // non-zero: not offered as a source in OEM mode
    char16_t unusedText[260];
    std::uint8_t selected;           // selection flag
    std::uint8_t padding2;
    std::uint32_t unused5;
};
static_assert(sizeof(tagPartitionInf) == 1088);
static_assert(offsetof(tagPartitionInf, partitionNumber) == 0);
static_assert(offsetof(tagPartitionInf, driveLetter) == 4);
static_assert(offsetof(tagPartitionInf, label) == 6);
static_assert(offsetof(tagPartitionInf, partitionSize) == 544);
static_assert(offsetof(tagPartitionInf, typeCode) == 552);
static_assert(offsetof(tagPartitionInf, oemSkip) == 561);
static_assert(offsetof(tagPartitionInf, selected) == 1082);

constexpr int kMaxPartitionsPerDisk = 26;
constexpr int kMaxDisks = 26;

struct tagDiskInf {
    std::uint32_t diskNumber;
    std::int32_t partitionCount;     // valid entries of partitions, 0 to 26 from a sound engine
    tagPartitionInf partitions[kMaxPartitionsPerDisk];
    std::uint64_t unused1;
    std::uint64_t diskSize;          // bytes
    std::uint8_t selected;           // selection flag
    std::uint8_t padding[3];
    std::uint32_t unused2;
};
static_assert(sizeof(tagDiskInf) == 28320);
static_assert(offsetof(tagDiskInf, diskNumber) == 0);
static_assert(offsetof(tagDiskInf, partitionCount) == 4);
static_assert(offsetof(tagDiskInf, partitions) == 8);
static_assert(offsetof(tagDiskInf, diskSize) == 28304);
static_assert(offsetof(tagDiskInf, selected) == 28312);

struct tagEntireComputerInf {
    // Zero in every byte except presetOne, as every layout the wizard makes must start.
    tagEntireComputerInf();

    std::int32_t diskCount;          // valid entries of disks, 0 to 26 from a sound engine
    std::uint8_t padding1[4];
    tagDiskInf disks[kMaxDisks];
    std::uint64_t unused1;
    std::uint64_t totalSize;         // bytes, all disks together
    std::uint8_t entireComputer;     // whole-computer selection flag
    std::uint8_t unused2[739552 - 736345];
    std::uint32_t presetOne;         // the engine expects 1 here in a layout it is handed
    std::uint8_t unused3[740104 - 739556];
};
static_assert(sizeof(tagEntireComputerInf) == 740104);
static_assert(offsetof(tagEntireComputerInf, diskCount) == 0);
static_assert(offsetof(tagEntireComputerInf, disks) == 8);
static_assert(offsetof(tagEntireComputerInf, totalSize) == 736336);
static_assert(offsetof(tagEntireComputerInf, entireComputer) == 736344);
static_assert(offsetof(tagEntireComputerInf, presetOne) == 739552);

inline tagEntireComputerInf::tagEntireComputerInf()
{
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    presetOne = 1;
}

// ---------------------------------------------------------------------------------------
// Projects and their backups.

// The ids of all backup projects; the engine allocates count entries after the count.
struct _Projects {
    std::uint32_t count;
    std::uint32_t ids[];
};
static_assert(offsetof(_Projects, count) == 0);
static_assert(offsetof(_Projects, ids) == 4);

#pragma pack(push, 1)
// One backup of a project. Entries follow each other without padding, so none of
// their fields is aligned: copy a field out by value before binding a reference or a
// pointer to it (EXPECT_EQ, std::max and friends take references).
struct _ProjectHistoryEntry {
    std::uint64_t backupTime;        // FILETIME; also the archive id; 0 = not offered
    std::uint8_t reserved1[4];
    std::uint8_t notBase;            // non-zero: never the base of a restore
    std::uint8_t reserved2[266];
};

struct _ProjectHistoryList {
    std::int32_t count;
    _ProjectHistoryEntry entries[];  // count entries, in ascending backupTime
};
#pragma pack(pop)
static_assert(sizeof(_ProjectHistoryEntry) == 279);
static_assert(offsetof(_ProjectHistoryEntry, backupTime) == 0);
static_assert(offsetof(_ProjectHistoryEntry, notBase) == 12);
static_assert(offsetof(_ProjectHistoryList, count) == 0);
static_assert(offsetof(_ProjectHistoryList, entries) == 4);

// The description of a project or of one of its backups, 741,552 bytes: allocate it on
// the heap. The texts behind the three pointers belong to the engine (FreeProject).
struct _ProjectDesc {
    // Zero in every byte except the layout's presetOne.
    _ProjectDesc();

    std::uint8_t unused1[32];
    char16_t* location;              // where the backup lies; first character = drive letter
    char16_t* description;           // shown in the project list
    char16_t* encryptedPassword;     // EncryptString form; null or empty: no password
    std::uint8_t unused2[1400 - 56];
    tagEntireComputerInf layout;     // the backed-up computer and what the backup holds
    std::uint8_t unused3[741552 - 741504];
};
static_assert(sizeof(_ProjectDesc) == 741552);
static_assert(offsetof(_ProjectDesc, location) == 32);
static_assert(offsetof(_ProjectDesc, description) == 40);
static_assert(offsetof(_ProjectDesc, encryptedPassword) == 48);
static_assert(offsetof(_ProjectDesc, layout) == 1400);

inline _ProjectDesc::_ProjectDesc()
{
    // Everything before and after the layout; the layout has constructed itself.
    std::memset(static_cast<void*>(this), 0, offsetof(_ProjectDesc, layout));
    std::memset(static_cast<void*>(unused3), 0, sizeof(unused3));
}

// The engine's answer about one chosen backup; the memory behind the pointers is the
// engine's until FreeProjectRestoreInfo.
struct _ProjectRestoreInfo {
    _ProjectDesc* projectDesc;            // the backup's description; its layout is the backed-up computer
    tagEntireComputerInf* thisComputer;   // block for this computer's layout
    std::uint64_t reserved;               // the engine's; never read
    _ProjectHistoryList* historyList;     // the project's backups
};
static_assert(sizeof(_ProjectRestoreInfo) == 32);
static_assert(offsetof(_ProjectRestoreInfo, projectDesc) == 0);
static_assert(offsetof(_ProjectRestoreInfo, thisComputer) == 8);
static_assert(offsetof(_ProjectRestoreInfo, historyList) == 24);

// ---------------------------------------------------------------------------------------
// Restore control and progress.

// The restore order, 740,136 bytes; the engine takes what it needs during the call.
struct _ProjectRestoreData {
    _ProjectRestoreData() = default;      // archiveId, pointers 0; layout as constructed

    std::uint64_t archiveId = 0;                  // backupTime of the chosen backup
    _ProjectDesc* projectDesc = nullptr;          // from the restore info
    tagEntireComputerInf layout;                  // copy of this computer's marked layout
    _ProjectHistoryEntry* baseEntry = nullptr;    // points into historyList
    _ProjectHistoryList* historyList = nullptr;   // from the restore info
};
static_assert(sizeof(_ProjectRestoreData) == 740136);
static_assert(offsetof(_ProjectRestoreData, archiveId) == 0);
static_assert(offsetof(_ProjectRestoreData, projectDesc) == 8);
static_assert(offsetof(_ProjectRestoreData, layout) == 16);
static_assert(offsetof(_ProjectRestoreData, baseEntry) == 0xB4B18);
static_assert(offsetof(_ProjectRestoreData, historyList) == 0xB4B20);

// Progress of a running task. A value-initialized record ({}) is cleared in every field.
struct _ProgressInfo {
    char16_t unusedText1[260];
    char16_t unusedText2[260];
    char16_t unusedText3[260];
    char16_t unusedText4[260];
    std::int32_t unused1;
    std::uint8_t padding1[4];
    std::uint64_t unused2[6];
    double unused3;
    std::int32_t phase;              // 6, 7 and 8 have a meaning for the wizard
    std::int32_t percent;            // 0 to 100 within the phase
    std::uint8_t firstStage;         // non-zero during the first stage (a bool byte)
    std::uint8_t padding2[7];
};
static_assert(sizeof(_ProgressInfo) == 2160);
static_assert(offsetof(_ProgressInfo, phase) == 0x860);
static_assert(offsetof(_ProgressInfo, percent) == 0x864);
static_assert(offsetof(_ProgressInfo, firstStage) == 0x868);

constexpr std::int32_t kTaskCommandStop = 2;

struct _TaskCtlCmdData {
    std::int32_t command;            // kTaskCommandStop is the only one the wizard sends
    std::uint32_t reserved;          // zero
};
static_assert(sizeof(_TaskCtlCmdData) == 8);
static_assert(offsetof(_TaskCtlCmdData, command) == 0);

// ---------------------------------------------------------------------------------------
// Notifications: SetNotifyFunction(id, function, context) registers a function of
// (context, record) per id; the engine calls it on a thread of its own and reads the
// answer fields after it returns.

enum NotifyId : unsigned {
    kNotifyTaskEnd = 1,
    kNotifyEngineMessage = 2,
    kNotifyMediaRequest = 3,
};

using NotifyFunction = void (*)(void* context, void* record);

// Id 1: a task has ended.
struct _TaskEndNotifyData {
    std::uint32_t reserved;
    std::int32_t result;             // 0 = success, else an engine code
};
static_assert(sizeof(_TaskEndNotifyData) == 8);
static_assert(offsetof(_TaskEndNotifyData, result) == 0x04);

// Id 2: a warning, or the one question the engine asks.
struct _EngineMessageNotifyData {
    std::uint32_t param;             // passed along with the code, not interpreted
    std::int32_t code;               // engine code whose text is shown
    std::int32_t answer;             // 1 = go on, -1 = stop (already sent), 0 = shown as a warning
};
static_assert(sizeof(_EngineMessageNotifyData) == 12);
static_assert(offsetof(_EngineMessageNotifyData, param) == 0x00);
static_assert(offsetof(_EngineMessageNotifyData, code) == 0x04);
static_assert(offsetof(_EngineMessageNotifyData, answer) == 0x08);

constexpr std::int32_t kMediaAnswerOk = 0;
constexpr std::int32_t kMediaAnswerCancel = 1;

// Id 3: make a part of the backup available.
struct _MediaRequestNotifyData {
    std::uint32_t reserved1;
    std::int32_t part;               // part number; -1, -2 and -3 ask for the last medium
    std::int32_t drive;              // one character
    std::uint32_t reserved2;
    std::int32_t answer;             // kMediaAnswerOk or kMediaAnswerCancel
    std::uint32_t reserved3;
    std::uint64_t backupTime;        // FILETIME, UTC
};
static_assert(sizeof(_MediaRequestNotifyData) == 32);
static_assert(offsetof(_MediaRequestNotifyData, part) == 0x04);
static_assert(offsetof(_MediaRequestNotifyData, drive) == 0x08);
static_assert(offsetof(_MediaRequestNotifyData, answer) == 0x10);
static_assert(offsetof(_MediaRequestNotifyData, backupTime) == 0x18);
