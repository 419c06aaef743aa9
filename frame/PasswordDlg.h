// Asks for the password of a protected backup. The engine never gives out the
// password, only its protected form: the dialog protects what was typed the same way
// and accepts it only when both forms are equal. It knows nothing of backups or
// restores: the caller hands it the stored form and reads OK or Cancel.
#pragma once

#include "framework/Framework.h"

class CPasswordDlg : public CDialog {
public:
    // How many characters the entry field takes.
    static constexpr UINT kMaxPasswordLength = 16;

    explicit CPasswordDlg(CWnd* parent = nullptr);
    ~CPasswordDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    CString m_storedPassword;   // the protected form of the backup's password
    CEdit m_passwordEdit;

private:
    bool TypedPasswordMatches();
};
