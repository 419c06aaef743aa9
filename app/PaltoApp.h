// The application: start-up, the wizard run, teardown.
#pragma once

#include "app/WizardContext.h"
#include "framework/CWinApp.h"

class CPaltoApp : public CWinApp {
public:
    CPaltoApp();
    ~CPaltoApp() override;

    // Does all the work and returns FALSE, so that the process ends with the wizard.
    BOOL InitInstance() override;

    // Replaces `text` with the message for an engine result code (app/EngineErrors.h).
    void GetEngineErrorText(int code, CString& text);

    LANGID m_langId = 0;                   // language of the loaded resource module
    WizardContext* m_pContext = nullptr;   // the one wizard context while the wizard runs
};

extern CPaltoApp& theApp;

// The OEM feature flag of the product configuration file beside the executable,
// read anew on every call.
bool QueryOemOnlyFeature();
