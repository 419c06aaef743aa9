// The exported classes: every call goes to the one engine of the process. No
// exception leaves the DLL: a failure is a result code.
#include "engine/Halvex.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "simengine/Engine.h"
#include "simengine/HalvexSim.h"

namespace {

template <class Operation>
int Guarded(Operation operation)
{
    try {
        return operation(sim::Engine::Get());
    } catch (const std::bad_alloc&) {
        return halvex::kOutOfMemory;
    } catch (...) {
        return halvex::kInvalidRequest;
    }
}

}  // namespace

Caller::Caller(bool local) : m_opaque{}
{
    Guarded([local](sim::Engine& engine) {
        engine.Record({{"op", "Caller"}, {"local", local}});
        return 0;
    });
}

Caller::~Caller() = default;

int Caller::QueryProjects(_Projects** list, bool refresh, wchar_t drive)
{
    return Guarded([&](sim::Engine& engine) { return engine.QueryProjects(list, refresh, drive); });
}

int Caller::FreeProjects(_Projects** list)
{
    return Guarded([&](sim::Engine& engine) { return engine.FreeProjects(list); });
}

int Caller::QueryProject(unsigned int projectId, _ProjectDesc& desc, wchar_t drive)
{
    return Guarded([&](sim::Engine& engine) { return engine.QueryProject(projectId, desc, drive); });
}

int Caller::FreeProject(_ProjectDesc& desc)
{
    return Guarded([&](sim::Engine& engine) { return engine.FreeProject(desc); });
}

int Caller::QueryProjectHistory(unsigned int projectId, _ProjectHistoryList** list, wchar_t drive)
{
    return Guarded([&](sim::Engine& engine) { return engine.QueryProjectHistory(projectId, list, drive); });
}

int Caller::FreeProjectHistory(_ProjectHistoryList* list)
{
    return Guarded([&](sim::Engine& engine) { return engine.FreeProjectHistory(list); });
}

int Caller::QueryArchiveProject(unsigned int projectId, unsigned long long archiveId, _ProjectDesc& desc, wchar_t drive)
{
    return Guarded([&](sim::Engine& engine) { return engine.QueryArchiveProject(projectId, archiveId, desc, drive); });
}

int Caller::QueryProjectRestoreInfo(unsigned int projectId, unsigned long long archiveId, _ProjectRestoreInfo& info,
                                    wchar_t drive)
{
    return Guarded([&](sim::Engine& engine) { return engine.QueryProjectRestoreInfo(projectId, archiveId, info, drive); });
}

int Caller::FreeProjectRestoreInfo(_ProjectRestoreInfo& info)
{
    return Guarded([&](sim::Engine& engine) { return engine.FreeProjectRestoreInfo(info); });
}

int Caller::GetDRRestoreVolumesInfo(tagEntireComputerInf& layout)
{
    return Guarded([&](sim::Engine& engine) { return engine.GetDRRestoreVolumesInfo(layout); });
}

int Caller::ProjectRestoreCtrl(unsigned int projectId, _ProjectRestoreData& order)
{
    return Guarded([&](sim::Engine& engine) { return engine.ProjectRestoreCtrl(projectId, order); });
}

int Caller::GetTaskProgInfo(unsigned int projectId, _ProgressInfo& progress)
{
    return Guarded([&](sim::Engine& engine) { return engine.GetTaskProgInfo(projectId, progress); });
}

int Caller::TaskControl(unsigned int projectId, _TaskCtlCmdData& command)
{
    return Guarded([&](sim::Engine& engine) { return engine.TaskControl(projectId, command); });
}

int Caller::SetNotifyFunction(unsigned int id, void* function, void* context)
{
    return Guarded([&](sim::Engine& engine) { return engine.SetNotifyFunction(id, function, context); });
}

bool Caller::EncryptString(const wchar_t* text, wchar_t* out, unsigned long outBytes)
{
    return Guarded([&](sim::Engine& engine) { return engine.EncryptString(text, out, outBytes) ? 1 : 0; }) == 1;
}

bool Caller::StartupFailed()
{
    return Guarded([](sim::Engine& engine) { return engine.StartupFailed() ? 1 : 0; }) != 0;
}

std::shared_ptr<Communicator> Communicator::Instance(bool local)
{
    static const auto* const instance = new std::shared_ptr<Communicator>(new Communicator());
    Guarded([local](sim::Engine& engine) {
        engine.Record({{"op", "Communicator::Instance"}, {"local", local}});
        return 0;
    });
    return *instance;
}

Communicator::~Communicator() = default;

void Communicator::Initialize(bool local)
{
    Guarded([local](sim::Engine& engine) {
        engine.Record({{"op", "Communicator::Initialize"}, {"local", local}});
        return 0;
    });
}

unsigned long long HalvexSimOutstandingAllocations()
{
    return sim::Engine::Get().OutstandingAllocations();
}

void HalvexSimReset()
{
    sim::Engine::Restart();
}

bool HalvexSimCatalogSource(wchar_t* buffer, unsigned long chars)
{
    const auto [source, usable] = sim::Engine::Get().CatalogSource();
    if (buffer && chars > 0) {
        const std::size_t length = std::min<std::size_t>(source.size(), chars - 1);
        std::wmemcpy(buffer, source.data(), length);
        buffer[length] = 0;
    }
    return usable;
}
