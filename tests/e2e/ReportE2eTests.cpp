// The restore report as a user finds it after the program has ended: in the program's
// folder when it is writable, else in "Restore reports" at the root of the backup's
// drive, else in the temporary folder; named in the end message; holding the choices,
// each answer, the stages and the end, every time with its offset from UTC, and never
// the password. The drives are mapped by the test's ctest entry (tests/e2e/CMakeLists.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {

const wchar_t kWritableProgram[] = L"K:";
const wchar_t kReadOnlyProgram[] = L"L:";
const char kWritableBackup[] = "M";
const char kReadOnlyBackup[] = "N";
const char kPassword[] = "harbour7";
constexpr DWORD kTestModeRestoreMs = 30000;

const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";
const wchar_t kWarning[] =
    L"A disk of this computer reported an error. Check the disk and its connection; the disk may need to be replaced.";
const wchar_t kQuestion[] = L"Some data of the backup could not be read. Do you want to continue the restore?";

// A protected backup on `backupDrive`, on removable media, of one partition that only
// this computer's T: can take; its restore asks for a disc, warns and asks a question.
std::string Catalog(const std::string& backupDrive)
{
    return R"({"thisComputer": {"disks": [
        {"number": 0, "size": 107374182400, "partitions": [
          {"number": 1, "driveLetter": "T", "label": "Windows", "size": 107374182400}]},
        {"number": 1, "size": 21474836480, "partitions": [
          {"number": 1, "driveLetter": "M", "label": "Backup", "size": 10737418240},
          {"number": 2, "driveLetter": "N", "label": "Archive", "size": 10737418240}]}]},
      "projects": [{"id": 7, "description": "Documents", "location": ")" + backupDrive + R"(:\\Backups",
        "password": ")" + kPassword + R"(", "archiveMedia": {"part": -1},
        "layout": {"disks": [{"number": 0, "size": 53687091200, "partitions": [
          {"number": 1, "label": "Data", "size": 21474836480, "selected": true}]}]},
        "history": [{"time": "2026-10-05T19:00:00Z"}]}],
      "restore": {"stages": [{"phase": 6, "firstStage": true, "ms": 2000}, {"phase": 9, "ms": 2000}],
        "events": [{"stage": 0, "percent": 30, "mediaRequest": {"part": 2, "drive": ")" + backupDrive + R"("}},
                   {"stage": 0, "percent": 60, "message": {"code": -1000358, "param": 0}},
                   {"stage": 1, "percent": 50, "message": {"code": -1000355, "param": 0}}]}})";
}

WindowMatch HasControl(int id)
{
    return [id](HWND window) { return ::GetDlgItem(window, id) != nullptr; };
}

// The lines of a report's text (after its byte-order mark), each without its CRLF.
std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find(L"\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::wstring::npos ? text.size() : end + 2;
    }
    return lines;
}

const std::wregex kTime(L"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");
const std::wregex kTimeWithOffset(L"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d [+-]\\d\\d:\\d\\d");

// The line with each time (and its offset) as "<time>", the elapsed time as "<elapsed>".
std::wstring Masked(const std::wstring& line)
{
    const std::wstring timed = std::regex_replace(line, kTimeWithOffset, L"<time>");
    return std::regex_replace(timed, std::wregex(L"elapsed \\d+:\\d\\d:\\d\\d"), L"elapsed <elapsed>");
}

