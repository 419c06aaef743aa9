// The backup engine Halvex.dll: its exported classes. The wizard includes this header
// and links the import library; the engine fills and reads the records of
// HalvexRecords.h. Every int result is 0 on success, else an engine code (HalvexCodes.h).
// The drive argument is 0xFFFF except for QueryArchiveProject, which is given the drive
// letter of the backup's location.
#pragma once

#include "engine/HalvexCodes.h"
#include "engine/HalvexRecords.h"

// The classes exist in the Windows build only; elsewhere this header gives the records.
#ifdef _WIN32

#include <memory>
#include <type_traits>

#ifdef HALVEX_BUILDING_DLL
#define HALVEX_API __declspec(dllexport)
#else
#define HALVEX_API __declspec(dllimport)
#endif

constexpr wchar_t kAnyDrive = 0xFFFF;

class HALVEX_API Caller {
public:
    explicit Caller(bool local);
    ~Caller();
    Caller(const Caller&) = delete;
    Caller& operator=(const Caller&) = delete;

    // Allocates the list of all project ids; FreeProjects(&list) releases it.
    int QueryProjects(_Projects** list, bool refresh, wchar_t drive);
    int FreeProjects(_Projects** list);

    // Fills a description the caller allocated and constructed; FreeProject releases
    // the engine's texts in it (the caller then frees the description).
    int QueryProject(unsigned int projectId, _ProjectDesc& desc, wchar_t drive);
    int FreeProject(_ProjectDesc& desc);

    // Allocates the project's backups in ascending time; FreeProjectHistory releases it.
    int QueryProjectHistory(unsigned int projectId, _ProjectHistoryList** list, wchar_t drive);
    int FreeProjectHistory(_ProjectHistoryList* list);

    // Opens one backup and fills the description as QueryProject does. Returns
    // kMediumNotAvailable while its medium is missing; media requests (notification 3)
    // may arrive during the call.
    int QueryArchiveProject(unsigned int projectId, unsigned long long archiveId, _ProjectDesc& desc,
                            wchar_t drive);

    // Sets the three pointers of `info`; FreeProjectRestoreInfo releases what they hold.
    int QueryProjectRestoreInfo(unsigned int projectId, unsigned long long archiveId, _ProjectRestoreInfo& info,
                                wchar_t drive);
    int FreeProjectRestoreInfo(_ProjectRestoreInfo& info);

    // Fills this computer's disks and partitions, every flag cleared.
    int GetDRRestoreVolumesInfo(tagEntireComputerInf& layout);

    // Starts the restore task; it runs on inside the engine and reports through the
    // notifications. The task is addressed by the project id.
    int ProjectRestoreCtrl(unsigned int projectId, _ProjectRestoreData& order);
    int GetTaskProgInfo(unsigned int projectId, _ProgressInfo& progress);
    int TaskControl(unsigned int projectId, _TaskCtlCmdData& command);

    // Registers `function` (a NotifyFunction) for a notification id; a later
    // registration replaces it, a null function with a null context withdraws it.
    int SetNotifyFunction(unsigned int id, void* function, void* context);

    // The protected form of a password: fills `out` (of `outBytes` bytes) and returns true.
    static bool EncryptString(const wchar_t* text, wchar_t* out, unsigned long outBytes);

    // Whether the engine failed to start. The wizard does not call it.
    static bool StartupFailed();

private:
    unsigned char m_opaque[64];      // the engine's; the object is 64 bytes
};

// The engine starts the communicator through the third slot of its virtual table.
// g++ (Itanium C++ ABI) gives the virtual destructor the first two slots (complete and
// deleting destructor); MSVC gives it one, so there a placeholder takes the second
// slot and Initialize stays the third. docs/engine-binding.md says more.
class HALVEX_API Communicator {
public:
    // The process's one communicator.
    static std::shared_ptr<Communicator> Instance(bool local);

    virtual ~Communicator();
#ifdef _MSC_VER
    virtual void ReservedSlot();  // never called
#endif
    virtual void Initialize(bool local);

protected:
    Communicator() = default;
};

// Nothing but the virtual table pointer: the object holds no data the wizard could
// misplace, and the slot order above is the whole of its layout.
static_assert(sizeof(Communicator) == sizeof(void*));
static_assert(std::has_virtual_destructor_v<Communicator>);
static_assert(sizeof(Caller) == 64);

#endif  // _WIN32
