#include "simengine/Engine.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "engine/HalvexCodes.h"
#include "simengine/CatalogFile.h"
#include "simengine/Protect.h"
#include "simengine/RecordFill.h"

namespace sim {

namespace {

using nlohmann::json;

std::wstring Widen(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::size_t Clamped(std::int32_t count, int max)
{
    return static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, max));
}

// Every selection flag of a layout, for the journal.
json SelectionOf(const tagEntireComputerInf& layout)
{
    json disks = json::array();
    for (std::size_t d = 0; d < Clamped(layout.diskCount, kMaxDisks); ++d) {
        const tagDiskInf& disk = layout.disks[d];
        json partitions = json::array();
        for (std::size_t p = 0; p < Clamped(disk.partitionCount, kMaxPartitionsPerDisk); ++p)
            partitions.push_back({{"number", disk.partitions[p].partitionNumber}, {"selected", disk.partitions[p].selected}});
        disks.push_back({{"number", disk.diskNumber}, {"selected", disk.selected}, {"partitions", partitions}});
    }
    return {{"entireComputer", layout.entireComputer}, {"disks", disks}};
}

bool AnyFlagSet(const tagEntireComputerInf& layout)
{
    if (layout.entireComputer) return true;
    for (std::size_t d = 0; d < Clamped(layout.diskCount, kMaxDisks); ++d) {
        const tagDiskInf& disk = layout.disks[d];
        if (disk.selected) return true;
        for (std::size_t p = 0; p < Clamped(disk.partitionCount, kMaxPartitionsPerDisk); ++p)
            if (disk.partitions[p].selected) return true;
    }
    return false;
}

const Archive* FindArchive(const Project& project, std::uint64_t time)
{
    const auto it = std::find_if(project.history.begin(), project.history.end(), [time](const Archive& a) { return a.time == time; });
    return it == project.history.end() ? nullptr : &*it;
}

// The project and backup a call names, or the code the call fails with.
std::int32_t FindBackup(const Catalog& catalog, std::uint32_t projectId, std::uint64_t archiveId, const Project*& project)
{
    project = catalog.FindProject(projectId);
    if (!project) return halvex::kProjectNotFound;
    return FindArchive(*project, archiveId) ? halvex::kOk : halvex::kArchiveNotFound;
}

// The base a restore of `archiveId` needs: the latest backup not later than it that
// can serve as a base, in whatever order the history is served.
const Archive* ExpectedBase(const Project& project, std::uint64_t archiveId)
{
    const Archive* base = nullptr;
    for (const Archive& archive : project.history) {
        if (archive.time != 0 && archive.time <= archiveId && !archive.notBase && (!base || archive.time > base->time))
            base = &archive;
    }
    return base;
}

}  // namespace

Engine& Engine::Get()
{
    bool made = false;
    return Get(made);
}

Engine& Engine::Get(bool& made)
{
    static Engine* const engine = (made = true, new Engine());
    return *engine;
}

void Engine::Restart()
{
    bool made = false;
    Engine& engine = Get(made);
    if (!made) engine.Reset();
}

Engine::Engine()
{
    Reset();
}

void Engine::Reset()
{
    std::unique_ptr<RestoreTask> task;
    {
        std::lock_guard lock(m_lock);
        task = std::move(m_task);
    }
    task.reset();   // stops it and waits for its thread

    LoadedCatalog loaded = LoadCatalog();
    if (!loaded.catalog) {
        const std::wstring line = L"Halvex.dll: the backup catalog \"" + loaded.source + L"\" cannot be used (" +
                                  Widen(loaded.error) + L"); every query fails with " +
                                  std::to_wstring(halvex::kEngineNotReady) + L".\n";
        ::OutputDebugStringW(line.c_str());
    }
    m_journal.SetPath(EnvironmentText(L"HALVEX_SIM_JOURNAL"));
    m_notifications.Clear();
    m_faults.Reset(loaded.catalog ? loaded.catalog->faults : std::vector<Fault>{});
    std::lock_guard lock(m_lock);
    m_catalog = std::move(loaded.catalog);
    m_catalogSource = std::move(loaded.source);
    m_mediaReady.clear();
}

