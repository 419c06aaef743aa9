// The answer file as a technician uses it, with a catalog and answer files of the test's
// own: a partition restore that runs to its end without a click, a file whose target
// differs from this computer (the wizard stops on the step and goes on by hand), one that
// leaves the start to the person, a protected backup whose password is still asked, and
// a file that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Automation.h"
#include "DestinationComputer.h"
#include "E2eSupport.h"
#include "JournalledWizard.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {

constexpr std::uint64_t kOlderBackup = 134353512000000000ull;   // 2026-10-01 18:00:00 UTC
constexpr std::uint64_t kNewerBackup = 134359560000000000ull;   // 2026-10-08 18:00:00 UTC

const wchar_t kDone[] = L"The restore has finished successfully. The program closes when you click OK.";

// This computer as the destination tests see it; project 7 "Documents" on C: (a fixed
// disk, which choose mode lists) holds disk 0
// with its partition 1 "Data" (20 GB), backed up twice. `password` protects it.
std::string Catalog(const std::string& password = "", const std::string& location = "C:\\\\Backups")
{
    return R"({"thisComputer": )" + std::string(palto::test::kDestinationComputer) + R"(,
      "projects": [
        {"id": 3, "description": "Office PC", "location": "G:\\Office", "layout": {"entireComputer": true, "disks": [
          {"number": 0, "size": 42949672960, "selected": true}]}, "history": [{"time": "2026-09-01T08:00:00Z"}]},
        {"id": 7, "description": "Documents", "location": ")" + location + R"(",)" +
           (password.empty() ? std::string() : R"( "password": ")" + password + R"(",)") +
           R"( "layout": {"disks": [{"number": 0, "size": 53687091200, "selected": true, "partitions": [
            {"number": 1, "label": "Data", "size": 21474836480, "selected": true}]}]},
          "history": [{"time": "2026-10-01T18:00:00Z"}, {"time": "2026-10-08T18:00:00Z"}]}],
      "restore": {"stages": [{"phase": 6, "firstStage": true, "ms": 200}, {"phase": 9, "ms": 200}]}})";
}

// The date of a FILETIME as the wizard shows it, in this prefix's time zone (converted by
// the system, as the wizard has it converted).
std::string LocalDate(std::uint64_t fileTime)
{
    const FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME utcFields{}, local{};
    ::FileTimeToSystemTime(&utc, &utcFields);
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utcFields, &local);
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute, local.wSecond);
    return text;
}

