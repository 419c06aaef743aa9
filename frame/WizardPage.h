// The base of every page of the wizard: a modeless child dialog that the main window
// creates once and tells when the user presses Next or Back and when it is shown.
#pragma once

#include "frame/WizardHost.h"
#include "framework/Framework.h"

class CWizardPage : public CDialog {
public:
    CWizardPage(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    // Next at this page's step: check the input and store the choice in the wizard
    // context; false keeps the wizard on the step (the page has said why).
    virtual bool OnNextStep() { return true; }
    // Back at this page's step; it cannot stop the wizard going back.
    virtual void OnPrevStep() {}
    // The page is about to be shown: refresh it from the wizard context.
    virtual void OnEnterStep() {}

protected:
    // The wizard window this page lives in (its parent); null before the page has a
    // window or when its parent is not a wizard.
    IWizardHost* Host() const { return dynamic_cast<IWizardHost*>(GetParent()); }
    // Swallows Escape, so that no page closes the wizard by accident (Cancel asks first).
    BOOL PreTranslateMessage(MSG* pMsg) override;
};

// The Escape key, which the main window and the pages swallow.
inline bool IsEscapeKey(const MSG* msg)
{
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}

inline BOOL CWizardPage::PreTranslateMessage(MSG* pMsg)
{
    if (IsEscapeKey(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
