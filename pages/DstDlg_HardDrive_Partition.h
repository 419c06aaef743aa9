// Third step of a hard-drive or partition restore: what to restore from the backup
// and where to on this computer, with a target chosen for the user until they pick one,
// and Next only while the target can take the source. The choice itself lives in
// palto::DestinationChoice; the page shows it and passes the user's changes on.
#pragma once

#include "frame/WizardPage.h"
#include "pages/DestinationChoice.h"

struct WizardContext;

class CDstDlg_HardDrive_Partition : public CWizardPage {
public:
    explicit CDstDlg_HardDrive_Partition(CWnd* parent = nullptr);
    ~CDstDlg_HardDrive_Partition() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNextStep() override;
    void OnEnterStep() override;
    std::optional<palto::AnswerDifference> ApplyAnswers(const palto::Answers& answers) override;

protected:
    DECLARE_MESSAGE_MAP()

    void OnSourceChanged();
    void OnTargetChanged();
    // Enables Next when the chosen target can take the chosen source, and shows why not.
    void UpdateNextState();
    // Shows warning `textId`, or hides the warning for 0.
    void ShowSizeWarning(unsigned textId);

    CComboBox m_comboSource;
    CComboBox m_comboTarget;
    palto::DestinationChoice m_choice;
    palto::OemFilter m_oem;

private:
    palto::ListSettings Settings(const WizardContext& context) const;
    // Fills both lists from the choice and selects its entries.
    void ShowLists();
};
