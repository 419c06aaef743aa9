#include "pages/DstDlg_Entire.h"

#include <cwctype>

#include "app/Texts.h"
#include "app/WizardContext.h"
#include "engine/RecordReaders.h"
#include "framework/Format.h"
#include "frame/Fonts.h"
#include "pages/EntireFit.h"
#include "pages/RestoreLayouts.h"
#include "resources/ids.h"

namespace {

// The backup's own drive among the disks here weighs more than their sizes: the restore
// would destroy what it reads.
std::wstring WarningText(bool backupHere, wchar_t backupDrive)
{
    if (!backupHere) return LoadText(IDS_DISKS_DO_NOT_FIT).str();
    const auto shownDrive = static_cast<wchar_t>(std::towupper(backupDrive));
    return palto::FormatText(LoadText(IDS_BACKUP_ON_THIS_COMPUTER).str(), shownDrive);
}

}  // namespace

CDstDlg_Entire::CDstDlg_Entire(CWnd* parent) : CWizardPage(IDD_DST_ENTIRE_PAGE, parent) {}

CDstDlg_Entire::~CDstDlg_Entire() = default;

void CDstDlg_Entire::DoDataExchange(CDataExchange* pDX)
{
    CWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DST_ENTIRE_HEADING, m_heading);
}

BOOL CDstDlg_Entire::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    CWizardPage::OnInitDialog();
    m_heading.SetFont(g_fontBold, TRUE);
    return TRUE;
}

// Every entry asks the engine afresh: the backup may have changed since the last one.
// The layouts are marked for an entire-computer restore whether they can take it or not;
// only Next stops a restore that cannot fit or would overwrite its own backup.
void CDstDlg_Entire::OnEnterStep()
{
    IWizardHost* host = Host();
    if (!host) return;
    WizardContext& context = host->Context();
    const HWND warning = GetDlgItem(IDC_DST_DISKS_DO_NOT_FIT);

    m_refusal.clear();
    if (const int code = palto::QueryRestoreLayouts(context)) {
        SetDlgItemText(IDC_DST_DISKS, L"");
        ::ShowWindow(warning, SW_HIDE);
        host->EnableNextButton(false);
        ShowMessage(m_hWnd, EngineErrorMessage(code), MB_OK | MB_ICONERROR);
        return;
    }
    tagEntireComputerInf& here = *palto::ThisComputerLayout(context.restoreInfo);
    const tagEntireComputerInf& backedUp = *palto::BackedUpLayout(context.restoreInfo);

    // One line per disk: the entry itself has no line break, as it also names a disk in
    // one-line places (the lists, the step panel, the summary).
    SetDlgItemText(IDC_DST_DISKS, palto::DiskListText(here, LoadText(IDS_DISK_ENTRY).str() + L"\r\n").c_str());
    const wchar_t backupDrive = palto::LocationDrive(context.restoreInfo.projectDesc);
    const bool backupHere = palto::BackupOnThisComputer(here, backupDrive);
    const bool usable = !backupHere && palto::EntireComputerFits(backedUp, here);
    const std::wstring warningText = WarningText(backupHere, backupDrive);
    SetDlgItemText(IDC_DST_DISKS_DO_NOT_FIT, warningText.c_str());
    if (!usable) m_refusal = warningText;
    ::ShowWindow(warning, usable ? SW_HIDE : SW_SHOW);
    host->EnableNextButton(usable);
    here.entireComputer = 1;
}

bool CDstDlg_Entire::OnNextStep()
{
    IWizardHost* host = Host();
    if (!host) return false;
    WizardContext& context = host->Context();
    const tagEntireComputerInf* here = palto::ThisComputerLayout(context.restoreInfo);
    if (!here) {
        ShowMessage(m_hWnd, LoadText(IDS_DESTINATION_NOT_USABLE), MB_OK);
        return false;
    }
    if (!m_refusal.empty()) {
        ShowMessage(m_hWnd, CString(m_refusal), MB_OK);
        return false;
    }
    context.stepTexts[2] = palto::EntireDestinationText(*here, LoadText(IDS_ENTIRE_DESTINATION).str());
    return true;
}

// Nothing to choose: this computer must be as large as the file says, and take the backup.
std::optional<palto::AnswerDifference> CDstDlg_Entire::ApplyAnswers(const palto::Answers& answers)
{
    IWizardHost* host = Host();
    const tagEntireComputerInf* here = host ? palto::ThisComputerLayout(host->Context().restoreInfo) : nullptr;
    if (!here) return palto::Differs(answers, L"Type", palto::AnswerFinding::Blocked);
    if (answers.targetSize && *answers.targetSize != here->totalSize)
        return palto::Differs(answers, L"TargetSize", palto::AnswerFinding::Size, std::to_wstring(here->totalSize));
    const HWND warning = GetDlgItem(IDC_DST_DISKS_DO_NOT_FIT);
    if (::IsWindowVisible(warning))
        return palto::Differs(answers, L"Type", palto::AnswerFinding::Blocked, TextOf(warning).str());
    return std::nullopt;
}
