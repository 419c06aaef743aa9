// The restore launched from the last step as a user meets it, with a catalog of the
// test's own: the archive check at launch, the password of a protected backup, and the
// restore run to its end.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";
const wchar_t kWrongPassword[] =
    L"The password is not correct. Type it again, paying attention to upper and lower case.";
const wchar_t kCannotRead[] = L"The chosen backup cannot be read. Check that the drive or medium that holds it is connected, or choose another backup.";

// One backup on G:, an external drive, (optionally protected) of a computer with one
// disk, which every restore type can take, onto this computer's two disks, with a short restore; `extra`
// adds keys to the catalog (faults).
std::string Catalog(const std::string& password, const std::string& extra = "")
{
    return R"({"thisComputer": {"disks": [
        {"number": 0, "size": 107374182400, "partitions": [
          {"number": 1, "driveLetter": "C", "label": "Windows", "size": 107374182400}]},
        {"number": 1, "size": 53687091200, "partitions": [
          {"number": 1, "driveLetter": "E", "label": "Backup", "size": 53687091200}]}]},
      "projects": [{"id": 1, "description": "Documents", "location": "G:\\Backups",)" +
           (password.empty() ? std::string() : R"( "password": ")" + password + R"(",)") +
           R"( "layout": {"entireComputer": true, "disks": [{"number": 0, "size": 53687091200, "selected": true, "partitions": [
          {"number": 1, "label": "Data", "size": 21474836480, "selected": true}]}]},
        "history": [{"time": "2026-10-05T19:00:00Z"}]}],
      "restore": {"stages": [{"phase": 6, "firstStage": true, "ms": 300}, {"phase": 9, "ms": 300}]})" +
           extra + "}";
}

WindowMatch HasControl(int id)
{
    return [id](HWND window) { return ::GetDlgItem(window, id) != nullptr; };
}

class RestoreLaunch : public testing::Test {
protected:
    // Starts the wizard and walks a partition restore to the last step.
    void WalkToTheLastStep(const std::string& catalog, int typeRadio = IDC_TYPE_PARTITION)
    {
        run.emplace(catalog);
        wizard = run->wizard();
        ASSERT_TRUE(wizard);
        Click(FindControl(wizard, typeRadio));
        for (const wchar_t* caption : {L"Step 2 of 4", L"Step 3 of 4", L"Step 4 of 4"}) {
            Click(FindControl(wizard, IDC_NEXT));
            ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), caption, kWait)) << "reaching " << caption;
        }
    }
    void TearDown() override
    {
        if (wizard && run->process().WaitForExit(0) == STILL_ACTIVE) {
            EXPECT_EQ(run->Cancel(), 0u);
        }
    }

    DWORD id() { return run->process().id(); }
    // The message box shown now, answered with `button`; its text, empty when none came.
    std::wstring AnswerBox(int button = IDOK) { return palto::e2e::AnswerBox(id(), button); }
    void TypePassword(const wchar_t* text)
    {
        HWND dialog = WaitForTopWindow(id(), HasControl(IDC_PASSWORD), kWait);
        ASSERT_TRUE(dialog) << "the password dialog was not shown";
        ::SendMessageW(FindControl(dialog, IDC_PASSWORD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        Click(FindControl(dialog, IDOK));
    }
    // Back on the last step with the wizard taking input again.
    bool UsableOnTheLastStep()
    {
        const ULONGLONG end = ::GetTickCount64() + kWait;
        while (!::IsWindowEnabled(wizard) && ::GetTickCount64() < end) ::Sleep(20);
        return ::IsWindowEnabled(wizard) && TextOf(FindControl(wizard, IDC_STEP_CAPTION)) == L"Step 4 of 4";
    }

    std::optional<CatalogRun> run;
    HWND wizard = nullptr;
};

class EachRestoreType : public RestoreLaunch, public testing::WithParamInterface<int> {};

TEST_P(EachRestoreType, ABackupWithoutPasswordIsRestoredToItsEnd)
{
    WalkToTheLastStep(Catalog(""), GetParam());
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForTopWindow(id(), HasControl(1087), kWait)) << "the progress page was not shown";
    EXPECT_EQ(MaskReportName(AnswerBox()), WithReportIn(kDone, BinFolder()));
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
}

INSTANTIATE_TEST_SUITE_P(Types, EachRestoreType, testing::Values(IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION));

TEST_F(RestoreLaunch, AProtectedBackupRefusesAnotherLetterCaseAndAcceptsItsPassword)
{
    WalkToTheLastStep(Catalog("Tide-42"));
    Click(FindControl(wizard, IDC_NEXT));
    TypePassword(L"tide-42");
    EXPECT_EQ(AnswerBox(), kWrongPassword);
    TypePassword(L"Tide-42");
    ASSERT_TRUE(WaitForTopWindow(id(), HasControl(1087), kWait)) << "the progress page was not shown";
    EXPECT_EQ(MaskReportName(AnswerBox()), WithReportIn(kDone, BinFolder()));
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
}

TEST_F(RestoreLaunch, ACancelledPasswordLeavesTheWizardOnTheLastStep)
{
    WalkToTheLastStep(Catalog("Tide-42"));
    Click(FindControl(wizard, IDC_NEXT));
    HWND dialog = WaitForTopWindow(id(), HasControl(IDC_PASSWORD), kWait);
    ASSERT_TRUE(dialog);
    Click(FindControl(dialog, IDCANCEL));
    EXPECT_TRUE(UsableOnTheLastStep());
    EXPECT_FALSE(FindTopWindow(id(), HasControl(1087))) << "no restore started";
}

TEST_F(RestoreLaunch, AFailedArchiveCheckSaysSoAndLeavesTheWizardUsable)
{
    // The source step opens the backup once; the launch's check is the second call.
    WalkToTheLastStep(Catalog("", R"(, "faults": [{"operation": "QueryArchiveProject", "call": 2, "code": -1000351}])"));
    Click(FindControl(wizard, IDC_NEXT));
    EXPECT_EQ(AnswerBox(), kCannotRead);
    EXPECT_TRUE(UsableOnTheLastStep());
    // The next press checks again and, the fault spent, restores.
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForTopWindow(id(), HasControl(1087), kWait));
    EXPECT_EQ(MaskReportName(AnswerBox()), WithReportIn(kDone, BinFolder()));
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
}

}  // namespace
