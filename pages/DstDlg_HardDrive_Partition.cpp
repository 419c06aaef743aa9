#include "pages/DstDlg_HardDrive_Partition.h"

#include "app/Texts.h"
#include "app/WizardContext.h"
#include "engine/RecordReaders.h"
#include "pages/AnswerMatch.h"
#include "pages/RestoreLayouts.h"
#include "resources/ids.h"

CDstDlg_HardDrive_Partition::CDstDlg_HardDrive_Partition(CWnd* parent) : CWizardPage(IDD_DST_DISK_PAGE, parent) {}

CDstDlg_HardDrive_Partition::~CDstDlg_HardDrive_Partition() = default;

BEGIN_MESSAGE_MAP(CDstDlg_HardDrive_Partition, CWizardPage)
    ON_CBN_SELCHANGE(IDC_DST_SOURCE, &CDstDlg_HardDrive_Partition::OnSourceChanged)
    ON_CBN_SELCHANGE(IDC_DST_TARGET, &CDstDlg_HardDrive_Partition::OnTargetChanged)
END_MESSAGE_MAP()

void CDstDlg_HardDrive_Partition::DoDataExchange(CDataExchange* pDX)
{
    CWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DST_SOURCE, m_comboSource);
    DDX_Control(pDX, IDC_DST_TARGET, m_comboTarget);
}

BOOL CDstDlg_HardDrive_Partition::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    CWizardPage::OnInitDialog();
    IWizardHost* host = Host();
    const bool oemMode = host && host->Context().oemOnlyFeature;
    m_oem = palto::MakeOemFilter(oemMode, LoadText(IDS_OEM_KEYWORD1).str(), LoadText(IDS_OEM_KEYWORD2).str());
    return TRUE;
}

palto::ListSettings CDstDlg_HardDrive_Partition::Settings(const WizardContext& context) const
{
    palto::ListSettings settings;
    settings.texts = {LoadText(IDS_DISK_WITH_PARTITIONS).str(), LoadText(IDS_PARTITION_ENTRY).str(),
                      LoadText(IDS_DISK_ENTRY).str(), LoadText(IDS_NO_LABEL).str()};
    settings.oem = m_oem;
    settings.program = {context.programDiskNumber, context.programPartitionNumber};
    settings.backupDrive = palto::LocationDrive(context.restoreInfo.projectDesc);
    return settings;
}

// Every entry asks the engine afresh and rebuilds both lists. The selections carry
// over from the last entry only while they were made for the same restore type and
// the same backup.
void CDstDlg_HardDrive_Partition::OnEnterStep()
{
    IWizardHost* host = Host();
    if (!host) return;
    WizardContext& context = host->Context();

    if (const int code = palto::QueryRestoreLayouts(context)) {
        m_choice.sources.clear();
        m_choice.targets.clear();
        ShowLists();
        UpdateNextState();
        ShowMessage(m_hWnd, EngineErrorMessage(code), MB_OK | MB_ICONERROR);
        return;
    }
    const palto::ChoiceKey key{context.restoreType, context.projectId, context.archiveId};
    palto::EnterChoice(m_choice, key, *palto::BackedUpLayout(context.restoreInfo),
                       *palto::ThisComputerLayout(context.restoreInfo), Settings(context));
    ShowLists();
    UpdateNextState();
}

void CDstDlg_HardDrive_Partition::ShowLists()
{
    const auto fill = [](CComboBox& list, const std::vector<palto::ListEntry>& entries) {
        list.ResetContent();
        for (const palto::ListEntry& entry : entries) list.AddString(entry.text.c_str());
    };
    fill(m_comboSource, m_choice.sources);
    fill(m_comboTarget, m_choice.targets);
    // An index the list does not have leaves it without a selection.
    m_comboTarget.SetCurSel(m_choice.targetSel);
    m_comboSource.SetCurSel(m_choice.sourceSel);
}

void CDstDlg_HardDrive_Partition::OnSourceChanged()
{
    if (palto::SelectSource(m_choice, m_comboSource.GetCurSel())) m_comboTarget.SetCurSel(m_choice.targetSel);
    UpdateNextState();
}

