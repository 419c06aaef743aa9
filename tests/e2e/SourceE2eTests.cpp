// The backup step as a user meets it, with a catalog of the test's own: the newest
// backup picked by itself, a backup without a date refused, and a backup whose disc is
// missing asked for before the wizard moves on.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


std::string Project(int id, const std::string& description, const std::string& history,
                    const std::string& extra = "")
{
    return "{\"id\":" + std::to_string(id) + ",\"description\":\"" + description +
           "\",\"location\":\"C:\\\\Backups\\\\" + std::to_string(id) + "\"" + extra +
           ",\"layout\":{\"disks\":[{\"number\":0,\"size\":512110190592,\"partitions\":[{\"number\":1,"
           "\"driveLetter\":\"C\",\"size\":322122547200,\"selected\":true}]}]},\"history\":[" + history + "]}";
}

class SourceStep : public testing::Test {
protected:
    // Starts the wizard with `projects` (JSON objects) and `faults` (a JSON list) as its
    // catalog and goes to the backup step of a partition restore.
    void Start(const std::string& projects, const std::string& faults = "[]")
    {
        run.emplace("{\"thisComputer\":{\"disks\":[{\"number\":0,\"size\":512110190592}]},\"projects\":[" +
                    projects + "],\"faults\":" + faults + "}");
        wizard = run->wizard();
        ASSERT_TRUE(wizard);
        Click(FindControl(wizard, IDC_TYPE_PARTITION));
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 2 of 4", kWait));
    }
    void TearDown() override
    {
        if (wizard) {
            EXPECT_EQ(run->Cancel(), 0u);
        }
    }
    std::wstring Text(int id) { return TextOf(FindControl(wizard, id)); }

    std::optional<CatalogRun> run;
    HWND wizard = nullptr;
};

TEST_F(SourceStep, TheNewestBackupIsPickedAndNextShowsItOnStepThree)
{
    Start(Project(1, "Older", "{\"time\":\"2026-10-05T19:00:00Z\"}") + "," +
          Project(2, "Newer", "{\"time\":\"2026-10-01T19:00:00Z\"},{\"time\":\"2026-11-16T20:00:00Z\"}") + "," +
          Project(3, "Undated", "{\"time\":0}"));
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Newer");
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 3 of 4", kWait));
    EXPECT_EQ(Text(IDC_STEP2_CHOICE), L"Newer");
}

TEST_F(SourceStep, AProjectTheEngineCannotDescribeHidesNoOther)
{
    // The second of four projects cannot be described; the newest backup is the fourth's.
    Start(Project(1, "First", "{\"time\":\"2026-10-05T19:00:00Z\"}") + "," +
              Project(2, "Second", "{\"time\":\"2026-12-24T10:00:00Z\"}") + "," +
              Project(3, "Third", "{\"time\":\"2026-10-31T17:10:00Z\"}") + "," +
              Project(4, "Fourth", "{\"time\":\"2026-11-16T20:00:00Z\"}"),
          R"([{"operation": "QueryProject", "call": 2, "code": -1000100}])");
    HWND projects = FindControl(wizard, IDC_SRC_PROJECT);
    EXPECT_EQ(::SendMessageW(projects, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(IDC_SRC_PROJECT), L"Fourth");

    Click(FindControl(wizard, IDC_SRC_CHOOSE));   // described again: now all four
    ASSERT_TRUE(WaitForText(projects, L"First", kWait));
    EXPECT_EQ(::SendMessageW(projects, CB_GETCOUNT, 0, 0), 4);
    Click(FindControl(wizard, IDC_NEXT));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 3 of 4", kWait));
    EXPECT_EQ(Text(IDC_STEP2_CHOICE), L"First");
    // A box shown on the way would still be open: nobody answered one.
    EXPECT_FALSE(FindTopWindow(run->process().id(), MatchSelector(L"box"))) << "nothing to say: three were listed";
}

TEST_F(SourceStep, ABackupWithoutADateIsRefused)
{
    Start(Project(1, "Dated", "{\"time\":\"2026-11-16T20:00:00Z\"}") + "," + Project(2, "Undated", "{\"time\":0}"));
    Click(FindControl(wizard, IDC_SRC_CHOOSE));
    HWND projects = FindControl(wizard, IDC_SRC_PROJECT);
    ASSERT_TRUE(WaitForText(projects, L"Dated", kWait));
    PressKey(projects, VK_DOWN);
    ASSERT_TRUE(WaitForText(projects, L"Undated", kWait));
    Click(FindControl(wizard, IDC_NEXT));
    HWND box = WaitForTopWindow(run->process().id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), L"Choose a backup and one of its backup dates first.");
    Click(FindControl(box, IDOK));
    ASSERT_TRUE(WaitUntilGone(run->process().id(), MatchSelector(L"box"), kWait));
    EXPECT_EQ(Text(IDC_STEP_CAPTION), L"Step 2 of 4");
}

TEST_F(SourceStep, AMissingDiscIsAskedForAndOkMovesOn)
{
    Start(Project(1, "Photos on DVD", "{\"time\":\"2026-11-16T20:00:00Z\"}", ",\"archiveMedia\":{\"part\":2}"));
    Click(FindControl(wizard, IDC_NEXT));
    HWND box = WaitForTopWindow(run->process().id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    const std::wstring prompt = MessageBoxText(box);
    EXPECT_EQ(prompt.rfind(L"Insert disc 2 of the backup made on 2026-11-", 0), 0u) << prompt.c_str();
    EXPECT_NE(prompt.find(L" into drive C: and click OK."), std::wstring::npos) << prompt.c_str();
    EXPECT_FALSE(::IsWindowEnabled(wizard)) << "the wizard waits for the answer";
    Click(FindControl(box, IDOK));
    ASSERT_TRUE(WaitForText(FindControl(wizard, IDC_STEP_CAPTION), L"Step 3 of 4", kWait));
    EXPECT_EQ(Text(IDC_STEP2_CHOICE), L"Photos on DVD");
    EXPECT_TRUE(::IsWindowEnabled(wizard));
}

}  // namespace
