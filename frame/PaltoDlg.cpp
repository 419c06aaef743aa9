#include "frame/PaltoDlg.h"

#include "app/EngineClient.h"
#include "app/PaltoApp.h"
#include "app/Texts.h"
#include "frame/Direct2D.h"
#include "frame/Fonts.h"
#include "pages/RestoreLayouts.h"
#include "resources/ids.h"

namespace {

// The default button moves from one push button to another: its look, and the id the
// dialog manager presses on Enter when the focus is on anything but a push button.
void MoveDefaultButton(HWND dialog, HWND from, HWND to)
{
    const auto style = [](HWND button) { return static_cast<UINT>(::GetWindowLongPtrW(button, GWL_STYLE) & 0xFFFF); };
    ::SendMessageW(from, BM_SETSTYLE, style(from) & ~BS_DEFPUSHBUTTON, TRUE);
    ::SendMessageW(to, BM_SETSTYLE, style(to) | BS_DEFPUSHBUTTON, TRUE);
    ::SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(::GetDlgCtrlID(to)), 0);
}

}  // namespace

CPaltoDlg::CPaltoDlg(CWnd* parent) : CDialog(IDD_MAIN, parent)
{
    m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_MAIN));
    CreateWizardFonts();
}

CPaltoDlg::~CPaltoDlg()
{
    // Layouts a restore did not take are given back to the engine with the wizard.
    if (theApp.m_pContext) palto::ReleaseRestoreLayouts(theApp.m_pContext->restoreInfo);
    if (m_pD2DFactory) m_pD2DFactory->Release();
    m_protectedPassword.Wipe();
}

BEGIN_MESSAGE_MAP(CPaltoDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_BACK, &CPaltoDlg::OnBack)
    ON_BN_CLICKED(IDC_NEXT, &CPaltoDlg::OnNext)
    ON_BN_CLICKED(IDC_WIZARD_CANCEL, &CPaltoDlg::OnCancelClicked)
    ON_MESSAGE(WM_STEP_FORWARD, &CPaltoDlg::OnStepForward)
    ON_MESSAGE(WM_ARCHIVE_QUERIED, &CPaltoDlg::OnArchiveQueried)
END_MESSAGE_MAP()

void CPaltoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HEADING, m_heading);
}

BOOL CPaltoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    SetWindowText(LoadText(IDS_APP_TITLE));
    m_heading.SetWindowText(LoadText(IDS_HEADING));
    SetDlgItemText(IDC_NEXT, LoadText(IDS_NEXT));
    SetDlgItemText(IDC_BACK, LoadText(IDS_BACK));
    SetDlgItemText(IDC_WIZARD_CANCEL, LoadText(IDS_CANCEL));
    m_pages.clear();
    m_heading.SetFont(g_fontBold, TRUE);

    ReadDesktopResolution();
    m_stepPanel.Create(IDD_STEP_PANEL, this);
    PlaceChild(m_stepPanel, 8, 44);
    m_stepPanel.ShowWindow(SW_SHOW);

    AddPage(m_typePage);
    if (theApp.m_pContext->testMode) {
        AddPage(m_testSourcePage);
        AddPage(m_testDiskDestinationPage);
        AddPage(m_testEntireDestinationPage);
    } else {
        AddPage(m_sourcePage);
        AddPage(m_diskDestinationPage);
        AddPage(m_entireDestinationPage);
    }
    AddPage(m_summaryPage);

    ShowStep(IDD_TYPE_PAGE);
    CreateEngineClient();
    StartAnswerWalk();
    return TRUE;
}

// Without Direct2D (an image without d2d1.dll) the screen's resolution comes from GDI:
// the dialog units of the panel and the pages grow with it all the same, so positions
// kept at 96 DPI would put the pages over the panel.
void CPaltoDlg::ReadDesktopResolution()
{
    m_pD2DFactory = CreateDirect2DFactory();
    if (m_pD2DFactory) {
        m_pD2DFactory->GetDesktopDpi(&m_dpiX, &m_dpiY);
        return;
    }
    HDC screen = ::GetDC(nullptr);
    if (!screen) return;
    m_dpiX = static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSX));
    m_dpiY = static_cast<float>(::GetDeviceCaps(screen, LOGPIXELSY));
    ::ReleaseDC(nullptr, screen);
}

// Places a child at a position given in 96-DPI pixels, keeping its own size. Children
// come after the buttons in the tab order, so that the wizard starts with the focus on
// Next, where Escape cannot close it.
void CPaltoDlg::PlaceChild(CDialog& child, float x96, float y96)
{
    RECT client{};
    child.GetClientRect(&client);
    const int x = static_cast<int>(m_dpiX * x96 / 96.0f);
    const int y = static_cast<int>(m_dpiY * y96 / 96.0f);
    child.MoveWindow(x, y, client.right - client.left, client.bottom - client.top, TRUE);
}

// A page is registered with the window and gets its own window when its step is first
// entered: the first view needs only the type page, and the window shows sooner.
void CPaltoDlg::AddPage(CWizardPage& page)
{
    m_pages[static_cast<int>(page.templateId())] = &page;
}

// The page registered under `pageId`, with its window made and placed if it had none.
CDialog* CPaltoDlg::PageWindow(int pageId)
{
    const auto found = m_pages.find(pageId);
    if (found == m_pages.end()) return nullptr;
    CDialog& page = *found->second;
    if (!page.m_hWnd && page.Create(page.templateId(), this)) PlaceChild(page, 144, 44);
    return page.m_hWnd ? &page : nullptr;
}

