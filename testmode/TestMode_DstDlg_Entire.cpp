#include "testmode/TestMode_DstDlg_Entire.h"

#include "app/WizardContext.h"
#include "frame/Fonts.h"
#include "resources/ids.h"

CTestMode_DstDlg_Entire::CTestMode_DstDlg_Entire(CWnd* parent) : CDstDlg_Entire(parent) {}

CTestMode_DstDlg_Entire::~CTestMode_DstDlg_Entire() = default;

BOOL CTestMode_DstDlg_Entire::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_heading.SetFont(g_fontBold, TRUE);  // as on the real page
    return TRUE;
}

void CTestMode_DstDlg_Entire::OnEnterStep()
{
    SetDlgItemText(IDC_DST_DISKS, L"Test Entire Restore..");
}

bool CTestMode_DstDlg_Entire::OnNextStep()
{
    if (IWizardHost* host = Host()) host->Context().stepTexts[2] = L"Test Entire Computer..";
    return true;
}
