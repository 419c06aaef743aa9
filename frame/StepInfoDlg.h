// The panel at the left of the wizard that lists the four steps, marks the current
// one and shows the choice made at each step already passed.
#pragma once

#include "framework/Framework.h"

class CStepInfoDlg : public CDialog {
public:
    static constexpr int kSteps = 4;

    explicit CStepInfoDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Shows `step` (1 to 4) as the current step; any other number changes nothing.
    void SetStep(int step);

    int m_nStep = 1;
    CStatic m_stepTitle[kSteps];
    CStatic m_stepChoice[kSteps];
    CStatic m_currentMark[kSteps];
    CStatic m_passedMark[kSteps];
};
