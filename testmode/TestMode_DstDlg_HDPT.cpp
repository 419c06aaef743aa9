#include "testmode/TestMode_DstDlg_HDPT.h"

#include "app/WizardContext.h"

namespace {

constexpr std::uint64_t kGigabyte = 1ull << 30;

// A whole disk 0 of the backup onto a larger whole disk 0 of this computer.
palto::ListEntry SampleEntry(const wchar_t* text, std::uint64_t size)
{
    return {text, size, 0, -1, size, false};
}

}  // namespace

CTestMode_DstDlg_HDPT::CTestMode_DstDlg_HDPT(CWnd* parent) : CDstDlg_HardDrive_Partition(parent) {}

CTestMode_DstDlg_HDPT::~CTestMode_DstDlg_HDPT() = default;

// Each list's one entry is also the one entry of the choice behind it.
BOOL CTestMode_DstDlg_HDPT::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_choice.sources = {SampleEntry(L"Soure Harddisk/Partition...", 40 * kGigabyte)};
    m_choice.targets = {SampleEntry(L"Destination Harddisk/Partition...", 80 * kGigabyte)};
    m_choice.sourceSel = 0;
    m_choice.targetSel = 0;
    m_comboSource.AddString(m_choice.sources[0].text.c_str());
    m_comboTarget.AddString(m_choice.targets[0].text.c_str());
    m_comboSource.SetCurSel(0);
    m_comboTarget.SetCurSel(0);
    return TRUE;
}

// The sample lists stay as they are whenever the step is shown.
void CTestMode_DstDlg_HDPT::OnEnterStep() {}

bool CTestMode_DstDlg_HDPT::OnNextStep()
{
    if (IWizardHost* host = Host()) host->Context().stepTexts[2] = L"Test HD/PT....";
    return true;
}
