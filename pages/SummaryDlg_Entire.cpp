#include "pages/SummaryDlg_Entire.h"

#include "app/Texts.h"
#include "app/WizardContext.h"
#include "frame/Fonts.h"
#include "resources/ids.h"

CSummaryDlg_Entire::CSummaryDlg_Entire(CWnd* parent) : CWizardPage(IDD_SUMMARY_PAGE, parent) {}

CSummaryDlg_Entire::~CSummaryDlg_Entire() = default;

void CSummaryDlg_Entire::DoDataExchange(CDataExchange* pDX)
{
    CWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SUMMARY_HEADING, m_heading);
}

BOOL CSummaryDlg_Entire::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    CWizardPage::OnInitDialog();
    m_heading.SetFont(g_fontBold, TRUE);
    return TRUE;
}

// Next here starts the restore, so Enter must not: the focus and the default-button
// look move from Next to Back.
void CSummaryDlg_Entire::OnEnterStep()
{
    IWizardHost* host = Host();
    if (!host) return;
    const WizardContext& context = host->Context();
    SetDlgItemText(IDC_SUMMARY_TYPE, context.stepTexts[0]);
    CString backup;
    backup.Format(L"%s : [%s]", context.stepTexts[1], FormatFileTime(context.archiveId));
    SetDlgItemText(IDC_SUMMARY_BACKUP, backup);
    SetDlgItemText(IDC_SUMMARY_DESTINATION, context.stepTexts[2]);

    const HWND wizard = ::GetParent(m_hWnd);
    const HWND back = ::GetDlgItem(wizard, IDC_BACK);
    const HWND next = ::GetDlgItem(wizard, IDC_NEXT);
    const auto buttonStyle = [](HWND button) { return static_cast<WPARAM>(::GetWindowLongPtrW(button, GWL_STYLE) & 0xFFFF); };
    const WPARAM backStyle = buttonStyle(back);
    const WPARAM nextStyle = buttonStyle(next);
    ::SetFocus(back);
    ::SendMessageW(back, BM_SETSTYLE, nextStyle, TRUE);
    ::SendMessageW(next, BM_SETSTYLE, backStyle, TRUE);
}