class RestoreReport : public testing::Test {
protected:
    // The wizard started from `programFolder` with the backup on `backupDrive`.
    void Launch(const std::wstring& programFolder, const std::string& backupDrive, const std::wstring& arguments = L"")
    {
        run.emplace(Catalog(backupDrive), arguments, programFolder + L"\\Palto.exe");
        wizard = run->wizard();
        ASSERT_TRUE(wizard) << "the wizard was not shown";
    }
    // Walks a partition restore from `programFolder` to the progress page.
    void StartRestore(const std::wstring& programFolder, const std::string& backupDrive)
    {
        ASSERT_NO_FATAL_FAILURE(Launch(programFolder, backupDrive));
        Click(FindControl(wizard, IDC_TYPE_PARTITION));
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait));
        Click(FindControl(wizard, IDC_NEXT));
        EXPECT_EQ(AnswerBox(IDOK), L"Insert the last disc of the backup made on 2026-10-05 19:00:00 into drive " +
                                       FromUtf8(backupDrive) + L": and click OK.");
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 3 of 4", kWait));
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 4 of 4", kWait));
        destinationShown = TextOf(FindControl(wizard, IDC_SUMMARY_DESTINATION));
        Click(FindControl(wizard, IDC_NEXT));
        HWND password = WaitForTopWindow(id(), HasControl(IDC_PASSWORD), kWait);
        ASSERT_TRUE(password) << "the password dialog was not shown";
        const std::wstring typed = FromUtf8(kPassword);
        ::SendMessageW(FindControl(password, IDC_PASSWORD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        Click(FindControl(password, IDOK));
        ASSERT_TRUE(WaitForTopWindow(id(), HasControl(IDC_PROGRESS_BAR), kWait)) << "the progress page was not shown";
    }

    // Answers the restore's disc, warning and question; the end message's text.
    std::wstring AnswerToTheEnd(const std::string& backupDrive)
    {
        EXPECT_EQ(AnswerBox(IDOK), L"Insert disc 2 of the backup made on 2026-10-05 19:00:00 into drive " +
                                       FromUtf8(backupDrive) + L": and click OK.");
        EXPECT_EQ(AnswerBox(IDOK), kWarning);
        EXPECT_EQ(AnswerBox(IDYES), kQuestion);
        const std::wstring end = AnswerBox(IDOK);
        EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
        return end;
    }

    // The one report in `folder`, which the end message `end` names; removed after reading.
    std::wstring TakeTheReport(const std::wstring& folder, const std::wstring& end)
    {
        const std::vector<std::wstring> reports = ReportsIn(folder);
        EXPECT_EQ(reports.size(), 1u) << "reports in " << testing::PrintToString(folder);
        if (reports.size() != 1) return {};
        EXPECT_EQ(end, std::wstring(kDone) + L"\n\nThe report of this restore is in " + reports[0]);
        const std::string bytes = FileBytes(reports[0]);
        // The last one read stays beside the tests, as an example of a real report.
        ::MoveFileExW(reports[0].c_str(), L"restore-report-example.txt", MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
        EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "a byte-order mark";
        return FromUtf8(bytes.substr(3));
    }

    std::wstring AnswerBox(int button) { return palto::e2e::AnswerBox(id(), button); }
    DWORD id() { return run->process().id(); }

    std::optional<CatalogRun> run;
    HWND wizard = nullptr;
    std::wstring destinationShown;
};

TEST_F(RestoreReport, AWritableProgramFolderKeepsTheWholeRestoreWithoutThePassword)
{
    StartRestore(kWritableProgram, kWritableBackup);
    const std::wstring text = TakeTheReport(kWritableProgram, AnswerToTheEnd(kWritableBackup));
    ASSERT_FALSE(text.empty());
    ASSERT_TRUE(text.ends_with(L"\r\n")) << "every line ends with CRLF";
    const std::vector<std::wstring> lines = Lines(text);
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line.find(L'\r'), std::wstring::npos) << "a lone CR in " << testing::PrintToString(line);
        EXPECT_EQ(line.find(L'\n'), std::wstring::npos) << "a lone LF in " << testing::PrintToString(line);
        const std::wstring withoutOffsets = std::regex_replace(line, kTimeWithOffset, L"");
        EXPECT_FALSE(std::regex_search(withoutOffsets, kTime)) << "a time without its offset: " << testing::PrintToString(line);
    }
    std::vector<std::wstring> masked;
    for (const std::wstring& line : lines) masked.push_back(Masked(line));
    const std::vector<std::wstring> expected = {
        L"Tolvane Restore",
        L"Report-Started: <time>",
        L"Program-Version: 1.0.0.0",
    };
    ASSERT_GE(masked.size(), expected.size());
    EXPECT_EQ(std::vector<std::wstring>(masked.begin(), masked.begin() + 3), expected);
    EXPECT_TRUE(masked[3].starts_with(L"Program-Build: ")) << testing::PrintToString(masked[3]);
    // Up to the restore's start the order is fixed; after it, progress ticks and the
    // engine's events interleave as the two threads meet: each kind is compared in its order.
    const std::vector<std::wstring> expectedStart = {
        L"Language-Module: MainrENU.dll",
        L"OEM-Switch: off",
        L"Test-Mode: no",
        L"Launch: <time>",
        L"Disk: 0 | 107374182400 bytes | Disk 0: 100.0 GB",
        L"Partition: 0:1 | 107374182400 bytes | Disk 0, partition 1: Windows (100.0 GB) | T: | label \"Windows\"",
        L"Disk: 1 | 21474836480 bytes | Disk 1: 20.0 GB",
        L"Partition: 1:1 | 10737418240 bytes | Disk 1, partition 1: Backup (10.0 GB) | M: | label \"Backup\"",
        L"Partition: 1:2 | 10737418240 bytes | Disk 1, partition 2: Archive (10.0 GB) | N: | label \"Archive\"",
        L"Restore-Type: 2 | Partition",
        L"Backup-Project: 7 | Documents",
        L"Backup-Location: M:\\Backups",
        L"Backup-Date: <time> | FILETIME 134357004000000000",
        L"Destination: " + destinationShown,
        L"Engine-Call: <time> | QueryArchiveProject | 0",
        L"Engine-Call: <time> | SetNotifyFunction (task end, engine message, media request) | 0",
        L"Engine-Call: <time> | ProjectRestoreCtrl | 0",
    };
    ASSERT_GE(masked.size(), 4 + expectedStart.size());
    EXPECT_EQ(std::vector<std::wstring>(masked.begin() + 4, masked.begin() + 4 + expectedStart.size()), expectedStart);
    std::vector<std::wstring> events, stages, polls;
    for (auto line = masked.begin() + 4 + expectedStart.size(); line != masked.end(); ++line) {
        if (line->starts_with(L"Stage: ")) stages.push_back(std::regex_replace(*line, std::wregex(L"\\| \\d{1,3}% \\|"), L"| <n>% |"));
        else if (line->starts_with(L"Engine-Call: <time> | GetTaskProgInfo")) polls.push_back(*line);
        else events.push_back(*line);
    }
    EXPECT_EQ(events, (std::vector<std::wstring>{
        L"Media-Request: <time> | part 2 | drive M: | answer 0 (OK)",
        L"Engine-Message: <time> | code -1000358 | " + std::wstring(kWarning) + L" | answer 0 (OK)",
        L"Engine-Message: <time> | code -1000355 | " + std::wstring(kQuestion) + L" | answer 1 (Yes: go on)",
        L"End: <time> | result 0 | " + std::wstring(kDone) + L" | elapsed <elapsed>",
    }));
    EXPECT_EQ(stages, (std::vector<std::wstring>{L"Stage: <time> | <n>% | Preparing the restore...",
                                                 L"Stage: <time> | <n>% | Finishing the restore..."}));
    EXPECT_EQ(polls, std::vector<std::wstring>{L"Engine-Call: <time> | GetTaskProgInfo | 0"}) << "its first code, once";
    EXPECT_NE(text.find(L"Backup-Date: 2026-10-05 19:00:00 +00:00"), std::wstring::npos) << "the date as shown";
    // Neither the password, nor its protected form, nor anything about it.
    EXPECT_EQ(text.find(FromUtf8(kPassword)), std::wstring::npos);
    EXPECT_EQ(text.find(L"HX1:"), std::wstring::npos);
    EXPECT_EQ(text.find(L"assword"), std::wstring::npos);
}

