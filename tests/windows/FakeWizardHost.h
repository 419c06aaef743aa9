// A small wizard window of the tests' own for driving one page alone: it records what
// the page asks of its host and holds a context of its own.
#pragma once

#include "app/WizardContext.h"
#include "frame/WizardHost.h"
#include "framework/Framework.h"
#include "resources/ids.h"

namespace palto::test {

class FakeWizardHost : public CDialog, public IWizardHost {
public:
    FakeWizardHost() : CDialog(IDD_MAIN) {}

    void EnableNextButton(bool enable) override { nextEnabled = enable; }
    void StepForward() override
    {
        EnableWindow(TRUE);
        ++stepsForward;
    }
    WizardContext& Context() override { return context; }

    // Creates the host's window and `page` in it, as the main window does.
    bool Open(CDialog& page) { return Create(IDD_MAIN) && page.Create(page.templateId(), this); }

    WizardContext context;
    bool nextEnabled = false;
    int stepsForward = 0;
};

}  // namespace palto::test
