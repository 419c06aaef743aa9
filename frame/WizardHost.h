// What a page may ask of the wizard window that hosts it. Pages reach their host
// through their parent window and know nothing else of the main window, so a page can
// run inside a small host of a test's own.
#pragma once

struct WizardContext;

class IWizardHost {
public:
    // Enables or disables Next while the page's input is incomplete or invalid.
    virtual void EnableNextButton(bool enable) = 0;
    // Moves the wizard one step on without asking the page again, and gives the wizard
    // window its input back: for a page that accepted its step after a background check.
    virtual void StepForward() = 0;
    // The user's choices, read and written in place.
    virtual WizardContext& Context() = 0;

protected:
    ~IWizardHost() = default;
};
