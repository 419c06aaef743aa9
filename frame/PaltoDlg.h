// The wizard's one top-level window: heading, step caption, step panel, the pages of
// the four steps, and Back, Next and Cancel.
#pragma once

#include <d2d1.h>

#include <map>
#include <memory>

#include "app/ArchiveQuery.h"
#include "frame/StepInfoDlg.h"
#include "frame/WizardHost.h"
#include "frame/WizardMessages.h"
#include "frame/WizardPage.h"
#include "pages/DstDlg_Entire.h"
#include "pages/DstDlg_HardDrive_Partition.h"
#include "pages/SrcDlg.h"
#include "pages/SummaryDlg_Entire.h"
#include "pages/TypeDlg.h"
#include "resources/ids.h"
#include "restore/RestoreReport.h"
#include "testmode/TestMode_DstDlg_Entire.h"
#include "testmode/TestMode_DstDlg_HDPT.h"
#include "testmode/TestMode_SrcDlg.h"

class CPaltoDlg : public CDialog, public IWizardHost {
public:
    explicit CPaltoDlg(CWnd* parent = nullptr);
    ~CPaltoDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The pages' host.
    void EnableNextButton(bool enable) override;
    void StepForward() override;
    WizardContext& Context() override;

    // The page dialog of each step (columns 1 to 4) for each restore type (rows 0 to 2).
    static constexpr int kStepPages[3][5] = {
        {IDD_TYPE_PAGE, IDD_TYPE_PAGE, IDD_SOURCE_PAGE, IDD_DST_ENTIRE_PAGE, IDD_SUMMARY_PAGE},
        {IDD_TYPE_PAGE, IDD_TYPE_PAGE, IDD_SOURCE_PAGE, IDD_DST_DISK_PAGE, IDD_SUMMARY_PAGE},
        {IDD_TYPE_PAGE, IDD_TYPE_PAGE, IDD_SOURCE_PAGE, IDD_DST_DISK_PAGE, IDD_SUMMARY_PAGE},
    };

protected:
    DECLARE_MESSAGE_MAP()

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBack();
    void OnNext();
    void OnCancelClicked();
    void OnOK() override;
    void OnCancel() override;
    // False while the window is disabled: a worker runs or a modal window is up.
    bool TakesInput() const { return IsWindowEnabled() != FALSE; }
    LRESULT OnStepForward(WPARAM, LPARAM);

    // The restore launch, Next at the last step.
    void LaunchRestore();
    void StartArchiveQuery();
    LRESULT OnArchiveQueried(WPARAM, LPARAM queryId);
    bool AskForPassword();
    void RunRestoreProgress();
    void ReportLaunch();
    static bool QuitPending();

    void MoveForward();
    void ShowStep(int pageId);
    void UpdateButtons();
    void UpdateStepCaption();

    // The answer file's walk (AnswerWalk.cpp): on a timer, it fills the page of the step
    // shown and, on the next tick, presses Next for it, until a page differs from the file
    // or the person presses a button.
    enum class AnswerStage { Off, Problem, Fill, Press, AwaitStep };
    static constexpr UINT_PTR kAnswerTimer = 3;
    static constexpr UINT kAnswerPauseMs = 300;
    void StartAnswerWalk();
    void AnswerStepEntered();
    void PersonTookOver();
    void OnTimer(UINT_PTR id);
    void FillFromAnswers();
    void PressNextForAnswers();
    void EndAnswerWalk();
    AnswerStage m_answerStage = AnswerStage::Off;
    bool m_answerActing = false;   // the walk fills a page or presses Next now

    CString m_protectedPassword;   // the chosen backup's, while the launch needs it
    PendingArchiveQuery m_archiveQuery;   // the launch's archive query while it runs
    std::shared_ptr<RestoreReport> m_report;   // from the first launch on: one report per run
    HICON m_hIcon;
    int m_nStep = 1;
    CStepInfoDlg m_stepPanel;
    CTypeDlg m_typePage;
    CTestMode_SrcDlg m_testSourcePage;
    CTestMode_DstDlg_HDPT m_testDiskDestinationPage;
    CTestMode_DstDlg_Entire m_testEntireDestinationPage;
    CSrcDlg_HardDrive_Partition m_sourcePage;
    CDstDlg_HardDrive_Partition m_diskDestinationPage;
    CDstDlg_Entire m_entireDestinationPage;
    CSummaryDlg_Entire m_summaryPage;
    std::map<int, CDialog*> m_pages;  // page registry: dialog template id to page
    CStatic m_heading;
    ID2D1Factory* m_pD2DFactory = nullptr;
    float m_dpiX = 96.0f;
    float m_dpiY = 96.0f;

private:
    void ReadDesktopResolution();
    void PlaceChild(CDialog& child, float x96, float y96);
    void AddPage(CWizardPage& page);
    CDialog* PageWindow(int pageId);
    CWizardPage* PageOfStep(int type, int step);
};