std::pair<std::wstring, bool> Engine::CatalogSource() const
{
    std::lock_guard lock(m_lock);
    return {m_catalogSource, m_catalog != nullptr};
}

bool Engine::StartupFailed()
{
    std::lock_guard lock(m_lock);
    return !m_catalog;
}

std::int32_t Engine::Enter(std::string_view operation, std::shared_ptr<const Catalog>& catalog)
{
    if (const std::int32_t fault = m_faults.OnCall(operation)) return fault;
    std::lock_guard lock(m_lock);
    if (!m_catalog) return halvex::kEngineNotReady;
    catalog = m_catalog;
    return halvex::kOk;
}

std::int32_t Engine::EnterWithoutCatalog(std::string_view operation)
{
    return m_faults.OnCall(operation);
}

std::int32_t Engine::Done(json& line, std::int32_t result)
{
    line["result"] = result;
    m_journal.Write(line);
    return result;
}

std::int32_t Engine::QueryProjects(_Projects** list, bool refresh, wchar_t drive)
{
    json line{{"op", "QueryProjects"}, {"refresh", refresh}, {"drive", drive}};
    std::shared_ptr<const Catalog> catalog;
    if (const std::int32_t code = Enter("QueryProjects", catalog)) return Done(line, code);
    if (!list) return Done(line, halvex::kInvalidRequest);
    *list = NewProjectList(m_allocations, *catalog);
    if (!*list) return Done(line, halvex::kOutOfMemory);
    line["count"] = (*list)->count;
    return Done(line, halvex::kOk);
}

std::int32_t Engine::FreeProjects(_Projects** list)
{
    json line{{"op", "FreeProjects"}};
    if (const std::int32_t code = EnterWithoutCatalog("FreeProjects")) return Done(line, code);
    if (!list || !*list) return Done(line, halvex::kOk);
    if (!m_allocations.Release(*list)) return Done(line, halvex::kInvalidRequest);
    *list = nullptr;
    return Done(line, halvex::kOk);
}

std::int32_t Engine::QueryProject(std::uint32_t projectId, _ProjectDesc& desc, wchar_t drive)
{
    json line{{"op", "QueryProject"}, {"projectId", projectId}, {"drive", drive}};
    std::shared_ptr<const Catalog> catalog;
    if (const std::int32_t code = Enter("QueryProject", catalog)) return Done(line, code);
    const Project* project = catalog->FindProject(projectId);
    if (!project) return Done(line, halvex::kProjectNotFound);
    if (!FillDescription(m_allocations, desc, *project, catalog->protectedFormLength)) return Done(line, halvex::kOutOfMemory);
    return Done(line, halvex::kOk);
}

std::int32_t Engine::FreeProject(_ProjectDesc& desc)
{
    json line{{"op", "FreeProject"}};
    if (const std::int32_t code = EnterWithoutCatalog("FreeProject")) return Done(line, code);
    ReleaseDescriptionTexts(m_allocations, desc);
    return Done(line, halvex::kOk);
}

std::int32_t Engine::QueryProjectHistory(std::uint32_t projectId, _ProjectHistoryList** list, wchar_t drive)
{
    json line{{"op", "QueryProjectHistory"}, {"projectId", projectId}, {"drive", drive}};
    std::shared_ptr<const Catalog> catalog;
    if (const std::int32_t code = Enter("QueryProjectHistory", catalog)) return Done(line, code);
    if (!list) return Done(line, halvex::kInvalidRequest);
    const Project* project = catalog->FindProject(projectId);
    if (!project) return Done(line, halvex::kProjectNotFound);
    *list = NewHistoryList(m_allocations, *project);
    if (!*list) return Done(line, halvex::kOutOfMemory);
    line["count"] = (*list)->count;
    return Done(line, halvex::kOk);
}

