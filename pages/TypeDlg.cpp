#include "pages/TypeDlg.h"

#include <winioctl.h>

#include "app/WizardContext.h"
#include "resources/ids.h"

CTypeDlg::CTypeDlg(CWnd* parent) : CWizardPage(IDD_TYPE_PAGE, parent) {}

CTypeDlg::~CTypeDlg() = default;

BOOL CTypeDlg::OnInitDialog()
{
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    CWizardPage::OnInitDialog();

    IWizardHost* host = Host();
    if (host && host->Context().oemOnlyFeature) {
        WizardContext& context = host->Context();
        wchar_t path[MAX_PATH] = {};
        if (!::GetModuleFileNameW(nullptr, path, MAX_PATH)) return FALSE;
        const wchar_t drive = path[0];
        // Started from the recovery medium's own drives (X: or Z:) every type is offered;
        // from anywhere else only a partition restore, never onto the program's own volume.
        if (drive != L'X' && drive != L'Z' && drive != L'x' && drive != L'z') {
            ::EnableWindow(GetDlgItem(IDC_TYPE_ENTIRE), FALSE);
            ::EnableWindow(GetDlgItem(IDC_TYPE_DISK), FALSE);
            CheckDlgButton(IDC_TYPE_PARTITION, BST_CHECKED);
            GetVolumeDiskAndPartition(drive, context.programDiskNumber, context.programPartitionNumber);
            return TRUE;
        }
        ::EnableWindow(GetDlgItem(IDC_TYPE_ENTIRE), TRUE);
        ::EnableWindow(GetDlgItem(IDC_TYPE_DISK), TRUE);
    }
    CheckDlgButton(IDC_TYPE_ENTIRE, BST_CHECKED);
    return TRUE;
}

void CTypeDlg::GetVolumeDiskAndPartition(wchar_t letter, int& disk, int& partition)
{
    wchar_t device[MAX_PATH] = L"\\\\.\\?:";
    device[4] = letter;
    HANDLE volume = ::CreateFileW(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return;

    // Room for exactly one extent: a volume spanning several disks has no one number.
    VOLUME_DISK_EXTENTS extents{};
    static_assert(sizeof extents == 32);
    DWORD returned = 0;
    if (::DeviceIoControl(volume, IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS, nullptr, 0, &extents, sizeof extents,
                          &returned, nullptr) &&
        extents.NumberOfDiskExtents == 1) {
        disk = static_cast<int>(extents.Extents[0].DiskNumber);
        PARTITION_INFORMATION_EX info{};
        static_assert(sizeof info == 144);
        if (::DeviceIoControl(volume, IOCTL_DISK_GET_PARTITION_INFO_EX, nullptr, 0, &info, sizeof info, &returned,
                              nullptr)) {
            partition = static_cast<int>(info.PartitionNumber);
        }
    }
    ::CloseHandle(volume);
}

int CTypeDlg::CheckedRadio() const
{
    if (IsDlgButtonChecked(IDC_TYPE_ENTIRE) == BST_CHECKED) return IDC_TYPE_ENTIRE;
    if (IsDlgButtonChecked(IDC_TYPE_DISK) == BST_CHECKED) return IDC_TYPE_DISK;
    return IDC_TYPE_PARTITION;
}

int CTypeDlg::GetRestoreType() const
{
    switch (CheckedRadio()) {
    case IDC_TYPE_ENTIRE: return 0;
    case IDC_TYPE_DISK: return 1;
    default: return 2;
    }
}

bool CTypeDlg::OnNextStep()
{
    IWizardHost* host = Host();
    if (!host) return false;
    WizardContext& context = host->Context();
    context.stepTexts[0] = GetDlgItemText(CheckedRadio());
    context.restoreType = GetRestoreType();
    return true;
}

void CTypeDlg::OnEnterStep()
{
    if (IWizardHost* host = Host()) host->EnableNextButton(true);
    SetFocus();
}

// A type the page does not offer (its radio button disabled, under the OEM feature) is
// not chosen: the page says which it offers.
std::optional<palto::AnswerDifference> CTypeDlg::ApplyAnswers(const palto::Answers& answers)
{
    constexpr int radios[] = {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION};
    const int wanted = radios[static_cast<int>(answers.type)];
    if (!::IsWindowEnabled(GetDlgItem(wanted))) {
        std::wstring offered;
        for (const int radio : radios) {
            if (::IsWindowEnabled(GetDlgItem(radio))) offered += (offered.empty() ? L"" : L"\n") + GetDlgItemText(radio).str();
        }
        return palto::Differs(answers, L"Type", palto::AnswerFinding::NotOffered, offered);
    }
    ClickRadio(IDC_TYPE_ENTIRE, IDC_TYPE_PARTITION, wanted);
    return std::nullopt;
}
