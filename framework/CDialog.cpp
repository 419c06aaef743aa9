#include "framework/CDialog.h"

#include <exception>

#include "framework/Afx.h"
#include "framework/DataExchange.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

HWND CDialog::CreateFromTemplate(HWND owner)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    auto* templ = loaded ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (!templ) return nullptr;
    return ::CreateDialogIndirectParamW(module, templ, owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_templateId = templateId;
    m_pParentWnd = parent;
    return CreateFromTemplate(parent ? parent->m_hWnd : nullptr) != nullptr;
}

HWND CDialog::FindModalOwner() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != this) owner = main->m_hWnd;
    }
    if (owner && ::IsWindow(owner)) return ::GetAncestor(owner, GA_ROOT);  // never a child page
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    HWND owner = FindModalOwner();
    // An owner that is disabled already (by whoever runs a task meanwhile) stays as its
    // disabler left it; one that this dialog disables is enabled again at the end.
    const bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);

    m_modalResult = -1;
    m_modalLoopRunning = true;
    HWND hWnd = CreateFromTemplate(owner);
    if (hWnd) {
        if (m_modalLoopRunning) {  // OnInitDialog may have ended the dialog already
            ::ShowWindow(hWnd, SW_SHOW);
            RunModalLoop();
        }
        // Teardown: hide, give the owner back its input, then destroy.
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_modalLoopRunning = false;
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (hWnd) {
        if (owner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(owner);
        ::DestroyWindow(hWnd);
    }
    return m_modalResult;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (m_modalLoopRunning) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // A quit message ends every modal loop out to the application: pass it on.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_modalResult = -1;
            break;
        }
        if (!CWnd::WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!m_hWnd) break;  // the window was destroyed under the loop
    }
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    if (!m_modalLoopRunning) return;
    m_modalLoopRunning = false;
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop up
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    const bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                       (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return input && m_hWnd && ::IsDialogMessageW(m_hWnd, pMsg);
}

bool CDialog::ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    }
    return false;
}

// The one dialog procedure: finds the object, runs its message map, and applies the
// dialog return rules. No exception leaves it, since Windows cannot unwind through it.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Bind(hWnd);
    } else {
        dialog = dynamic_cast<CDialog*>(FromHandlePermanent(hWnd));
    }
    if (!dialog) return FALSE;

    const Identity identity = dialog->GetIdentity();
    dialog->EnterMessage();
    INT_PTR answer = FALSE;
    try {
        LRESULT result = 0;
        if (message == WM_INITDIALOG) {
            answer = dialog->OnInitDialog();
        } else if (dialog->ProcessWindowMessage(message, wParam, lParam, result)) {
            if (ReturnsResultDirectly(message)) {
                answer = static_cast<INT_PTR>(result);
            } else {
                ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
                answer = TRUE;
            }
        }
    } catch (const std::exception& e) {
        ::OutputDebugStringA(e.what());
    } catch (...) {
        ::OutputDebugStringW(L"Palto: unexpected exception in a message handler");
    }

    // An object freed under its own handler is not touched again.
    if (!IsLive(identity)) CountStrayMessage(hWnd, message);
    else dialog->LeaveMessage(message);  // last use of `dialog`: PostNcDestroy may delete it
    return answer;
}