std::int32_t Engine::FreeProjectHistory(_ProjectHistoryList* list)
{
    json line{{"op", "FreeProjectHistory"}};
    if (const std::int32_t code = EnterWithoutCatalog("FreeProjectHistory")) return Done(line, code);
    if (list && !m_allocations.Release(list)) return Done(line, halvex::kInvalidRequest);
    return Done(line, halvex::kOk);
}

// A backup on removable media opens once its media request has been answered OK; the
// request goes to the registered callback on the calling thread, during the query.
std::int32_t Engine::AskForMedia(const Project& project, std::uint64_t archiveId, json& line)
{
    {
        std::lock_guard lock(m_lock);
        if (!project.archiveMedia || m_mediaReady.count(project.id)) return halvex::kOk;
    }
    if (!RequestMedia(m_notifications, *project.archiveMedia, archiveId, line["mediaRequest"]))
        return halvex::kMediumNotAvailable;
    std::lock_guard lock(m_lock);
    m_mediaReady.insert(project.id);
    return halvex::kOk;
}

std::int32_t Engine::QueryArchiveProject(std::uint32_t projectId, std::uint64_t archiveId, _ProjectDesc& desc,
                                         wchar_t drive)
{
    json line{{"op", "QueryArchiveProject"}, {"projectId", projectId}, {"archiveId", archiveId}, {"drive", drive}};
    std::shared_ptr<const Catalog> catalog;
    const Project* project = nullptr;
    if (const std::int32_t code = Enter("QueryArchiveProject", catalog)) return Done(line, code);
    if (const std::int32_t code = FindBackup(*catalog, projectId, archiveId, project)) return Done(line, code);
    if (const std::int32_t code = AskForMedia(*project, archiveId, line)) return Done(line, code);
    if (!FillDescription(m_allocations, desc, *project, catalog->protectedFormLength)) return Done(line, halvex::kOutOfMemory);
    return Done(line, halvex::kOk);
}

// Releases what the record's pointers hold where they are the engine's blocks; other
// values are left alone, so a record that was never filled is harmless.
void Engine::ReleaseRestoreInfo(_ProjectRestoreInfo& info)
{
    if (info.projectDesc && m_allocations.BlockSize(info.projectDesc) == sizeof(_ProjectDesc)) {
        ReleaseDescriptionTexts(m_allocations, *info.projectDesc);
        m_allocations.Release(info.projectDesc);
        info.projectDesc = nullptr;
    }
    if (m_allocations.Release(info.thisComputer)) {
        std::lock_guard lock(m_lock);
        m_layoutProjects.erase(info.thisComputer);
        info.thisComputer = nullptr;
    }
    if (m_allocations.Release(info.historyList)) info.historyList = nullptr;
}

std::int32_t Engine::QueryProjectRestoreInfo(std::uint32_t projectId, std::uint64_t archiveId, _ProjectRestoreInfo& info,
                                             wchar_t drive)
{
    json line{{"op", "QueryProjectRestoreInfo"}, {"projectId", projectId}, {"archiveId", archiveId}, {"drive", drive}};
    std::shared_ptr<const Catalog> catalog;
    const Project* project = nullptr;
    if (const std::int32_t code = Enter("QueryProjectRestoreInfo", catalog)) return Done(line, code);
    if (const std::int32_t code = FindBackup(*catalog, projectId, archiveId, project)) return Done(line, code);

    ReleaseRestoreInfo(info);   // a query over an earlier answer replaces it
    const Hostile& hostile = project->hostile;
    _ProjectRestoreInfo fresh{};
    bool filled = true;
    if (!hostile.nullProjectDesc) {
        fresh.projectDesc = m_allocations.New<_ProjectDesc>();
        filled = fresh.projectDesc && FillDescription(m_allocations, *fresh.projectDesc, *project, catalog->protectedFormLength);
    }
    if (!hostile.nullThisComputer) {
        fresh.thisComputer = m_allocations.New<tagEntireComputerInf>();
        filled = filled && fresh.thisComputer;
    }
    if (!hostile.nullHistoryList) {
        fresh.historyList = NewHistoryList(m_allocations, *project);
        filled = filled && fresh.historyList;
    }
    if (!filled) {
        ReleaseRestoreInfo(fresh);
        return Done(line, halvex::kOutOfMemory);
    }
    if (fresh.thisComputer) {
        std::lock_guard lock(m_lock);
        m_layoutProjects[fresh.thisComputer] = projectId;
    }
    info.projectDesc = fresh.projectDesc;
    info.thisComputer = fresh.thisComputer;
    info.historyList = fresh.historyList;
    return Done(line, halvex::kOk);
}