TEST_F(RestoreReport, AReadOnlyProgramFolderPutsItBesideTheBackup)
{
    StartRestore(kReadOnlyProgram, kWritableBackup);
    const std::wstring end = AnswerToTheEnd(kWritableBackup);
    EXPECT_TRUE(ReportsIn(kReadOnlyProgram).empty());
    const std::wstring text = TakeTheReport(L"M:\\Restore reports", end);
    EXPECT_NE(text.find(L"\r\nEnd: "), std::wstring::npos) << "the report holds the end";
    EXPECT_TRUE(ReportsIn(L"M:\\Backups").empty()) << "the backup's own folder is left untouched";
    ::RemoveDirectoryW(L"M:\\Restore reports");
}

TEST_F(RestoreReport, WithBothReadOnlyItGoesIntoTheTemporaryFolder)
{
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, temp);
    ASSERT_GT(length, 1u);
    const std::wstring tempFolder(temp, length - 1);
    for (const std::wstring& stale : ReportsIn(tempFolder)) ::DeleteFileW(stale.c_str());

    StartRestore(kReadOnlyProgram, kReadOnlyBackup);
    const std::wstring end = AnswerToTheEnd(kReadOnlyBackup);
    EXPECT_TRUE(ReportsIn(kReadOnlyProgram).empty());
    EXPECT_TRUE(ReportsIn(L"N:\\Restore reports").empty());
    const std::wstring text = TakeTheReport(tempFolder, end);
    EXPECT_NE(text.find(L"\r\nBackup-Location: N:\\Backups\r\n"), std::wstring::npos);
}

