// The password dialog of a protected backup, with the protected form the stand-in
// engine stores for the backup, typed into and pressed as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "app/EngineClient.h"
#include "engine/RecordReaders.h"
#include "frame/PasswordDlg.h"
#include "resources/ids.h"

namespace palto::test {
namespace {

constexpr unsigned kProtectedProject = 3;

std::string ProtectedCatalog(const std::string& faults = "[]", const std::string& extra = "")
{
    return R"({)" + extra + R"(
  "thisComputer": {"disks": [{"number": 0, "size": 100000000000}]},
  "projects": [{"id": 3, "description": "Letters", "location": "E:\\Letters", "password": "Tide-42",
    "layout": {"disks": [{"number": 0, "size": 100000000000, "selected": true}]},
    "history": [{"time": 133000000000000000}]}],
  "faults": )" + faults + "}";
}

// The protected form the engine keeps for the backup, as the restore launch gets it.
CString StoredPassword()
{
    _ProjectDesc desc{};
    EXPECT_EQ(GetEngineClient().QueryProject(kProtectedProject, desc, kAnyDrive), 0);
    CString stored(EncryptedPasswordText(&desc));
    GetEngineClient().FreeProject(desc);
    return stored;
}

// Runs the dialog and types each entry in turn, pressing OK after each; the last entry
// is followed by Cancel when `cancelAtEnd` is set.
struct DialogRun {
    INT_PTR result = 0;
    std::vector<std::wstring> fieldAfterOk;
};

DialogRun RunDialog(const CString& stored, std::vector<std::wstring> entries, bool cancelAtEnd = false)
{
    CPasswordDlg dialog;
    dialog.m_storedPassword = stored;
    DialogRun run;
    std::function<void()> typeNext = [&] {
        if (!dialog.m_hWnd) return;
        if (entries.empty()) {
            if (cancelAtEnd) dialog.SendMessage(WM_COMMAND, IDCANCEL);
            return;
        }
        dialog.m_passwordEdit.SetWindowText(entries.front().c_str());
        entries.erase(entries.begin());
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDOK)));
        run.fieldAfterOk.push_back(dialog.m_passwordEdit.GetWindowText().str());
        RunSoon(typeNext);
    };
    RunSoon(typeNext);
    run.result = dialog.DoModal();
    return run;
}

class PasswordDialog : public testing::Test {
protected:
    static void SetUpTestSuite() { LoadEnglishResources(); }
    void TearDown() override { EXPECT_EQ(blocks.Outstanding(), 0) << "engine blocks this test did not give back"; }

    EngineBlocks blocks;
    const std::wstring kWrong = L"The password is not correct. Type it again, paying attention to upper and lower case.";
    MessageBoxes boxes;
};

TEST_F(PasswordDialog, TheRightPasswordClosesItWithOk)
{
    SimEngine sim(ProtectedCatalog());
    EXPECT_EQ(RunDialog(StoredPassword(), {L"Tide-42"}).result, IDOK);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PasswordDialog, AWrongEntryIsRefusedAndTheDialogStaysForAnotherTry)
{
    SimEngine sim(ProtectedCatalog());
    const DialogRun run = RunDialog(StoredPassword(), {L"tide-42", L"", L"Tide-42"});
    EXPECT_EQ(run.result, IDOK);
    ASSERT_EQ(boxes.shown().size(), 2u) << "letter case counts, and an empty entry is no password";
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.text, kWrong);
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(run.fieldAfterOk, (std::vector<std::wstring>{L"tide-42", L"", L""}))
        << "a refused text stays for another try; the accepted one is taken out of the field";
}

TEST_F(PasswordDialog, CancelClosesItWithCancel)
{
    SimEngine sim(ProtectedCatalog());
    EXPECT_EQ(RunDialog(StoredPassword(), {L"wrong"}, true).result, IDCANCEL);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(PasswordDialog, ATextTheEngineCannotProtectIsRefused)
{
    SimEngine sim(ProtectedCatalog(R"([{"operation": "EncryptString", "call": 0, "code": -1000005}])"));
    const CString stored = StoredPassword();
    ASSERT_FALSE(stored.IsEmpty());
    EXPECT_EQ(RunDialog(stored, {L"Tide-42"}, true).result, IDCANCEL) << "a failure of the engine opens nothing";
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, kWrong);
}

// An engine whose protected forms are long: the right password is taken with a stored
// form up to the dialog's 520 characters, and never with a longer one, which no typed
// form can equal.
struct LongForm {
    int length;
    INT_PTR result;
    std::size_t wrongBoxes;
};

void PrintTo(const LongForm& c, std::ostream* out)
{
    *out << c.length << " characters";
}

class LongProtectedForm : public PasswordDialog, public testing::WithParamInterface<LongForm> {};

TEST_P(LongProtectedForm, TheRightPasswordIsRefusedOnlyBeyondTheBound)
{
    SimEngine sim(ProtectedCatalog("[]", R"("protectedFormLength": )" + std::to_string(GetParam().length) + ","));
    const CString stored = StoredPassword();
    EXPECT_EQ(stored.GetLength(), std::min(GetParam().length, 521));
    EXPECT_EQ(RunDialog(stored, {L"Tide-42"}, true).result, GetParam().result);
    EXPECT_EQ(boxes.shown().size(), GetParam().wrongBoxes);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongProtectedForm, testing::Values(
    LongForm{260, IDOK, 0}, LongForm{400, IDOK, 0}, LongForm{520, IDOK, 0}, LongForm{521, IDCANCEL, 1},
    LongForm{700, IDCANCEL, 1}));

TEST_F(PasswordDialog, TheFieldTakesSixteenCharacters)
{
    SimEngine sim(ProtectedCatalog());
    CPasswordDlg dialog;
    UINT limit = 0;
    std::wstring title;
    RunSoon([&] {
        limit = dialog.m_passwordEdit.GetLimitText();
        title = dialog.GetWindowText().str();
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(limit, 16u);
    EXPECT_EQ(title, L"Tolvane Restore");
}

}  // namespace
}  // namespace palto::test
