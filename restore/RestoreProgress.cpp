#include "restore/RestoreProgress.h"

#include <ctime>
#include <string>

#include "app/EngineClient.h"
#include "app/Texts.h"
#include "engine/HalvexCodes.h"
#include "frame/WizardMessages.h"
#include "framework/Format.h"
#include "resources/ids.h"
#include "restore/ProgressMath.h"
#include "restore/RestoreNotifications.h"

namespace {

std::int64_t Now()
{
    return _time64(nullptr);
}

void SendStop(const RestoreRun& run)
{
    _TaskCtlCmdData command{kTaskCommandStop, 0};
    run.ReportCall(L"TaskControl (stop)", GetEngineClient().TaskControl(run.projectId, command));
}

// Builds the restore order in this thread's frame (740,136 bytes: threads get stacks
// large enough) and hands it to the engine, unless the user has cancelled meanwhile
// (`skipped`). Returns the engine's code, or kMediumNotAvailable when the archive has no
// backup to build on.
int StartRestore(RestoreRun& run, bool& skipped)
{
    const _ProjectRestoreInfo& info = run.RestoreInfo();
    _ProjectRestoreData order;
    order.archiveId = run.archiveId;
    order.historyList = info.historyList;
    order.baseEntry = palto::FindBaseEntry(info.historyList, run.archiveId);
    if (!order.baseEntry) return halvex::kMediumNotAvailable;
    order.projectDesc = info.projectDesc;
    if (info.thisComputer) order.layout = *info.thisComputer;

    skipped = run.Cancelled();
    if (skipped) return 0;
    // Recorded first: the engine may report the end of a short task before the call returns.
    run.SetStartTime(Now());
    const int code = GetEngineClient().ProjectRestoreCtrl(run.projectId, order);
    run.ReportCall(L"ProjectRestoreCtrl", code);
    // The user may have cancelled while the engine was starting: the page sends no stop
    // to a task it does not know of yet.
    if (code == 0 && run.Cancelled()) SendStop(run);
    return code;
}

}  // namespace

CRestoreProgress::CRestoreProgress(WizardContext& context, CWnd* owner, std::shared_ptr<RestoreReport> report)
    : CDialog(IDD_PROGRESS, owner),
      m_run(std::make_shared<RestoreRun>(context.projectId, context.archiveId, context.restoreInfo, std::move(report))),
      m_endClosesItself(context.restoreChosenByAnswers)
{
    context.restoreInfo = {};
}

CRestoreProgress::~CRestoreProgress()
{
    Detach();
}

BEGIN_MESSAGE_MAP(CRestoreProgress, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_TIMER()
    ON_MESSAGE(WM_RESTORE_END, &CRestoreProgress::OnRestoreEnd)
    ON_MESSAGE(WM_ENGINE_MESSAGE, &CRestoreProgress::OnEngineMessage)
    ON_MESSAGE(WM_RESTORE_WORKER_DONE, &CRestoreProgress::OnWorkerDone)
    ON_MESSAGE(WM_RESTORE_POLLING, &CRestoreProgress::OnPollingRequest)
    ON_MESSAGE(WM_DESTROY, &CRestoreProgress::OnDestroy)
END_MESSAGE_MAP()

void CRestoreProgress::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_STAGE, m_phaseText);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_progress);
    DDX_Control(pDX, IDC_PROGRESS_TIME, m_timeText);
    DDX_Control(pDX, IDC_PROGRESS_PERCENT, m_percentText);
}

BOOL CRestoreProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_workerRunning = m_restoreRunning = m_ending = m_endShown = false;
    m_openPrompts = 0;
    m_progress.SetRange(1, 100);
    m_timeText.SetWindowText(L"");
    m_percentText.SetWindowText(L"");
    m_phaseText.SetWindowText(L"");
    m_nowTime = 0;
    SetWindowText(LoadText(IDS_APP_TITLE));

    m_run->SetWindow(m_hWnd);
    auto* held = new std::shared_ptr<RestoreRun>(m_run);
    if (const HANDLE thread = ::CreateThread(nullptr, 0, &RestoreThreadProc, held, 0, nullptr)) {
        ::CloseHandle(thread);
        m_workerRunning = true;
    } else {
        delete held;
        PostMessage(WM_RESTORE_END, 1, static_cast<LPARAM>(halvex::kOutOfMemory));
    }
    return TRUE;
}

