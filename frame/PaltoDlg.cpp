#include "frame/PaltoDlg.h"

#include "app/Texts.h"
#include "resources/ids.h"

CPaltoDlg::CPaltoDlg(CWnd* parent) : CDialog(IDD_MAIN, parent) {}

CPaltoDlg::~CPaltoDlg() = default;

BEGIN_MESSAGE_MAP(CPaltoDlg, CDialog)
    ON_BN_CLICKED(IDC_WIZARD_CANCEL, &CPaltoDlg::OnCancelClicked)
END_MESSAGE_MAP()

BOOL CPaltoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_APP_TITLE));
    SetDlgItemText(IDC_HEADING, LoadText(IDS_HEADING));
    SetDlgItemText(IDC_NEXT, LoadText(IDS_NEXT));
    SetDlgItemText(IDC_BACK, LoadText(IDS_BACK));
    SetDlgItemText(IDC_WIZARD_CANCEL, LoadText(IDS_CANCEL));
    return TRUE;
}

void CPaltoDlg::OnCancelClicked()
{
    OnCancel();
}
