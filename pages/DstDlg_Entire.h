// Third step of an entire-computer restore: this computer's disks, whether the
// backed-up disks fit onto them, and the destination text for the later steps.
#pragma once

#include <string>

#include "frame/WizardPage.h"

class CDstDlg_Entire : public CWizardPage {
public:
    explicit CDstDlg_Entire(CWnd* parent = nullptr);
    ~CDstDlg_Entire() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnNextStep() override;
    void OnEnterStep() override;
    std::optional<palto::AnswerDifference> ApplyAnswers(const palto::Answers& answers) override;

protected:
    CStatic m_heading;
    // The warning's text while the restore cannot go here; empty when it can. Next
    // refuses on it too: a disabled button is not the only way a command arrives.
    std::wstring m_refusal;
};
