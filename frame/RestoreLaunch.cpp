// The restore launch of the main window: Next at the last step checks the choice, has
// the engine open the backup on a worker (asking for missing media), asks for the
// backup's password if it has one, and runs the progress page.
#include "app/ArchiveQuery.h"
#include "app/PaltoApp.h"
#include "app/Texts.h"
#include "engine/RecordReaders.h"
#include "frame/PaltoDlg.h"
#include "frame/PasswordDlg.h"
#include "resources/ids.h"
#include "restore/RestoreProgress.h"
#include "testmode/TestMode_RestoreProgress.h"

void CPaltoDlg::LaunchRestore()
{
    WizardContext& context = Context();
    // Test mode has no backup: the simulated restore starts at once.
    if (context.testMode) {
        ReportLaunch();
        RunRestoreProgress();
        return;
    }
    const tagEntireComputerInf* backedUp = palto::BackedUpLayout(context.restoreInfo);
    const tagEntireComputerInf* here = palto::ThisComputerLayout(context.restoreInfo);
    if (!backedUp || !here) {
        ShowMessage(m_hWnd, LoadText(IDS_ENGINE_ERROR_1000350), MB_OK);
        return;
    }
    if (m_typePage.GetRestoreType() == 0 && palto::Disks(*backedUp).size() > palto::Disks(*here).size()) {
        ShowMessage(m_hWnd, LoadText(IDS_TOO_MANY_DISKS), MB_OK);
        return;
    }
    StartArchiveQuery();
}

// The window takes no input until the worker has reported (WM_ARCHIVE_QUERIED).
void CPaltoDlg::StartArchiveQuery()
{
    const WizardContext& context = Context();
    EnableWindow(FALSE);
    m_protectedPassword.Wipe();
    ReportLaunch();
    const wchar_t drive = palto::LocationDrive(context.restoreInfo.projectDesc);
    // The report is the query's own share: the engine may call after this window has gone.
    const auto mediaAnswered = [report = m_report](const _MediaRequestNotifyData& request, bool shown) {
        report->MediaRequest(request.part, static_cast<wchar_t>(request.drive), request.answer, shown);
    };
    m_archiveQuery = ::StartArchiveQuery(
        {m_hWnd, WM_ARCHIVE_QUERIED, m_hWnd, context.projectId, context.archiveId, drive, mediaAnswered});
    if (!m_archiveQuery) {
        EnableWindow(TRUE);
        ShowMessage(m_hWnd, LoadText(IDS_ENGINE_ERROR_1000350), MB_OK);
    }
}

// Only the message of the query this window waits for counts: any other (a stray or a
// foreign one) is dropped and leaves the window as the running worker keeps it.
LRESULT CPaltoDlg::OnArchiveQueried(WPARAM, LPARAM queryId)
{
    const auto result = TakeArchiveQueryResult(m_archiveQuery, queryId);
    if (!result) return 0;
    if (m_report) m_report->EngineCall(L"QueryArchiveProject", result->code);
    if (result->code != 0) {
        ShowMessage(m_hWnd, LoadText(IDS_ENGINE_ERROR_1000350), MB_OK);
    } else {
        m_protectedPassword = result->protectedPassword;
        if (m_protectedPassword.IsEmpty() || AskForPassword()) RunRestoreProgress();
    }
    m_protectedPassword.Wipe();
    // A restore that has ended ends the application: until its quit message has ended
    // this window's loop, the window takes no more input (no question after the end).
    if (!QuitPending()) EnableWindow(TRUE);
    return 0;
}

bool CPaltoDlg::QuitPending()
{
    MSG quit{};
    return ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

bool CPaltoDlg::AskForPassword()
{
    CPasswordDlg dialog(this);
    dialog.m_storedPassword = m_protectedPassword;
    return dialog.DoModal() == IDOK;
}

// The progress page ends the application when the restore is over: its quit message
// also ends this window's modal loop. Test mode simulates the restore.
void CPaltoDlg::RunRestoreProgress()
{
    if (Context().testMode) {
        CTestMode_RestoreProgress progress(Context(), this, m_report);
        progress.DoModal();
    } else {
        CRestoreProgress progress(Context(), this, m_report);
        progress.DoModal();
    }
}

// The report begins with the first launch of the run, and each launch writes the
// choices it launches with.
void CPaltoDlg::ReportLaunch()
{
    const int restoreType = m_typePage.GetRestoreType();
    if (!m_report) m_report = RestoreReport::Begin(Context(), restoreType);
    m_report->Launch(Context(), restoreType);
}