std::int32_t Engine::FreeProjectRestoreInfo(_ProjectRestoreInfo& info)
{
    json line{{"op", "FreeProjectRestoreInfo"}};
    if (const std::int32_t code = EnterWithoutCatalog("FreeProjectRestoreInfo")) return Done(line, code);
    ReleaseRestoreInfo(info);
    return Done(line, halvex::kOk);
}

const Project* Engine::LayoutOwner(const Catalog& catalog, const tagEntireComputerInf& layout) const
{
    std::lock_guard lock(m_lock);
    const auto it = m_layoutProjects.find(&layout);
    return it == m_layoutProjects.end() ? nullptr : catalog.FindProject(it->second);
}

std::int32_t Engine::GetDRRestoreVolumesInfo(tagEntireComputerInf& layout)
{
    json line{{"op", "GetDRRestoreVolumesInfo"}};
    std::shared_ptr<const Catalog> catalog;
    if (const std::int32_t code = Enter("GetDRRestoreVolumesInfo", catalog)) return Done(line, code);
    FillLayout(layout, catalog->thisComputer, false);
    if (const Project* project = LayoutOwner(*catalog, layout))
        SpoilLayout(layout, project->hostile.thisComputer, project->hostile.unterminatedLabels);
    line["diskCount"] = layout.diskCount;
    return Done(line, halvex::kOk);
}

// The base entry must point at an entry of a history list this engine handed out, and
// be the backup the restore of the order's archive builds on.
std::int32_t Engine::CheckBaseEntry(const Project& project, const _ProjectRestoreData& order, json& line) const
{
    const std::size_t listBytes = order.historyList ? m_allocations.BlockSize(order.historyList) : 0;
    if (listBytes < offsetof(_ProjectHistoryList, entries) || !order.baseEntry) return halvex::kInvalidRequest;
    const std::int32_t count = order.historyList->count;
    if (count < 0 || offsetof(_ProjectHistoryList, entries) + count * sizeof(_ProjectHistoryEntry) > listBytes)
        return halvex::kInvalidRequest;
    const auto first = reinterpret_cast<std::uintptr_t>(order.historyList->entries);
    const auto base = reinterpret_cast<std::uintptr_t>(order.baseEntry);
    if (base < first || (base - first) % sizeof(_ProjectHistoryEntry) != 0 ||
        (base - first) / sizeof(_ProjectHistoryEntry) >= static_cast<std::size_t>(count))
        return halvex::kInvalidRequest;

    const std::uint64_t baseTime = order.baseEntry->backupTime;
    line["baseEntryTime"] = baseTime;
    const Archive* expected = ExpectedBase(project, order.archiveId);
    if (!expected || expected->time != baseTime) return halvex::kBaseNotAvailable;
    return halvex::kOk;
}

// The layout must be this computer's, with the destination marked.
std::int32_t Engine::CheckTargetLayout(const Catalog& catalog, const tagEntireComputerInf& layout) const
{
    const auto& disks = catalog.thisComputer.disks;
    if (layout.diskCount != static_cast<std::int32_t>(disks.size())) return halvex::kInvalidRequest;
    for (std::size_t d = 0; d < disks.size(); ++d) {
        if (layout.disks[d].diskNumber != disks[d].number ||
            layout.disks[d].partitionCount != static_cast<std::int32_t>(disks[d].partitions.size()))
            return halvex::kInvalidRequest;
    }
    return AnyFlagSet(layout) ? halvex::kOk : halvex::kInvalidRequest;
}