// Sets an environment variable for the programs this test starts, back as it was after.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        wchar_t old[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(name, old, MAX_PATH);
        if (length > 0 && length < MAX_PATH) m_old = old;
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_old ? m_old->c_str() : nullptr); }

private:
    const wchar_t* m_name;
    std::optional<std::wstring> m_old;
};

TEST_F(RestoreReport, WhenNoFolderTakesItTheRestoreRunsAndTheEndSaysSo)
{
    const ScopedVariable tmp(L"TMP", L"N:\\");
    const ScopedVariable temp(L"TEMP", L"N:\\");
    StartRestore(kReadOnlyProgram, kReadOnlyBackup);
    EXPECT_EQ(AnswerToTheEnd(kReadOnlyBackup), std::wstring(kDone) + L"\n\nNo report of this restore could be kept.");
    EXPECT_TRUE(ReportsIn(kReadOnlyProgram).empty());
    EXPECT_TRUE(ReportsIn(L"N:").empty());
}

TEST_F(RestoreReport, ARunCancelledAtStepTwoWritesNone)
{
    ASSERT_NO_FATAL_FAILURE(Launch(kWritableProgram, kWritableBackup));
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait));
    EXPECT_EQ(run->Cancel(), 0u) << "the cancel was answered and the program ended";
    EXPECT_TRUE(ReportsIn(kWritableProgram).empty());
    EXPECT_TRUE(ReportsIn(L"M:\\Restore reports").empty());
}

TEST_F(RestoreReport, TestModeWritesOneMarkedAsTestMode)
{
    ASSERT_NO_FATAL_FAILURE(Launch(kWritableProgram, kWritableBackup, L"-test"));
    for (const wchar_t* caption : {L"Step 2 of 4", L"Step 3 of 4", L"Step 4 of 4"}) {
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), caption, kWait)) << caption;
    }
    Click(FindControl(wizard, IDC_NEXT));
    // The simulated restore takes 100 ticks of 300 ms.
    HWND box = WaitForTopWindow(id(), MatchSelector(L"box"), kTestModeRestoreMs + kWait);
    ASSERT_TRUE(box) << "the simulated restore did not end";
    const std::wstring end = MessageBoxText(box);
    Click(FindControl(box, IDOK));
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
    const std::wstring text = TakeTheReport(kWritableProgram, end);
    std::vector<std::wstring> masked;
    for (const std::wstring& line : Lines(text)) masked.push_back(Masked(line));
    for (const std::wstring& expected : std::vector<std::wstring>{
             L"Test-Mode: yes", L"Stage: <time> | 0% | Restoring your data...", L"Stage: <time> | 71% | Finishing the restore...",
          L"End: <time> | result 0 | " + std::wstring(kDone) + L" | elapsed <elapsed>"}) {
        EXPECT_NE(std::find(masked.begin(), masked.end(), expected), masked.end())
            << testing::PrintToString(expected) << " in " << testing::PrintToString(masked);
    }
}

}  // namespace
