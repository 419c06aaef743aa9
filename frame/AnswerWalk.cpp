// The answer file's walk through the wizard. It runs on the window's thread, one timer
// tick at a time, so that each page is shown before it is filled and filled before Next
// is pressed for it: a person watching sees every choice. It goes only through the
// frame's own steps and the pages' own handlers, so every check runs as for a person;
// the first difference ends it with one message, and so does any button the person
// presses. Boxes, the password dialog and workers disable the window: the walk waits.
#include "app/AnswerTexts.h"
#include "app/PaltoApp.h"
#include "app/Texts.h"
#include "frame/PaltoDlg.h"
#include "resources/ids.h"

namespace {

std::wstring Load(unsigned id)
{
    return LoadText(id).str();
}

// The key a step's blocked Next is reported under, when its page names none.
const wchar_t* StepKey(int step, int type)
{
    switch (step) {
    case 1: return L"Type";
    case 2: return L"Backup";
    case 3: return type == 0 ? L"Type" : L"Target";
    default: return L"Start";
    }
}

}  // namespace

void CPaltoDlg::StartAnswerWalk()
{
    const palto::AnswerFileRead& file = Context().answerFile;
    if (file.error) m_answerStage = AnswerStage::Problem;
    else if (file.answers) m_answerStage = AnswerStage::Fill;
    else return;
    SetTimer(kAnswerTimer, kAnswerPauseMs);
}

// A step the walk moved to (also through a worker's step forward) is filled next.
void CPaltoDlg::AnswerStepEntered()
{
    if (m_answerStage != AnswerStage::AwaitStep) return;
    m_answerStage = AnswerStage::Fill;
    SetTimer(kAnswerTimer, kAnswerPauseMs);
}

// From a press of the person's own, the wizard is theirs: so is the restore it starts.
void CPaltoDlg::PersonTookOver()
{
    if (theApp.m_pContext) Context().restoreChosenByAnswers = false;
    EndAnswerWalk();
}

void CPaltoDlg::EndAnswerWalk()
{
    if (m_answerStage == AnswerStage::Off) return;
    m_answerStage = AnswerStage::Off;
    KillTimer(kAnswerTimer);
}

void CPaltoDlg::OnTimer(UINT_PTR id)
{
    if (id != kAnswerTimer || m_answerActing || !TakesInput()) return;
    switch (m_answerStage) {
    case AnswerStage::Problem:
        EndAnswerWalk();
        ShowMessage(m_hWnd, palto::AnswerFileProblemText(Context().answerFile, Load).c_str(), MB_OK | MB_ICONWARNING);
        break;
    case AnswerStage::Fill: FillFromAnswers(); break;
    case AnswerStage::Press: PressNextForAnswers(); break;
    default: break;
    }
}

void CPaltoDlg::FillFromAnswers()
{
    const palto::Answers& answers = *Context().answerFile.answers;
    const int type = m_typePage.GetRestoreType();
    CWizardPage* page = CTypeDlg::IsValidRestoreType(type) ? PageOfStep(type, m_nStep) : nullptr;
    if (!page) {
        EndAnswerWalk();
        return;
    }
    m_answerActing = true;
    std::optional<palto::AnswerDifference> difference = page->ApplyAnswers(answers);
    m_answerActing = false;
    if (m_answerStage != AnswerStage::Fill) return;
    if (!difference && !::IsWindowEnabled(GetDlgItem(IDC_NEXT)))
        difference = palto::Differs(answers, StepKey(m_nStep, type), palto::AnswerFinding::Blocked);
    if (difference) {
        EndAnswerWalk();
        ShowMessage(m_hWnd, palto::AnswerDifferenceText(*difference, Load).c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    if (m_nStep >= 4) {
        // The summary waits for the person unless the file says to start, and describes
        // the target well enough to be sure of it.
        if (answers.start == palto::AnswerStart::Ask) {
            EndAnswerWalk();
            return;
        }
        if (const auto missing = answers.MissingForStartNow()) {
            EndAnswerWalk();
            ShowMessage(m_hWnd, palto::AnswerStartWaitsText(*missing, Load).c_str(), MB_OK | MB_ICONINFORMATION);
            return;
        }
    }
    m_answerStage = AnswerStage::Press;
}

void CPaltoDlg::PressNextForAnswers()
{
    const int step = m_nStep;
    m_answerStage = AnswerStage::AwaitStep;
    if (step >= 4) Context().restoreChosenByAnswers = true;
    m_answerActing = true;
    OnNext();
    m_answerActing = false;
    // The launch goes on by itself from the last step; a page that opens its backup on a
    // worker moves the wizard on later; a page that refused has said why.
    if (step >= 4 || (m_nStep == step && TakesInput())) EndAnswerWalk();
}
