#include "testmode/TestMode_SrcDlg.h"

#include "app/TextCut.h"
#include "app/WizardContext.h"
#include "framework/Format.h"
#include "resources/ids.h"

CTestMode_SrcDlg::CTestMode_SrcDlg(CWnd* parent) : CSrcDlg_HardDrive_Partition(parent) {}

CTestMode_SrcDlg::~CTestMode_SrcDlg() = default;

// The two mode buttons are the sample's own; the list handlers stay the real page's.
BEGIN_MESSAGE_MAP(CTestMode_SrcDlg, CSrcDlg_HardDrive_Partition)
    ON_BN_CLICKED(IDC_SRC_LATEST, &CTestMode_SrcDlg::OnSampleLatestClicked)
    ON_BN_CLICKED(IDC_SRC_CHOOSE, &CTestMode_SrcDlg::OnSampleChooseClicked)
END_MESSAGE_MAP()

BOOL CTestMode_SrcDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_SRC_LATEST, BST_CHECKED);
    FillDriveTypeList();
    m_projectList.AddString(L"Test Mode(C---W)");
    m_archiveList.AddString(L"2010-1-1 10:10:10");
    m_projectList.SetCurSel(0);
    m_archiveList.SetCurSel(0);
    m_latestCaption = GetDlgItemText(IDC_SRC_LATEST);
    return TRUE;
}

// The sample lists stay as they are whenever the step is shown.
void CTestMode_SrcDlg::OnEnterStep() {}

void CTestMode_SrcDlg::EnableSampleLists(bool enable)
{
    for (int id : {IDC_SRC_DRIVE_TYPE, IDC_SRC_PROJECT, IDC_SRC_ARCHIVE}) ::EnableWindow(GetDlgItem(id), enable);
}

// The caption is built from the button's own caption each time, so it never grows.
void CTestMode_SrcDlg::OnSampleLatestClicked()
{
    EnableSampleLists(false);
    const std::wstring project = palto::CutText(GetDlgItemText(IDC_SRC_PROJECT).str(), 16, 13);
    const std::wstring date = GetDlgItemText(IDC_SRC_ARCHIVE).str();
    SetDlgItemText(IDC_SRC_LATEST, palto::FormatText(L"%s: %s[%s]", m_latestCaption.str(), project, date).c_str());
}

void CTestMode_SrcDlg::OnSampleChooseClicked()
{
    EnableSampleLists(true);
}

bool CTestMode_SrcDlg::OnNextStep()
{
    IWizardHost* host = Host();
    if (!host) return true;
    WizardContext& context = host->Context();
    context.projectId = 0;
    context.archiveId = 0;
    context.stepTexts[1] = m_projectList.GetWindowText();
    return true;
}
