// Helpers for tests that drive the stand-in engine directly: a catalog of the test's
// own and the engine's journal, waiting for what the engine's threads do, and the
// restore info and order as the wizard builds them.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/WizardContext.h"
#include "engine/Halvex.h"
#include "simengine/HalvexSim.h"

namespace palto::test {

// Starts the engine afresh with a catalog (JSON text; the built-in sample when empty)
// and an empty journal, both in files of this process; back to the sample afterwards.
class SimEngine {
public:
    explicit SimEngine(const std::string& catalogJson = {});
    ~SimEngine();
    SimEngine(const SimEngine&) = delete;
    SimEngine& operator=(const SimEngine&) = delete;

    // The journal's lines so far, one object each.
    std::vector<nlohmann::json> Journal() const;
    // The journal's lines of one operation ("op") or notification ("notify").
    std::vector<nlohmann::json> Journal(const std::string& name) const;
    // The same, once it holds at least `count` lines: for a line the engine's thread writes
    // after the wizard has already acted on what it reported. Fewer when the limit passes.
    std::vector<nlohmann::json> JournalOnceWritten(const std::string& name, std::size_t count = 1,
                                                   std::chrono::milliseconds limit = std::chrono::seconds(10)) const;

private:
    std::wstring m_catalogPath;
    std::wstring m_journalPath;
};

// The engine's blocks handed out since the object was made and not given back: each
// test counts its own, so that a leak fails the test that leaked and no later one.
class EngineBlocks {
public:
    EngineBlocks() : m_atStart(HalvexSimOutstandingAllocations()) {}
    long long Outstanding() const { return static_cast<long long>(HalvexSimOutstandingAllocations() - m_atStart); }

private:
    unsigned long long m_atStart;
};

// A flag one thread raises and another waits for, with a limit so that a fault
// fails the test instead of hanging it.
class Signal {
public:
    void Raise();
    bool Wait(std::chrono::milliseconds limit = std::chrono::seconds(10));

private:
    std::mutex m_lock;
    std::condition_variable m_raised;
    bool m_set = false;
};

// What the task-end notification reported.
struct TaskEnd {
    Signal ended;
    std::int32_t result = 0;
    DWORD thread = 0;
};

// Registers `end` for the task-end notification of `caller`.
void ListenForTaskEnd(Caller& caller, TaskEnd& end);

// The wizard's restore info for one backup, freed at the end.
class RestoreInfo {
public:
    RestoreInfo(Caller& caller, unsigned projectId, std::uint64_t archiveId);
    ~RestoreInfo();
    _ProjectRestoreInfo info{};
    int result = 0;

private:
    Caller& m_caller;
};

// A restore order as the restore worker builds it: the latest entry not later than the
// archive that can serve as a base, and a copy of this computer's layout.
std::unique_ptr<_ProjectRestoreData> MakeOrder(const _ProjectRestoreInfo& info, std::uint64_t archiveId);

// A catalog of one partition backup (project 7, two archives) onto this computer's one
// disk, whose restore runs `stages` (JSON list) and sends `events` (JSON list).
std::string RestoreCatalog(const std::string& stages, const std::string& events = "[]", int result = 0);
constexpr unsigned kRestoreProject = 7;
constexpr std::uint64_t kRestoreArchive = 133000000000000000ull;

// Fills `context` for a restore of that catalog's project as the destination pages leave
// it: the backup's restore info from the engine, this computer's layout, and its
// partition marked as the destination. False when the engine could not answer.
bool ChooseRestore(WizardContext& context, std::uint64_t archiveId = kRestoreArchive);

}  // namespace palto::test
