#include "HalvexTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"
#include "app/EngineClient.h"
#include "engine/RecordReaders.h"

namespace palto::test {

namespace {

std::wstring ProcessFile(const wchar_t* suffix)
{
    return ProgramFolder() + L"\\halvex-" + std::to_wstring(::GetCurrentProcessId()) + suffix;
}

}  // namespace

SimEngine::SimEngine(const std::string& catalogJson)
    : m_catalogPath(catalogJson.empty() ? L"" : ProcessFile(L"-catalog.json")), m_journalPath(ProcessFile(L"-journal.jsonl"))
{
    if (!m_catalogPath.empty()) {
        std::ofstream(std::filesystem::path(m_catalogPath), std::ios::binary) << catalogJson;
    }
    ::DeleteFileW(m_journalPath.c_str());
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", m_catalogPath.empty() ? nullptr : m_catalogPath.c_str());
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", m_journalPath.c_str());
    HalvexSimReset();
}

SimEngine::~SimEngine()
{
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", nullptr);
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", nullptr);
    HalvexSimReset();
    if (!m_catalogPath.empty()) ::DeleteFileW(m_catalogPath.c_str());
    ::DeleteFileW(m_journalPath.c_str());
}

std::vector<nlohmann::json> SimEngine::Journal() const
{
    std::vector<nlohmann::json> lines;
    std::ifstream file(std::filesystem::path(m_journalPath), std::ios::binary);
    // A line without its end is still being written.
    for (std::string line; std::getline(file, line) && !file.eof();) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

std::vector<nlohmann::json> SimEngine::Journal(const std::string& name) const
{
    std::vector<nlohmann::json> lines;
    for (nlohmann::json& line : Journal())
        if (line.value("op", "") == name || line.value("notify", "") == name) lines.push_back(std::move(line));
    return lines;
}

std::vector<nlohmann::json> SimEngine::JournalOnceWritten(const std::string& name, std::size_t count,
                                                          std::chrono::milliseconds limit) const
{
    const auto end = std::chrono::steady_clock::now() + limit;
    std::vector<nlohmann::json> lines = Journal(name);
    while (lines.size() < count && std::chrono::steady_clock::now() < end) {
        ::Sleep(5);
        lines = Journal(name);
    }
    return lines;
}

void Signal::Raise()
{
    {
        std::lock_guard lock(m_lock);
        m_set = true;
    }
    m_raised.notify_all();
}

bool Signal::Wait(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_lock);
    return m_raised.wait_for(lock, limit, [this] { return m_set; });
}

void ListenForTaskEnd(Caller& caller, TaskEnd& end)
{
    auto callback = [](void* context, void* record) {
        auto* end = static_cast<TaskEnd*>(context);
        end->result = static_cast<_TaskEndNotifyData*>(record)->result;
        end->thread = ::GetCurrentThreadId();
        end->ended.Raise();
    };
    caller.SetNotifyFunction(kNotifyTaskEnd, reinterpret_cast<void*>(+callback), &end);
}

RestoreInfo::RestoreInfo(Caller& caller, unsigned projectId, std::uint64_t archiveId) : m_caller(caller)
{
    result = caller.QueryProjectRestoreInfo(projectId, archiveId, info, kAnyDrive);
    if (result == 0) result = caller.GetDRRestoreVolumesInfo(*info.thisComputer);
}

RestoreInfo::~RestoreInfo()
{
    m_caller.FreeProjectRestoreInfo(info);
}

std::unique_ptr<_ProjectRestoreData> MakeOrder(const _ProjectRestoreInfo& info, std::uint64_t archiveId)
{
    auto order = std::make_unique<_ProjectRestoreData>();
    order->archiveId = archiveId;
    order->projectDesc = info.projectDesc;
    order->historyList = info.historyList;
    const auto entries = HistoryEntries(info.historyList);
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        if (entry->backupTime <= archiveId && !entry->notBase) {
            order->baseEntry = &*entry;
            break;
        }
    }
    if (info.thisComputer) order->layout = *info.thisComputer;
    return order;
}

std::string RestoreCatalog(const std::string& stages, const std::string& events, int result)
{
    std::ostringstream json;
    json << R"({
  "thisComputer": {"disks": [{"number": 0, "size": 100000000000, "partitions": [
      {"number": 1, "driveLetter": "C", "label": "Windows", "size": 99000000000}]}]},
  "projects": [{
    "id": 7, "description": "Data", "location": "E:\\Data",
    "layout": {"disks": [{"number": 0, "size": 100000000000, "partitions": [
      {"number": 1, "label": "Data", "size": 50000000000, "selected": true}]}]},
    "history": [{"time": 132000000000000000}, {"time": 133000000000000000}, {"time": 134000000000000000, "notBase": true}]
  }],
  "restore": {"stages": )" << stages << R"(, "events": )" << events << R"(, "result": )" << result << "}\n}";
    return json.str();
}

bool ChooseRestore(WizardContext& context, std::uint64_t archiveId)
{
    context.projectId = kRestoreProject;
    context.archiveId = archiveId;
    Caller& engine = GetEngineClient();
    if (engine.QueryProjectRestoreInfo(kRestoreProject, archiveId, context.restoreInfo, kAnyDrive) != 0 ||
        engine.GetDRRestoreVolumesInfo(*context.restoreInfo.thisComputer) != 0)
        return false;
    context.restoreInfo.thisComputer->disks[0].partitions[0].selected = 1;
    return true;
}

}  // namespace palto::test
