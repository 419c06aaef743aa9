// The restore type page: what it offers with and without the OEM feature, which
// depends on the drive the program runs from. Runs from another drive happen in a child
// process started from drive P:, which the test runner maps to this program's folder.
#include <gtest/gtest.h>

#include "FakeWizardHost.h"
#include "TestSupport.h"
#include "pages/TypeDlg.h"
#include "resources/ids.h"

namespace {


// What the type page shows and stored, as bits (also a child's exit code).
enum PageState : int {
    kEntireEnabled = 1,
    kDiskEnabled = 2,
    kEntireChecked = 4,
    kPartitionChecked = 8,
    kNoDiskNumber = 16,
    kNoPartitionNumber = 32,
    kCreated = 64,
};

int OpenTheTypePage(bool oemOnlyFeature)
{
    palto::test::LoadEnglishResources();
    palto::test::FakeWizardHost host;
    WizardContext& context = host.context;
    context.oemOnlyFeature = oemOnlyFeature;
    CTypeDlg page;
    if (!host.Open(page)) return 0;
    int state = kCreated;
    if (::IsWindowEnabled(page.GetDlgItem(IDC_TYPE_ENTIRE))) state |= kEntireEnabled;
    if (::IsWindowEnabled(page.GetDlgItem(IDC_TYPE_DISK))) state |= kDiskEnabled;
    if (page.IsDlgButtonChecked(IDC_TYPE_ENTIRE)) state |= kEntireChecked;
    if (page.IsDlgButtonChecked(IDC_TYPE_PARTITION)) state |= kPartitionChecked;
    if (context.programDiskNumber == -1) state |= kNoDiskNumber;
    if (context.programPartitionNumber == -1) state |= kNoPartitionNumber;
    host.DestroyWindow();
    return state;
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    return name.substr(name.rfind(L'\\') + 1);
}

constexpr int kEverythingOffered = kCreated | kEntireEnabled | kDiskEnabled | kEntireChecked | kNoDiskNumber |
                                   kNoPartitionNumber;

TEST(TypePage, WithoutTheOemFeatureEveryTypeIsOfferedAndTheEntireComputerChosen)
{
    EXPECT_EQ(OpenTheTypePage(false), kEverythingOffered);
}

TEST(TypePage, WithTheOemFeatureFromTheRecoveryDrivesEveryTypeIsOffered)
{
    // This program runs from Z:, a drive of the recovery medium.
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_EQ(towupper(path[0]), L'Z');
    EXPECT_EQ(OpenTheTypePage(true), kEverythingOffered);
}

TEST(TypePage, WithTheOemFeatureFromAnotherDriveOnlyAPartitionRestoreIsOffered)
{
    const std::wstring program = L"P:\\" + ProgramName();
    ASSERT_NE(::GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "drive P: is not mapped";
    // The volume device of a mapped folder cannot be opened: both numbers stay unknown.
    EXPECT_EQ(palto::test::RunInChild("oem", L"type_page_tests", program),
              static_cast<DWORD>(kCreated | kPartitionChecked | kNoDiskNumber | kNoPartitionNumber));
}

TEST(TypePage, ShownItEnablesNextAndOnNextItStoresTheTypeAndItsCaption)
{
    palto::test::LoadEnglishResources();
    palto::test::FakeWizardHost host;
    CTypeDlg page;
    ASSERT_TRUE(host.Open(page));
    page.OnEnterStep();
    EXPECT_TRUE(host.nextEnabled);
    page.CheckDlgButton(IDC_TYPE_ENTIRE, BST_UNCHECKED);
    page.CheckDlgButton(IDC_TYPE_DISK, BST_CHECKED);
    EXPECT_TRUE(page.OnNextStep());
    EXPECT_EQ(host.context.restoreType, 1);
    EXPECT_EQ(host.context.stepTexts[0], L"Hard drive");
    host.DestroyWindow();
}

TEST(TypePage, RestoreTypesOutsideZeroToTwoAreNotValid)
{
    for (int type : {0, 1, 2}) EXPECT_TRUE(CTypeDlg::IsValidRestoreType(type));
    for (int type : {-1, 3, 0x7FFFFFFF}) EXPECT_FALSE(CTypeDlg::IsValidRestoreType(type));
}

}  // namespace

int main(int argc, char** argv)
{
    return palto::test::TestMain(argc, argv, {{"oem", [] { return OpenTheTypePage(true); }}});
}
