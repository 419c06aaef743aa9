// The base of every page of the wizard: a modeless child dialog that the main window
// creates once and tells when the user presses Next or Back and when it is shown.
#pragma once

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
};

// The Escape key, which the main window and most pages swallow so that the wizard is
// not closed by accident (Cancel asks first).
inline bool IsEscapeKey(const MSG* msg)
{
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}
