// The wizard's one top-level window.
#pragma once

#include "framework/Framework.h"

class CPaltoDlg : public CDialog {
public:
    explicit CPaltoDlg(CWnd* parent = nullptr);
    ~CPaltoDlg() override;

    BOOL OnInitDialog() override;

protected:
    DECLARE_MESSAGE_MAP()

    void OnCancelClicked();
};
