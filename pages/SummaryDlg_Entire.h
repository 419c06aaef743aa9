// Last step of every restore type: the three choices made, with the chosen backup's
// date, before Next starts the restore.
#pragma once

#include "frame/WizardPage.h"

class CSummaryDlg_Entire : public CWizardPage {
public:
    explicit CSummaryDlg_Entire(CWnd* parent = nullptr);
    ~CSummaryDlg_Entire() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnEnterStep() override;

protected:
    CStatic m_heading;
};