std::int32_t Engine::ProjectRestoreCtrl(std::uint32_t projectId, _ProjectRestoreData& order)
{
    json line{{"op", "ProjectRestoreCtrl"}, {"projectId", projectId}, {"archiveId", order.archiveId},
              {"layout", SelectionOf(order.layout)}};
    std::shared_ptr<const Catalog> catalog;
    const Project* project = nullptr;
    if (const std::int32_t code = Enter("ProjectRestoreCtrl", catalog)) return Done(line, code);
    if (const std::int32_t code = FindBackup(*catalog, projectId, order.archiveId, project)) return Done(line, code);
    if (const std::int32_t code = CheckBaseEntry(*project, order, line)) return Done(line, code);
    if (const std::int32_t code = CheckTargetLayout(*catalog, order.layout)) return Done(line, code);

    std::lock_guard lock(m_lock);
    if (m_task && !m_task->Ended()) return Done(line, halvex::kTaskRunning);
    m_task.reset();   // the last task has ended: its thread is finishing
    m_task = std::make_unique<RestoreTask>(projectId, project->restore.value_or(catalog->restore), order.archiveId,
                                           m_notifications, m_journal);
    return Done(line, halvex::kOk);
}

std::int32_t Engine::GetTaskProgInfo(std::uint32_t projectId, _ProgressInfo& progress)
{
    json line{{"op", "GetTaskProgInfo"}, {"projectId", projectId}};
    if (const std::int32_t code = EnterWithoutCatalog("GetTaskProgInfo")) return Done(line, code);
    std::lock_guard lock(m_lock);
    if (!m_task || m_task->projectId() != projectId) return Done(line, halvex::kInvalidRequest);
    m_task->Progress(progress);
    line["phase"] = progress.phase;
    line["percent"] = progress.percent;
    line["firstStage"] = progress.firstStage;
    return Done(line, halvex::kOk);
}

std::int32_t Engine::TaskControl(std::uint32_t projectId, _TaskCtlCmdData& command)
{
    json line{{"op", "TaskControl"}, {"projectId", projectId}, {"command", command.command}};
    if (const std::int32_t code = EnterWithoutCatalog("TaskControl")) return Done(line, code);
    std::lock_guard lock(m_lock);
    if (!m_task || m_task->projectId() != projectId || m_task->Ended() || command.command != kTaskCommandStop)
        return Done(line, halvex::kInvalidRequest);
    m_task->Stop();
    return Done(line, halvex::kOk);
}

std::int32_t Engine::SetNotifyFunction(unsigned id, void* function, void* context)
{
    json line{{"op", "SetNotifyFunction"}, {"id", id}, {"function", function != nullptr}, {"context", context != nullptr}};
    if (const std::int32_t code = EnterWithoutCatalog("SetNotifyFunction")) return Done(line, code);
    const bool known = m_notifications.Set(id, reinterpret_cast<NotifyFunction>(function), context);
    return Done(line, known ? halvex::kOk : halvex::kInvalidRequest);
}

bool Engine::EncryptString(const wchar_t* text, wchar_t* out, unsigned long outBytes)
{
    // The text is a password: the journal holds its length only.
    json line{{"op", "EncryptString"}, {"length", text ? std::wcslen(text) : 0}, {"outBytes", outBytes}};
    const bool fault = EnterWithoutCatalog("EncryptString") != 0;
    std::size_t formLength = 0;
    {
        std::lock_guard lock(m_lock);
        if (m_catalog) formLength = m_catalog->protectedFormLength;
    }
    const std::size_t room = formLength ? outBytes : outBytes / sizeof(wchar_t);   // in characters
    if (out && room >= 1) out[0] = 0;
    const std::u16string form = text ? ProtectedForm(reinterpret_cast<const char16_t*>(text), formLength) : std::u16string();
    // An engine that counts in characters fills the whole buffer, its zero only where
    // room is left.
    const bool fits = formLength ? form.size() <= room : form.size() + 1 <= room;
    const bool done = !fault && text && out && fits;
    if (done) {
        std::copy(form.begin(), form.end(), out);
        if (form.size() < room) out[form.size()] = 0;
    }
    line["result"] = done;
    m_journal.Write(line);
    return done;
}

}  // namespace sim