// The worker holds the run, never the page: it reports to the page's window, and only
// once it is done with the restore info, which it gives back on every path.
DWORD WINAPI CRestoreProgress::RestoreThreadProc(LPVOID parameter)
{
    const std::unique_ptr<std::shared_ptr<RestoreRun>> held(static_cast<std::shared_ptr<RestoreRun>*>(parameter));
    if (!held || !*held) return 0;
    RestoreRun& run = **held;
    int code = 0;
    bool skipped = false;
    try {
        code = RegisterRestoreNotifications(*held);
        run.ReportCall(L"SetNotifyFunction (task end, engine message, media request)", code);
        if (code == 0) code = StartRestore(run, skipped);
    } catch (...) {
        code = halvex::kOutOfMemory;   // a failure of our own: never reported as a started restore
    }
    try {
        run.ReleaseRestoreInfo();
    } catch (...) {
    }
    if (const HWND window = run.Window()) {
        if (code != 0) ::PostMessageW(window, WM_RESTORE_END, 1, static_cast<LPARAM>(code));
        else ::PostMessageW(window, WM_RESTORE_WORKER_DONE, skipped ? FALSE : TRUE, 0);
    }
    return 0;
}

LRESULT CRestoreProgress::OnWorkerDone(WPARAM wParam, LPARAM)
{
    m_workerRunning = false;
    m_restoreRunning = wParam != FALSE;
    // The worker checked the flag before the engine had the order; the user may have
    // cancelled after that.
    if (m_restoreRunning && m_run->Cancelled()) SendStop(*m_run);
    if (m_ending || m_run->Cancelled()) EndRestore();
    else StartPolling();
    return 0;
}

void CRestoreProgress::OnTimer(UINT_PTR id)
{
    if (id != kProgressTimer) return;
    _ProgressInfo progress{};
    const int code = GetEngineClient().GetTaskProgInfo(m_run->projectId, progress);
    if (code != m_progressCode) m_run->ReportCall(L"GetTaskProgInfo", code);
    m_progressCode = code;
    if (code != 0) return;
    const palto::ProgressStep step =
        palto::OverallProgress(progress.phase, progress.percent, progress.firstStage != 0, m_lastPercent);
    if (step.stageText) m_phaseText.SetWindowText(LoadText(step.stageText));
    if (step.stageText) ReportStage(step.stageText, step.value);
    m_lastPercent = step.lastValue;
    if (step.value <= 0) return;
    ShowTimes(palto::ProgressTimes(m_run->StartTime(), Now(), step.value));
    ShowValue(step.value);
}

void CRestoreProgress::ShowTimes(const std::optional<palto::RestoreTimes>& times)
{
    m_nowTime = Now();
    if (!times) return;   // the start is not known yet
    const palto::HoursMinutesSeconds& e = times->elapsed;
    const palto::HoursMinutesSeconds& r = times->remaining;
    m_timeText.SetWindowText(
        palto::FormatText(LoadText(IDS_TIME_TEXT).str(), e.hours, e.minutes, e.seconds, r.hours, r.minutes, r.seconds)
            .c_str());
}

void CRestoreProgress::ShowValue(int value)
{
    m_progress.SetPos(value);
    m_percentText.SetWindowText((std::to_wstring(value) + L"%").c_str());
}

LRESULT CRestoreProgress::OnRestoreEnd(WPARAM wParam, LPARAM lParam)
{
    const bool fromWorker = wParam == 1;   // the restore could not start
    const int code = static_cast<int>(lParam);
    if (fromWorker) m_workerRunning = false;
    StopPolling();
    // The end of a task stopped after the page had shown its end says nothing new.
    if (m_endShown) {
        EndRestore();
        return 0;
    }
    m_endShown = true;

    if (code == 0 && !m_run->Cancelled()) {
        ShowTimes(palto::FinishedTimes(m_run->StartTime(), Now()));
        ShowValue(100);
        const CString done = LoadText(IDS_RESTORE_DONE);
        ReportEnd(code, done);
        if (m_endClosesItself) {
            const std::wstring closes = palto::FormatText(LoadText(IDS_ANSWER_CLOSES_SOON).str(), kEndCloseSeconds);
            ShowMessageClosingItself(m_hWnd, WithReportLine(CString(done.str() + L"\n\n" + closes)), MB_OK,
                                     kEndCloseSeconds);
        } else {
            ShowMessage(m_hWnd, WithReportLine(done), MB_OK);
        }
    }
    if (code != 0 && fromWorker) {
        const CString text = EngineErrorMessage(code);
        ReportEnd(code, text);
        ShowMessage(m_hWnd, text, MB_ICONEXCLAMATION);
    }
    // A failed task's own code is not shown: only that the restore did not finish.
    if (m_run->Cancelled() || (code != 0 && !fromWorker)) {
        const CString notFinished = LoadText(IDS_RESTORE_NOT_FINISHED);
        if (!fromWorker) ReportEnd(code, notFinished);
        ShowMessage(m_hWnd, WithReportLine(notFinished), MB_OK);
    }
    EndRestore();
    return 0;
}

