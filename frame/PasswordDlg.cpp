#include "frame/PasswordDlg.h"

#include <string_view>

#include "app/Texts.h"
#include "engine/Halvex.h"
#include "engine/RecordReaders.h"
#include "resources/ids.h"

namespace {

// The size in bytes the engine is told for the protected form: 260 characters of two
// bytes. The buffer holds the longest protected form and a terminator all the same, so
// an engine that counts the size in characters stays inside it, and a full buffer
// still ends.
constexpr unsigned long kProtectedFormBytes = 260 * sizeof(wchar_t);
constexpr size_t kProtectedFormRoom = palto::kMaxProtectedPassword + 1;

void Wipe(wchar_t* characters, size_t count)
{
    ::SecureZeroMemory(characters, count * sizeof(wchar_t));
}

}  // namespace

CPasswordDlg::CPasswordDlg(CWnd* parent) : CDialog(IDD_PASSWORD, parent) {}

CPasswordDlg::~CPasswordDlg()
{
    m_storedPassword.Wipe();
}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PASSWORD, m_passwordEdit);
}

BOOL CPasswordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(LoadText(IDS_APP_TITLE));
    m_passwordEdit.SetLimitText(kMaxPasswordLength);
    return TRUE;
}

bool CPasswordDlg::TypedPasswordMatches()
{
    CString typed = m_passwordEdit.GetWindowText();
    wchar_t protectedForm[kProtectedFormRoom] = {};
    // A text the engine cannot protect is no password: treated as a wrong one, never
    // as a right one.
    bool matches = Caller::EncryptString(typed, protectedForm, kProtectedFormBytes);
    if (matches) {
        protectedForm[kProtectedFormRoom - 1] = 0;
        const std::wstring_view form(protectedForm);
        matches = form == m_storedPassword.str();
    }
    Wipe(protectedForm, kProtectedFormRoom);
    typed.Wipe();
    return matches;
}

void CPasswordDlg::OnOK()
{
    if (!TypedPasswordMatches()) {
        ShowMessage(m_hWnd, LoadText(IDS_WRONG_PASSWORD), MB_OK);
        return;  // the typed text stays in the field for another try
    }
    m_passwordEdit.SetWindowText(L"");
    CDialog::OnOK();
}
