// The disk/partition destination step in test mode: one sample source and one sample
// target that can take it. The real page's selection handlers stay in force and work
// on the sample's sizes, so that Next follows the selections as it does for real disks.
#pragma once

#include "pages/DstDlg_HardDrive_Partition.h"

class CTestMode_DstDlg_HDPT : public CDstDlg_HardDrive_Partition {
public:
    explicit CTestMode_DstDlg_HDPT(CWnd* parent = nullptr);
    ~CTestMode_DstDlg_HDPT() override;

    BOOL OnInitDialog() override;
    bool OnNextStep() override;
    void OnEnterStep() override;
};