LRESULT CRestoreProgress::OnEngineMessage(WPARAM wParam, LPARAM)
{
    if (m_run->Cancelled()) return 0;
    const int code = static_cast<int>(static_cast<INT_PTR>(wParam));
    const CString text = EngineErrorMessage(code);
    const std::shared_ptr<RestoreReport>& report = m_run->report;
    if (code != halvex::kAskGoOn) {
        ShowMessage(m_hWnd, text, MB_ICONEXCLAMATION);
        if (report) report->EngineMessage(code, text, false, 0);
        return 0;
    }
    if (ShowMessage(m_hWnd, text, MB_YESNO) != IDNO) {
        if (report) report->EngineMessage(code, text, true, 1);
        return 1;
    }
    if (report) report->EngineMessage(code, text, true, -1);
    // No: the restore stops, and a task end that still arrives says it did not finish.
    m_run->Cancel();
    StopPolling();
    SendStop(*m_run);
    EndRestore();
    return -1;
}

void CRestoreProgress::ConfirmCancel()
{
    if (m_ending) return;
    if (ShowMessage(m_hWnd, LoadText(IDS_CONFIRM_CANCEL), MB_YESNO) != IDYES) return;
    m_run->Cancel();
    if (m_run->report) m_run->report->Cancelled();
    StopPolling();
    // Before the worker has reported, there may be no task yet: the worker sees the flag
    // and either does not start the restore or stops it itself.
    if (m_restoreRunning) SendStop(*m_run);
    EndRestore();
}

void CRestoreProgress::OnCancel()
{
    ConfirmCancel();
}

// Enter does not end the page: only the restore's end and Cancel do.
void CRestoreProgress::OnOK() {}

BOOL CRestoreProgress::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        ConfirmCancel();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

// The close command asks first; moving and minimizing stay as the system does them.
void CRestoreProgress::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == SC_CLOSE) ConfirmCancel();
    else DeclineMessage();
}

// A media prompt opens (wParam FALSE) or has been answered (TRUE). A page that knows the
// restore's end takes no prompt; one that is open holds the page's end back until it is
// answered.
LRESULT CRestoreProgress::OnPollingRequest(WPARAM wParam, LPARAM)
{
    if (!wParam) {
        if (m_ending || m_endShown) return FALSE;
        ++m_openPrompts;
        StopPolling();
        return TRUE;
    }
    if (m_openPrompts > 0) --m_openPrompts;
    if (m_ending) EndRestore();
    else StartPolling();
    return TRUE;
}

// Once the end is shown nothing more is polled: the end box may still be up while the
// worker's report or an answered media prompt arrives behind it.
void CRestoreProgress::StartPolling()
{
    if (!m_restoreRunning || m_ending || m_endShown || m_run->Cancelled()) return;
    SetTimer(kProgressTimer, kPollMs);
    m_polling = true;
}

void CRestoreProgress::StopPolling()
{
    if (m_hWnd) KillTimer(kProgressTimer);
    m_polling = false;
}

// The quit ends the page and then the application, which frees the wizard context; it
// waits until the worker is done with what it holds and every media prompt the page owns
// has been answered.
void CRestoreProgress::EndRestore()
{
    m_ending = true;
    StopPolling();
    if (!m_workerRunning && m_openPrompts == 0) ::PostQuitMessage(0);
}

// The report gets each stage once, when its label first shows, with the percentage then.
void CRestoreProgress::ReportStage(UINT stageText, int percent)
{
    if (!m_run->report || stageText == m_reportedStage) return;
    m_reportedStage = stageText;
    m_run->report->Stage(LoadText(stageText), percent);
}

void CRestoreProgress::ReportEnd(int code, const CString& text)
{
    const std::int64_t start = m_run->StartTime();
    if (m_run->report) m_run->report->End(code, text, start ? Now() - start : 0);
}

CString CRestoreProgress::WithReportLine(const CString& text) const
{
    return ::WithReportLine(m_run->report, text);
}

LRESULT CRestoreProgress::OnDestroy(WPARAM, LPARAM)
{
    Detach();
    DeclineMessage();
    return 0;
}

// No callback reaches the page once its window goes, and a worker that has not reported
// yet does not start a restore that nobody watches.
void CRestoreProgress::Detach()
{
    if (m_workerRunning) m_run->Cancel();
    m_run->SetWindow(nullptr);
    WithdrawRestoreNotifications(*m_run);
    m_polling = false;
}