CWizardPage* CPaltoDlg::PageOfStep(int type, int step)
{
    return dynamic_cast<CWizardPage*>(PageWindow(kStepPages[type][step]));
}

BOOL CPaltoDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsEscapeKey(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CPaltoDlg::EnableNextButton(bool enable)
{
    ::EnableWindow(GetDlgItem(IDC_NEXT), enable ? TRUE : FALSE);
}

WizardContext& CPaltoDlg::Context()
{
    return *theApp.m_pContext;
}

void CPaltoDlg::ShowStep(int pageId)
{
    for (auto& [id, page] : m_pages) {
        if (id != pageId) {
            if (page->m_hWnd) page->ShowWindow(SW_HIDE);
        } else if (PageWindow(id)) {
            if (auto* wizardPage = dynamic_cast<CWizardPage*>(page)) wizardPage->OnEnterStep();
            page->ShowWindow(SW_SHOW);
        }
    }
    UpdateStepCaption();
    AnswerStepEntered();
}

void CPaltoDlg::UpdateStepCaption()
{
    SetDlgItemText(IDC_STEP_CAPTION, palto::FormatMessageText(LoadText(IDS_STEP_CAPTION).str(), m_nStep).c_str());
    m_stepPanel.SetStep(m_nStep);
}

void CPaltoDlg::UpdateButtons()
{
    HWND back = GetDlgItem(IDC_BACK);
    HWND next = GetDlgItem(IDC_NEXT);
    ::EnableWindow(back, m_nStep != 1);
    SetDlgItemText(IDC_NEXT, LoadText(m_nStep == 4 ? IDS_START_RESTORE : IDS_NEXT));
    // The last step starts the restore on Next: there Back is the default button, so
    // that Enter never starts it by accident. Every other step has Next as its default.
    if (m_nStep == 4) {
        SetFocus();
        ::SetFocus(back);
        MoveDefaultButton(m_hWnd, next, back);
    } else {
        if (m_nStep == 1) {
            SetFocus();
            ::SetFocus(next);
        }
        MoveDefaultButton(m_hWnd, back, next);
    }
}

// A disabled window takes no input: a worker runs (and may be asking for a disc in a
// box this window owns) or a modal window is up. A click that reaches one of its
// buttons all the same (sent by another program) is dropped, so that the wizard
// neither moves nor closes under the worker or the box.
void CPaltoDlg::OnBack()
{
    if (!TakesInput()) return;
    PersonTookOver();
    const int type = m_typePage.GetRestoreType();
    if (m_nStep < 2 || m_nStep > 4 || !CTypeDlg::IsValidRestoreType(type)) return;
    theApp.m_pContext->restoreType = type;
    if (CWizardPage* page = PageOfStep(type, m_nStep)) page->OnPrevStep();
    --m_nStep;
    ShowStep(kStepPages[type][m_nStep]);
    UpdateButtons();
}

void CPaltoDlg::OnNext()
{
    if (!TakesInput()) return;
    if (!m_answerActing) PersonTookOver();
    if (m_nStep >= 4) {
        LaunchRestore();
        return;
    }
    const int type = m_typePage.GetRestoreType();
    if (m_nStep < 1 || !CTypeDlg::IsValidRestoreType(type)) return;
    theApp.m_pContext->restoreType = type;
    CWizardPage* page = PageOfStep(type, m_nStep);
    if (page && !page->OnNextStep()) return;
    ++m_nStep;
    ShowStep(kStepPages[type][m_nStep]);
    UpdateButtons();
}

void CPaltoDlg::OnCancelClicked()
{
    if (!TakesInput()) return;
    if (ShowMessage(m_hWnd, LoadText(IDS_CONFIRM_CANCEL), MB_YESNO) == IDYES) OnCancel();
}

// Enter and the close box end the wizard at once, but never under a worker or a box.
void CPaltoDlg::OnOK()
{
    if (TakesInput()) CDialog::OnOK();
}

void CPaltoDlg::OnCancel()
{
    if (TakesInput()) CDialog::OnCancel();
}

// A request to move on counts only while the window takes input: a window that a
// running worker or a box keeps disabled stays so, on the step where it is.
LRESULT CPaltoDlg::OnStepForward(WPARAM, LPARAM)
{
    if (TakesInput()) MoveForward();
    return 0;
}

// The window gets its input back and moves on in one go, on its own thread: no click
// on Next can come in between and move the wizard a second step.
void CPaltoDlg::StepForward()
{
    EnableWindow(TRUE);
    MoveForward();
}

// Only the steps before the last move forward this way; a stray request at the last
// step would lead past the step table.
void CPaltoDlg::MoveForward()
{
    const int type = m_typePage.GetRestoreType();
    if (m_nStep < 1 || m_nStep > 3 || !CTypeDlg::IsValidRestoreType(type)) return;
    ++m_nStep;
    ShowStep(kStepPages[type][m_nStep]);
    UpdateButtons();
}

// Minimized, the window shows its icon; otherwise painting only validates the area
// (the background and the controls paint themselves).
void CPaltoDlg::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (::IsIconic(m_hWnd)) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        GetClientRect(&client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_hIcon);
    }
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CPaltoDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
