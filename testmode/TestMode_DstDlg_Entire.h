// The entire-computer destination step in test mode: a sample text in place of this
// computer's disks; Next always succeeds.
#pragma once

#include "pages/DstDlg_Entire.h"

class CTestMode_DstDlg_Entire : public CDstDlg_Entire {
public:
    explicit CTestMode_DstDlg_Entire(CWnd* parent = nullptr);
    ~CTestMode_DstDlg_Entire() override;

    BOOL OnInitDialog() override;
    bool OnNextStep() override;
    void OnEnterStep() override;
};