// The older backup of "Documents", partition 1 of its disk 0 onto partition 1 of this
// computer's disk 3 (45 GB, no label); `extra` adds or replaces lines.
std::string PartitionAnswers(const std::string& start, const std::string& label = "")
{
    return "; the office's documents partition\r\n[Restore]\r\nType=partition\r\nBackup=Documents\r\nDate=" +
           LocalDate(kOlderBackup) + "\r\nSource=0:1\r\nTarget=3:1\r\nTargetSize=48318382080\r\nTargetLabel=" + label +
           "\r\nStart=" + start + "\r\n";
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

class AnswerFile : public JournalledWizard {
protected:
    AnswerFile() : JournalledWizard(L"palto-e2e-answers")
    {
        answersPath = journalPath.substr(0, journalPath.size() - 6) + L".ini";
    }
    // The wizard started with the answer file `answers`.
    void Start(const std::string& answers, const std::string& catalog = Catalog())
    {
        std::ofstream(answersPath.c_str(), std::ios::binary) << answers;
        Launch(catalog, L"-answers=\"" + answersPath + L"\"");
    }
    void TearDown() override
    {
        JournalledWizard::TearDown();
        ::DeleteFileW(answersPath.c_str());
    }

    HWND Caption() const { return FindControl(wizard, IDC_STEP_CAPTION); }
    std::wstring Summary(int control) const
    {
        return TextOf(FindControl(::GetParent(FindControl(wizard, IDC_SUMMARY_HEADING)), control));
    }
    // Partition marks of this computer's layout in the restore order: "disk:partition ...".
    static std::string TargetMarks(const nlohmann::json& layout)
    {
        std::string marks;
        for (const auto& disk : layout["disks"]) {
            if (disk["selected"] == 1) marks += std::to_string(disk["number"].get<unsigned>()) + " ";
            for (const auto& partition : disk["partitions"])
                if (partition["selected"] == 1)
                    marks += std::to_string(disk["number"].get<unsigned>()) + ":" +
                             std::to_string(partition["number"].get<unsigned>()) + " ";
        }
        return marks;
    }
    // The walk's pauses are a fraction of this: longer than it, a walk that went on
    // would have left the summary.
    static void WaitLongerThanTheWalk() { ::Sleep(1500); }

    std::wstring answersPath;
};

TEST_F(AnswerFile, APartitionRestoreWithStartNowRunsToItsEndWithoutAClick)
{
    const std::vector<std::wstring> reportsBefore = ReportsIn(BinFolder());
    Start(PartitionAnswers("now"));
    ASSERT_TRUE(WaitForTopWindow(id(), MatchSelector(L"progress"), kWait)) << "the restore did not start";
    // The end box closes by itself after a few seconds; then the program ends.
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);

    // The report says that the file chose the restore, with every key and value.
    std::vector<std::wstring> reports = ReportsIn(BinFolder());
    std::erase_if(reports, [&](const std::wstring& r) { return std::ranges::count(reportsBefore, r) > 0; });
    ASSERT_EQ(reports.size(), 1u) << "one new report";
    const std::wstring report = FromUtf8(FileBytes(reports[0]));
    for (const std::wstring& line : {L"Answer-File: " + answersPath + L" | chose this restore", std::wstring(L"Answer: Type=partition"),
                                     std::wstring(L"Answer: Backup=Documents"), L"Answer: Date=" + Wide(LocalDate(kOlderBackup)),
                                     std::wstring(L"Answer: Source=0:1"), std::wstring(L"Answer: Target=3:1"),
                                     std::wstring(L"Answer: TargetSize=48318382080"), std::wstring(L"Answer: TargetLabel="),
                                     std::wstring(L"Answer: Start=now")}) {
        EXPECT_NE(report.find(L"\r\n" + line + L"\r\n"), std::wstring::npos) << testing::PrintToString(line);
    }

    const auto orders = Journal("ProjectRestoreCtrl");
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0]["projectId"], 7);
    EXPECT_EQ(orders[0]["archiveId"], kOlderBackup) << "the date the file names, not the newest";
    EXPECT_EQ(TargetMarks(orders[0]["layout"]), "3:1 ");
    EXPECT_EQ(orders[0]["result"], 0);
}

TEST_F(AnswerFile, AWrongTargetLabelStopsOnStep3AndNextThenWorksByHand)
{
    Start(PartitionAnswers("now", "Data"));
    HWND box = WaitForTopWindow(id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(TextOf(Caption()), L"Step 3 of 4");
    EXPECT_EQ(MessageBoxText(box), L"The answer file asks for TargetLabel=Data, but the target has no label.\n\n"
                                   L"The wizard stays on this step: check the choice and go on by hand.");
    EXPECT_EQ(TextOf(FindControl(wizard, IDC_DST_TARGET)), L"Disk 3, partition 1: (no label) (45.0 GB)")
        << "the target the file names is shown";
    Click(FindControl(box, IDOK));
    ASSERT_TRUE(WaitUntilGone(id(), MatchSelector(L"box"), kWait));

    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(Caption(), L"Step 4 of 4", kWait));
    EXPECT_EQ(Summary(IDC_SUMMARY_DESTINATION), L"Disk 3, partition 1");
    WaitLongerThanTheWalk();
    EXPECT_FALSE(FindTopWindow(id(), MatchSelector(L"progress"))) << "the person starts the restore";
    EXPECT_TRUE(Journal("ProjectRestoreCtrl").empty());
}

