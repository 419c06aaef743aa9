#include "frame/StepInfoDlg.h"

#include "app/PaltoApp.h"
#include "app/TextCut.h"
#include "app/Texts.h"
#include "frame/Fonts.h"
#include "resources/ids.h"

namespace {

struct RowIds {
    int title, choice, current, passed;
    UINT titleText;
};

constexpr RowIds kRows[CStepInfoDlg::kSteps] = {
    {IDC_STEP1_TITLE, IDC_STEP1_CHOICE, IDC_STEP1_CURRENT, IDC_STEP1_PASSED, IDS_STEP1_TITLE},
    {IDC_STEP2_TITLE, IDC_STEP2_CHOICE, IDC_STEP2_CURRENT, IDC_STEP2_PASSED, IDS_STEP2_TITLE},
    {IDC_STEP3_TITLE, IDC_STEP3_CHOICE, IDC_STEP3_CURRENT, IDC_STEP3_PASSED, IDS_STEP3_TITLE},
    {IDC_STEP4_TITLE, IDC_STEP4_CHOICE, IDC_STEP4_CURRENT, IDC_STEP4_PASSED, IDS_STEP4_TITLE},
};

// A choice text is cut to fit the panel: more than 16 characters become 13 and "..".
constexpr size_t kLongestChoice = 16;
constexpr size_t kKeptOfLongChoice = 13;

}  // namespace

CStepInfoDlg::CStepInfoDlg(CWnd* parent) : CDialog(IDD_STEP_PANEL, parent) {}

void CStepInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int r = 0; r < kSteps; ++r) {
        DDX_Control(pDX, kRows[r].title, m_stepTitle[r]);
        DDX_Control(pDX, kRows[r].choice, m_stepChoice[r]);
        DDX_Control(pDX, kRows[r].current, m_currentMark[r]);
        DDX_Control(pDX, kRows[r].passed, m_passedMark[r]);
    }
}

BOOL CStepInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int r = 0; r < kSteps; ++r) m_stepTitle[r].SetWindowText(LoadText(kRows[r].titleText));
    return TRUE;
}

void CStepInfoDlg::SetStep(int step)
{
    if (step < 1 || step > kSteps) return;
    m_nStep = step;
    for (int r = 0; r < kSteps; ++r) {
        const int n = r + 1;
        const bool passed = n < step;
        const bool current = n == step;
        if (passed) {
            const CString& choice = theApp.m_pContext->stepTexts[r];
            m_stepChoice[r].SetWindowText(palto::CutText(choice.str(), kLongestChoice, kKeptOfLongChoice).c_str());
        }
        m_currentMark[r].ShowWindow(current ? SW_SHOW : SW_HIDE);
        m_passedMark[r].ShowWindow(passed ? SW_SHOW : SW_HIDE);
        m_stepChoice[r].ShowWindow(passed ? SW_SHOW : SW_HIDE);
        m_stepTitle[r].SetFont(current ? g_fontBold : g_fontNormal, TRUE);
    }
}
