// The progress page in test mode: no restore and no engine, but a simulated progress of
// 100 ticks of 300 ms, after which the page reports success and ends the application.
// Cancel, Escape and the close command are the real page's.
#pragma once

#include "restore/RestoreProgress.h"

class CTestMode_RestoreProgress : public CRestoreProgress {
public:
    // As the real page; the context's restore info, empty in test mode, is taken over
    // and given back unused.
    explicit CTestMode_RestoreProgress(WizardContext& context, CWnd* owner = nullptr,
                                       std::shared_ptr<RestoreReport> report = nullptr);
    ~CTestMode_RestoreProgress() override;

    static constexpr UINT kTickMs = 300;
    static constexpr int kLastTick = 100;
    // The last tick shown under the first stage's label; later ones show the last stage's.
    static constexpr int kLastFirstStageTick = 70;

protected:
    DECLARE_MESSAGE_MAP()

    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id);

    int m_tick = 0;
};