void CDstDlg_HardDrive_Partition::OnTargetChanged()
{
    palto::SelectTarget(m_choice, m_comboTarget.GetCurSel());
    UpdateNextState();
}

void CDstDlg_HardDrive_Partition::UpdateNextState()
{
    const palto::NextState state = palto::DecideNextState(m_choice);
    if (IWizardHost* host = Host()) host->EnableNextButton(state.nextEnabled);
    ShowSizeWarning(state.warningTextId);
}

void CDstDlg_HardDrive_Partition::ShowSizeWarning(unsigned textId)
{
    const HWND warning = GetDlgItem(IDC_DST_SIZE_WARNING);
    if (textId != 0) ::SetWindowTextW(warning, LoadText(textId));
    ::ShowWindow(warning, textId != 0 ? SW_SHOW : SW_HIDE);
}

// Stores the destination text and marks the chosen source and target in the layouts
// the restore order is made of; nothing of it happens when the choice cannot be taken.
bool CDstDlg_HardDrive_Partition::OnNextStep()
{
    IWizardHost* host = Host();
    if (!host) return false;
    WizardContext& context = host->Context();
    tagEntireComputerInf* backedUp = palto::BackedUpLayout(context.restoreInfo);
    tagEntireComputerInf* here = palto::ThisComputerLayout(context.restoreInfo);

    std::optional<std::wstring> destination;
    if (backedUp && here && !m_comboSource.GetWindowText().IsEmpty() && !m_comboTarget.GetWindowText().IsEmpty())
        destination = palto::CheckNextStep(m_choice, *backedUp, *here, LoadText(IDS_DISK_ENTRY).str(),
                                           LoadText(IDS_PARTITION_DESTINATION).str());
    if (!destination) {
        ShowMessage(m_hWnd, LoadText(IDS_DESTINATION_NOT_USABLE), MB_OK);
        return false;
    }
    context.stepTexts[2] = *destination;
    palto::MarkChosenSource(m_choice, *backedUp);
    palto::MarkChosenTarget(m_choice, *here);
    return true;
}

// Source and target are found by the numbers the engine gave them, never by their place
// in the lists, and chosen as the user chooses them; the target must then be the one the
// file describes and take the source.
std::optional<palto::AnswerDifference> CDstDlg_HardDrive_Partition::ApplyAnswers(const palto::Answers& answers)
{
    IWizardHost* host = Host();
    const tagEntireComputerInf* backedUp = host ? palto::BackedUpLayout(host->Context().restoreInfo) : nullptr;
    const tagEntireComputerInf* here = host ? palto::ThisComputerLayout(host->Context().restoreInfo) : nullptr;
    if (!backedUp || !here || !answers.source || !answers.target)
        return palto::Differs(answers, L"Source", palto::AnswerFinding::NothingOffered);

    const int source = palto::FindByNumbers(m_choice.sources, *backedUp, *answers.source);
    if (auto difference = palto::ListDifference(answers, L"Source", source, palto::EntryTexts(m_choice.sources)))
        return difference;
    ChooseEntry(IDC_DST_SOURCE, source);
    const int target = palto::FindByNumbers(m_choice.targets, *here, *answers.target);
    if (auto difference = palto::ListDifference(answers, L"Target", target, palto::EntryTexts(m_choice.targets)))
        return difference;
    ChooseEntry(IDC_DST_TARGET, target);

    const palto::ListEntry& chosen = m_choice.targets[static_cast<size_t>(target)];
    if (answers.targetSize && *answers.targetSize != chosen.size)
        return palto::Differs(answers, L"TargetSize", palto::AnswerFinding::Size, std::to_wstring(chosen.size));
    const std::wstring label = palto::TargetLabel(chosen, *here);
    if (answers.targetLabel && *answers.targetLabel != label) {
        return palto::Differs(answers, L"TargetLabel",
                              label.empty() ? palto::AnswerFinding::NoLabel : palto::AnswerFinding::Label, label);
    }
    const palto::NextState state = palto::DecideNextState(m_choice);
    if (!state.nextEnabled) {
        return palto::Differs(answers, L"Target", palto::AnswerFinding::Blocked,
                              state.warningTextId ? LoadText(state.warningTextId).str() : std::wstring());
    }
    return std::nullopt;
}
