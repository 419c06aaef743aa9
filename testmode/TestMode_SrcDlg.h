// The source step in test mode: one sample project and one sample backup, chosen
// without asking the engine; Next always succeeds.
#pragma once

#include "pages/SrcDlg.h"

class CTestMode_SrcDlg : public CSrcDlg_HardDrive_Partition {
public:
    explicit CTestMode_SrcDlg(CWnd* parent = nullptr);
    ~CTestMode_SrcDlg() override;

    BOOL OnInitDialog() override;
    bool OnNextStep() override;
    void OnEnterStep() override;

protected:
    DECLARE_MESSAGE_MAP()

    void OnSampleLatestClicked();
    void OnSampleChooseClicked();

private:
    void EnableSampleLists(bool enable);
};
