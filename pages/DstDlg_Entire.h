// Third step of an entire-computer restore: this computer's disks, whether the
// backed-up disks fit onto them, and the destination text for the later steps.
#pragma once

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
};
