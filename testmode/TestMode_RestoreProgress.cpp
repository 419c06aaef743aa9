#include "testmode/TestMode_RestoreProgress.h"

#include "app/Texts.h"
#include "resources/ids.h"

CTestMode_RestoreProgress::CTestMode_RestoreProgress(WizardContext& context, CWnd* owner)
    : CRestoreProgress(context, owner)
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
    SetTimer(kProgressTimer, kTickMs);
    SetWindowText(LoadText(IDS_APP_TITLE));
    return TRUE;
}

void CTestMode_RestoreProgress::OnTimer(UINT_PTR id)
{
    if (id != kProgressTimer || m_tick >= kLastTick || m_run->Cancelled()) return;
    ++m_tick;
    m_phaseText.SetWindowText(LoadText(m_tick > kLastFirstStageTick ? IDS_STAGE_LAST : IDS_STAGE_FIRST));
    m_progress.SetPos(m_tick);
    if (m_tick < kLastTick) return;
    KillTimer(kProgressTimer);
    m_progress.SetPos(kLastTick);
    ShowMessage(m_hWnd, LoadText(IDS_RESTORE_DONE), MB_OK);
    ::PostQuitMessage(0);
}
