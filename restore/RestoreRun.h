// What the restore progress page shares with its restore worker and with the engine's
// notification callbacks. Each of them holds the run through a shared_ptr for as long as
// it uses it, so that none can free it under another, and reaches the page only through
// its window handle, which the page clears when its window goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/HalvexRecords.h"
#include "restore/RestoreReport.h"

class RestoreRun {
public:
    // Takes over `restoreInfo`: the run gives it back to the engine (ReleaseRestoreInfo),
    // at the latest when the run goes.
    // `report`: where the run's calls, answers and end are written; null: nowhere.
    RestoreRun(std::uint32_t projectId, std::uint64_t archiveId, const _ProjectRestoreInfo& restoreInfo,
               std::shared_ptr<RestoreReport> report = nullptr);
    ~RestoreRun();
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    const std::uint32_t projectId;   // also the id of the restore task
    const std::uint64_t archiveId;
    const std::shared_ptr<RestoreReport> report;

    // The engine's answer about the chosen backup; the worker's until it releases it.
    _ProjectRestoreInfo& RestoreInfo() { return m_restoreInfo; }
    void ReleaseRestoreInfo();

    // The page's window; null before it exists and once it has gone.
    HWND Window() const { return m_window.load(); }
    void SetWindow(HWND window) { m_window.store(window); }

    // Writes an engine call and its code into the report, if there is one.
    void ReportCall(std::wstring_view operation, int code) const
    {
        if (report) report->EngineCall(operation, code);
    }

    // Set once the user has confirmed that the restore is to stop.
    bool Cancelled() const { return m_cancelled.load(); }
    void Cancel() { m_cancelled.store(true); }

    // When the restore was handed to the engine (seconds since 1970); 0 before.
    std::int64_t StartTime() const { return m_startTime.load(); }
    void SetStartTime(std::int64_t time) { m_startTime.store(time); }

    // The number the engine's callbacks are registered with (RestoreNotifications.h).
    std::uintptr_t Token() const { return m_token; }

private:
    _ProjectRestoreInfo m_restoreInfo;
    std::atomic<HWND> m_window{nullptr};
    std::atomic<bool> m_cancelled{false};
    std::atomic<std::int64_t> m_startTime{0};
    const std::uintptr_t m_token;
};