TEST_F(AnswerFile, StartAskWaitsOnTheSummaryForThePersonsNext)
{
    Start(PartitionAnswers("ask"));
    ASSERT_TRUE(WaitForText(Caption(), L"Step 4 of 4", kWait));
    EXPECT_EQ(Summary(IDC_SUMMARY_TYPE), L"Partition");
    EXPECT_EQ(Summary(IDC_SUMMARY_BACKUP), L"Documents : [" + Wide(LocalDate(kOlderBackup)) + L"]");
    EXPECT_EQ(Summary(IDC_SUMMARY_DESTINATION), L"Disk 3, partition 1");
    WaitLongerThanTheWalk();
    EXPECT_FALSE(FindTopWindow(id(), MatchSelector(L"progress")));
    EXPECT_FALSE(FindTopWindow(id(), MatchSelector(L"box")));
    EXPECT_EQ(Journal("ProjectRestoreCtrl").size(), 0u);

    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForTopWindow(id(), MatchSelector(L"progress"), kWait));
    EXPECT_EQ(MaskReportName(AnswerBox(id(), IDOK)), WithReportIn(kDone, BinFolder())) << "a restore the person started waits for OK";
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
}

// Choose mode lists only backups on fixed disks and discs; one on a drive of another kind
// (here E:, which this prefix does not have) is chosen in the list of latest mode.
TEST_F(AnswerFile, AnOlderBackupOnAnotherKindOfDriveIsChosenInLatestModesList)
{
    Start(PartitionAnswers("ask"), Catalog("", "E:\\\\Backups"));
    ASSERT_TRUE(WaitForText(Caption(), L"Step 4 of 4", kWait)) << "the walk stopped";
    EXPECT_EQ(Summary(IDC_SUMMARY_BACKUP), L"Documents : [" + Wide(LocalDate(kOlderBackup)) + L"]");
    EXPECT_FALSE(FindTopWindow(id(), MatchSelector(L"box")));
}

TEST_F(AnswerFile, TheBackupsPasswordIsStillAskedOfThePerson)
{
    Start(PartitionAnswers("now"), Catalog("Tide-42"));
    HWND dialog = WaitForTopWindow(id(), MatchSelector(L"password"), kWait);
    ASSERT_TRUE(dialog) << "the password dialog was not shown";
    EXPECT_TRUE(Journal("ProjectRestoreCtrl").empty());
    ::SendMessageW(FindControl(dialog, IDC_PASSWORD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Tide-42"));
    Click(FindControl(dialog, IDOK));
    ASSERT_TRUE(WaitForTopWindow(id(), MatchSelector(L"progress"), kWait));
    EXPECT_EQ(run->process().WaitForExit(kWait), 0u);
    EXPECT_EQ(Journal("ProjectRestoreCtrl").size(), 1u);
}

TEST_F(AnswerFile, AnUnknownKeySaysSoAndTheWizardStartsOnStep1)
{
    Start("[Restore]\r\nType=partition\r\nBackup=Documents\r\nColour=blue\r\nSource=0:1\r\nTarget=3:1\r\nStart=now\r\n");
    HWND box = WaitForTopWindow(id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box) << "no message";
    EXPECT_EQ(MessageBoxText(box), L"The answer file " + answersPath +
                                       L" cannot be used: Colour is not a key of an answer file.\n\n"
                                       L"The wizard starts without it.");
    EXPECT_EQ(TextOf(Caption()), L"Step 1 of 4");
    Click(FindControl(box, IDOK));
    ASSERT_TRUE(WaitUntilGone(id(), MatchSelector(L"box"), kWait));
    WaitLongerThanTheWalk();
    EXPECT_EQ(TextOf(Caption()), L"Step 1 of 4") << "nothing of the file is used";
    EXPECT_TRUE(Journal("QueryProjects").empty());
}

TEST_F(AnswerFile, AMissingFileSaysSo)
{
    Launch(Catalog(), L"/ANSWERS=" + answersPath + L".gone");
    EXPECT_EQ(AnswerBox(id(), IDOK), L"The answer file " + answersPath +
                                         L".gone cannot be used: it does not exist or cannot be read.\n\n"
                                         L"The wizard starts without it.");
    EXPECT_EQ(TextOf(Caption()), L"Step 1 of 4");
}

}  // namespace
