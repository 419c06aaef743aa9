// A dialog made from a template of the resource module: modal with DoModal (a
// message loop of our own, so that every message passes the pre-translate walk) or
// modeless with Create (the wizard's pages).
#pragma once

#include "framework/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the code given to EndDialog, or -1 when the dialog
    // could not be made or a quit message ended the loop (the quit is passed on outwards).
    virtual INT_PTR DoModal();

    // Makes the dialog as a modeless window, child of the parent when its template says so.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);

    // Ends the modal loop with this result. A modeless dialog is not ended this way
    // (its owner destroys it), so for one this only records the result.
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Keyboard and mouse input goes to IsDialogMessageW, which moves the focus with Tab,
    // presses buttons with Enter and sends IDCANCEL on Escape.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    UINT templateId() const { return m_templateId; }

protected:
    DECLARE_MESSAGE_MAP()

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static bool ReturnsResultDirectly(UINT message);
    HWND CreateFromTemplate(HWND owner);
    HWND FindModalOwner() const;
    void RunModalLoop();

    bool m_modalLoopRunning = false;
    INT_PTR m_modalResult = -1;
};
