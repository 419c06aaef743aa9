#include "testmode/TestMode_RestoreProgress.h"

#include <ctime>

#include "app/Texts.h"
#include "resources/ids.h"

CTestMode_RestoreProgress::CTestMode_RestoreProgress(WizardContext& context, CWnd* owner,
                                                     std::shared_ptr<RestoreReport> report)
    : CRestoreProgress(context, owner, std::move(report))
{
}

CTestMode_RestoreProgress::~CTestMode_RestoreProgress() = default;

BEGIN_MESSAGE_MAP(CTestMode_RestoreProgress, CRestoreProgress)
    ON_WM_TIMER()
END_MESSAGE_MAP()

// No worker and no engine call: the timer alone drives the page.
BOOL CTestMode_RestoreProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_progress.SetRange(1, kLastTick);
    m_phaseText.SetWindowText(LoadText(IDS_STAGE_FIRST));
    m_tick = 0;
    m_run->SetStartTime(_time64(nullptr));
    ReportStage(IDS_STAGE_FIRST, 0);
    SetTimer(kProgressTimer, kTickMs);
    SetWindowText(LoadText(IDS_APP_TITLE));
    return TRUE;
}

void CTestMode_RestoreProgress::OnTimer(UINT_PTR id)
{
    if (id != kProgressTimer || m_tick >= kLastTick || m_run->Cancelled()) return;
    ++m_tick;
    const UINT stage = m_tick > kLastFirstStageTick ? IDS_STAGE_LAST : IDS_STAGE_FIRST;
    m_phaseText.SetWindowText(LoadText(stage));
    ReportStage(stage, m_tick);
    m_progress.SetPos(m_tick);
    if (m_tick < kLastTick) return;
    KillTimer(kProgressTimer);
    m_progress.SetPos(kLastTick);
    const CString done = LoadText(IDS_RESTORE_DONE);
    ReportEnd(0, done);
    ShowMessage(m_hWnd, WithReportLine(done), MB_OK);
    ::PostQuitMessage(0);
}
