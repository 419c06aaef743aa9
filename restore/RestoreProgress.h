// The last screen of the wizard: starts the restore on a worker thread, shows its
// progress, answers the engine's notifications, lets the user cancel, and ends the
// application when the restore is over (every way out posts the quit message).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/WizardContext.h"
#include "framework/Framework.h"
#include "restore/ProgressMath.h"
#include "restore/RestoreRun.h"

class CRestoreProgress : public CDialog {
public:
    // Restores the choice recorded in `context`; the page takes over its restore info,
    // which the restore gives back to the engine (the context's record is left empty).
    // Run it with DoModal; `owner` as for any dialog (the main window when null). With a
    // `report`, the restore is written into it as it goes, and the end messages say where
    // it is.
    explicit CRestoreProgress(WizardContext& context, CWnd* owner = nullptr,
                              std::shared_ptr<RestoreReport> report = nullptr);
    ~CRestoreProgress() override;

    // Whether timer 1 is polling the engine for progress.
    bool Polling() const { return m_polling.load(); }

    // How long the end of a restore an answer file started waits for OK.
    static constexpr UINT kEndCloseSeconds = 5;

    // Period of the progress timer.
    static constexpr UINT kPollMs = 800;
    static constexpr UINT_PTR kProgressTimer = 1;

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    LRESULT OnRestoreEnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnEngineMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnWorkerDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnPollingRequest(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);

    void ConfirmCancel();
    static DWORD WINAPI RestoreThreadProc(LPVOID parameter);

    // The report, when there is one: each stage once, with the percentage when it began;
    // the end with the text shown; and the end messages' line that says where it is.
    void ReportStage(UINT stageText, int percent);
    void ReportEnd(int code, const CString& text);
    CString WithReportLine(const CString& text) const;

    CStatic m_percentText;
    CStatic m_timeText;
    CStatic m_phaseText;
    CProgressCtrl m_progress;
    std::int64_t m_nowTime = 0;
    int m_lastPercent = 0;

    // Shared with the worker and the engine's callbacks.
    std::shared_ptr<RestoreRun> m_run;

private:
    void StartPolling();
    void StopPolling();
    void ShowValue(int value);
    void ShowTimes(const std::optional<palto::RestoreTimes>& times);
    void EndRestore();
    void Detach();

    std::atomic<bool> m_polling{false};
    bool m_workerRunning = false;    // the worker has not reported yet: it may hold the restore info
    bool m_restoreRunning = false;   // the engine accepted the restore
    bool m_ending = false;           // the page has decided to end
    bool m_endShown = false;         // the restore's end has been reported to the user
    bool m_endClosesItself = false;  // an answer file started the restore: nobody may be watching its end
    int m_openPrompts = 0;           // media prompts open on engine threads, owned by this page
    UINT m_reportedStage = 0;        // the stage label the report has last been given
    std::optional<int> m_progressCode;   // GetTaskProgInfo's last code: the report gets each change
};
