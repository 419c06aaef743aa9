// First page: what to restore (the entire computer, one hard drive or one partition).
#pragma once

#include "frame/WizardPage.h"

class CTypeDlg : public CWizardPage {
public:
    explicit CTypeDlg(CWnd* parent = nullptr);
    ~CTypeDlg() override;

    BOOL OnInitDialog() override;
    bool OnNextStep() override;
    void OnEnterStep() override;
    std::optional<palto::AnswerDifference> ApplyAnswers(const palto::Answers& answers) override;

    // 0 entire computer, 1 hard drive, 2 partition: from the checked radio button.
    int GetRestoreType() const;
    static bool IsValidRestoreType(int type) { return static_cast<unsigned>(type) < 3; }

    // The disk and partition numbers of the volume with drive letter `letter`; each
    // out-parameter is written only when the system gives a value for it.
    static void GetVolumeDiskAndPartition(wchar_t letter, int& disk, int& partition);

private:
    int CheckedRadio() const;
};
