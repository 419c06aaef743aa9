// The stand-in engine: one per process, behind every Caller. It serves the catalog,
// hands out records the caller must give back, runs one restore task at a time,
// injects the catalog's faults and writes the journal.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

#include "engine/HalvexRecords.h"
#include "simengine/Allocations.h"
#include "simengine/Catalog.h"
#include "simengine/Faults.h"
#include "simengine/Journal.h"
#include "simengine/Notifications.h"
#include "simengine/RestoreTask.h"

namespace sim {

class Engine {
public:
    // Made on first use with the catalog loaded; never destroyed, so that a task
    // thread still running when the process ends finds it in place.
    static Engine& Get();

    // Reset, or the first start if there was none yet (the catalog is read once).
    static void Restart();

    std::int32_t QueryProjects(_Projects** list, bool refresh, wchar_t drive);
    std::int32_t FreeProjects(_Projects** list);
    std::int32_t QueryProject(std::uint32_t projectId, _ProjectDesc& desc, wchar_t drive);
    std::int32_t FreeProject(_ProjectDesc& desc);
    std::int32_t QueryProjectHistory(std::uint32_t projectId, _ProjectHistoryList** list, wchar_t drive);
    std::int32_t FreeProjectHistory(_ProjectHistoryList* list);
    std::int32_t QueryArchiveProject(std::uint32_t projectId, std::uint64_t archiveId, _ProjectDesc& desc, wchar_t drive);
    std::int32_t QueryProjectRestoreInfo(std::uint32_t projectId, std::uint64_t archiveId, _ProjectRestoreInfo& info,
                                         wchar_t drive);
    std::int32_t FreeProjectRestoreInfo(_ProjectRestoreInfo& info);
    std::int32_t GetDRRestoreVolumesInfo(tagEntireComputerInf& layout);
    std::int32_t ProjectRestoreCtrl(std::uint32_t projectId, _ProjectRestoreData& order);
    std::int32_t GetTaskProgInfo(std::uint32_t projectId, _ProgressInfo& progress);
    std::int32_t TaskControl(std::uint32_t projectId, _TaskCtlCmdData& command);
    std::int32_t SetNotifyFunction(unsigned id, void* function, void* context);
    bool EncryptString(const wchar_t* text, wchar_t* out, unsigned long outBytes);

    bool StartupFailed();
    // Where the catalog came from, and whether it could be used.
    std::pair<std::wstring, bool> CatalogSource() const;
    std::size_t OutstandingAllocations() const { return m_allocations.Outstanding(); }

    // Writes a call that has no result of its own (construction, communicator).
    void Record(nlohmann::json line) { m_journal.Write(line); }

    // As after the first start: stops a task, reads the catalog and the journal's
    // name again, forgets registrations, answered media requests and call counts.
    // Blocks released to the caller stay theirs to free.
    void Reset();

private:
    Engine();
    static Engine& Get(bool& made);

    // The catalog for a call of `operation`, or the code the call fails with.
    std::int32_t Enter(std::string_view operation, std::shared_ptr<const Catalog>& catalog);
    // Counts a call that needs no catalog; the code of an injected fault, or 0.
    std::int32_t EnterWithoutCatalog(std::string_view operation);
    // Writes the call with its result to the journal and returns the result.
    std::int32_t Done(nlohmann::json& line, std::int32_t result);

    std::int32_t AskForMedia(const Project& project, std::uint64_t archiveId, nlohmann::json& line);
    std::int32_t CheckBaseEntry(const Project& project, const _ProjectRestoreData& order, nlohmann::json& line) const;
    std::int32_t CheckTargetLayout(const Catalog& catalog, const tagEntireComputerInf& layout) const;
    void ReleaseRestoreInfo(_ProjectRestoreInfo& info);
    // The project whose restore info holds `layout` as its block for this computer.
    const Project* LayoutOwner(const Catalog& catalog, const tagEntireComputerInf& layout) const;

    mutable std::mutex m_lock;
    std::shared_ptr<const Catalog> m_catalog;     // null when it could not be read
    std::wstring m_catalogSource;
    std::set<std::uint32_t> m_mediaReady;         // projects whose media request was answered OK
    std::unique_ptr<RestoreTask> m_task;          // the current or last task
    std::map<const void*, std::uint32_t> m_layoutProjects;   // thisComputer blocks handed out, by project

    Allocations m_allocations;
    Journal m_journal;
    Faults m_faults;
    Notifications m_notifications;
};

}  // namespace sim
