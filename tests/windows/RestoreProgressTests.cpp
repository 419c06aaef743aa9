// The restore progress page run modally against the stand-in engine: real restores from
// catalogs of the tests' own, the boxes answered by script, the engine's journal read
// back afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "TestWizard.h"
#include "app/EngineClient.h"
#include "app/ResourceModule.h"
#include "frame/PaltoDlg.h"
#include "frame/PasswordDlg.h"
#include "frame/WizardMessages.h"
#include "resources/ids.h"
#include "restore/RestoreNotifications.h"
#include "restore/RestoreProgress.h"
#include "tests/ReportName.h"

namespace palto::test {
namespace {

const std::wstring kDone = L"The restore has finished successfully. The program closes when you click OK.";
const std::wstring kNotFinished =
    L"The restore did not finish. The destination may be incomplete: restore it again before you use it.";
const std::wstring kReallyCancel = L"Do you really want to cancel?";

constexpr const char* kQuickStages = R"([{"phase": 6, "firstStage": true, "ms": 300}, {"phase": 3, "firstStage": true, "ms": 300},
                                         {"phase": 7, "ms": 300}, {"phase": 9, "ms": 300}])";
constexpr const char* kLastStageForAMinute = R"([{"phase": 9, "ms": 60000}])";

// A box as the user saw it, with the page behind it at that moment.
struct Box {
    std::wstring text;
    UINT style = 0;
    std::wstring stage, percent, time;
    int bar = 0;
    bool polling = false;
    DWORD thread = 0;
};

// Answers the page's boxes (IDOK unless told otherwise) and remembers each. Media
// prompts come on the engine's thread.
class PageBoxes {
public:
    using Answer = std::function<int(const Box&)>;
    explicit PageBoxes(Answer answer = {}) : m_answer(std::move(answer))
    {
        SetMessageHandler([this](HWND owner, const CString& text, UINT style) {
            Box box{MaskReportName(text.str()), style};
            box.stage = CWnd::TextOf(::GetDlgItem(owner, IDC_PROGRESS_STAGE)).str();
            box.percent = CWnd::TextOf(::GetDlgItem(owner, IDC_PROGRESS_PERCENT)).str();
            box.time = CWnd::TextOf(::GetDlgItem(owner, IDC_PROGRESS_TIME)).str();
            box.bar = static_cast<int>(::SendDlgItemMessageW(owner, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
            const auto* page = dynamic_cast<CRestoreProgress*>(CWnd::FromHandlePermanent(owner));
            box.polling = page && page->Polling();
            box.thread = ::GetCurrentThreadId();
            const int answer = m_answer ? m_answer(box) : IDOK;
            std::lock_guard lock(m_lock);
            m_boxes.push_back(box);
            return answer;
        });
    }
    ~PageBoxes() { SetMessageHandler({}); }
    PageBoxes(const PageBoxes&) = delete;
    PageBoxes& operator=(const PageBoxes&) = delete;

    std::vector<Box> boxes() const
    {
        std::lock_guard lock(m_lock);
        return m_boxes;
    }
    std::vector<std::wstring> texts() const
    {
        std::vector<std::wstring> texts;
        for (const Box& box : boxes()) texts.push_back(box.text);
        return texts;
    }

private:
    Answer m_answer;
    mutable std::mutex m_lock;
    std::vector<Box> m_boxes;
};

// Yes to every question, OK to everything else.
int AgreeToAll(const Box& box)
{
    return box.style == MB_YESNO ? IDYES : IDOK;
}

std::wstring Text(const CRestoreProgress& page, int id)
{
    return CWnd::TextOf(page.GetDlgItem(id)).str();
}

// Catalog text with injected engine faults.
std::string WithFaults(const std::string& catalog, const std::string& faults)
{
    auto json = nlohmann::json::parse(catalog);
    json["faults"] = nlohmann::json::parse(faults);
    return json.dump();
}

class RestoreProgressPage : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LoadEnglishResources();
        ::InitCommonControls();
    }

    void TearDown() override
    {
        HalvexSimReset();   // stops a task still running
        EXPECT_EQ(HalvexSimOutstandingAllocations(), 0u);
    }

    void Choose() { ASSERT_TRUE(ChooseRestore(*context)); }

    // Runs the page until it ends the application: true when the quit message ended it,
    // which is then taken out of the queue again.
    bool Run(CRestoreProgress& page)
    {
        Deadline deadline(20000);
        EXPECT_EQ(page.DoModal(), -1);
        MSG msg{};
        const bool quit = ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 0;
        EXPECT_FALSE(Deadline::Expired()) << "the page did not end in time";
        return quit;
    }

    static bool Showing(const CRestoreProgress& page) { return !Text(page, IDC_PROGRESS_PERCENT).empty(); }

    ScopedContext context;
    Script script;
};

bool IsRestoreInfoEmpty(const _ProjectRestoreInfo& info)
{
    return !info.projectDesc && !info.thisComputer && !info.historyList;
}

TEST_F(RestoreProgressPage, RunsToItsSuccessfulEndAndTheQuitEndsEveryLoop)
{
    SimEngine sim(RestoreCatalog(kQuickStages));
    Choose();
    PageBoxes boxes;

    CPaltoDlg main;
    INT_PTR inner = 0;
    RunSoon([&] {
        CRestoreProgress page(*context, &main);
        inner = page.DoModal();
    });
    Deadline deadline(20000);
    EXPECT_EQ(main.DoModal(), -1);
    EXPECT_EQ(inner, -1);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    ASSERT_FALSE(Deadline::Expired());

    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kDone);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(shown[0].percent, L"100%");
    EXPECT_EQ(shown[0].bar, 100);
    EXPECT_TRUE(std::regex_match(shown[0].time, std::wregex(LR"(Time elapsed: 0:00:0\d      Time remaining: 0:00:00)")))
        << std::string(shown[0].time.begin(), shown[0].time.end());
    EXPECT_FALSE(shown[0].polling);

    const auto order = sim.Journal("ProjectRestoreCtrl");
    ASSERT_EQ(order.size(), 1u);
    EXPECT_EQ(order[0]["archiveId"], kRestoreArchive);
    EXPECT_EQ(order[0]["baseEntryTime"], kRestoreArchive);
    EXPECT_EQ(order[0]["layout"]["disks"][0]["partitions"][0]["selected"], 1);
    EXPECT_EQ(order[0]["result"], 0);
    EXPECT_EQ(sim.Journal("FreeProjectRestoreInfo").size(), 1u);
    EXPECT_TRUE(IsRestoreInfoEmpty(context->restoreInfo));

    // Registered for the restore, and withdrawn once the page had gone.
    std::vector<std::pair<int, bool>> registrations;
    for (const auto& line : sim.Journal("SetNotifyFunction")) registrations.emplace_back(line["id"], line["function"]);
    EXPECT_EQ(registrations, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {3, true},
                                                                {1, false}, {2, false}, {3, false}}));
}

TEST_F(RestoreProgressPage, ShowsTheOverallValueTheStageAndTheTimes)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    PageBoxes boxes(AgreeToAll);
    CRestoreProgress page(*context);
    std::wstring stage, percent, time;
    int bar = 0;
    script.When([&] { return Showing(page); }, [&] {
        stage = Text(page, IDC_PROGRESS_STAGE);
        percent = Text(page, IDC_PROGRESS_PERCENT);
        time = Text(page, IDC_PROGRESS_TIME);
        bar = page.m_hWnd ? static_cast<int>(::SendDlgItemMessageW(page, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0)) : 0;
        page.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    });
    EXPECT_TRUE(Run(page));

    EXPECT_EQ(stage, L"Finishing the restore...");
    EXPECT_TRUE(percent == L"80%" || percent == L"81%") << std::string(percent.begin(), percent.end());
    EXPECT_TRUE(bar == 80 || bar == 81);
    EXPECT_TRUE(std::regex_match(time, std::wregex(LR"(Time elapsed: 0:00:0\d      Time remaining: 0:00:0\d)")))
        << std::string(time.begin(), time.end());
}

// The three ways to cancel: each asks first; No leaves the restore running, Yes stops it.
struct CancelWay {
    const char* name;
    std::function<void(CRestoreProgress&)> ask;
};

void PrintTo(const CancelWay& way, std::ostream* out)
{
    *out << way.name;
}

class CancelRestore : public RestoreProgressPage, public testing::WithParamInterface<CancelWay> {};

TEST_P(CancelRestore, AsksAndStopsTheRestoreOnlyOnYes)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    int questions = 0;
    PageBoxes boxes([&](const Box& box) { return box.style == MB_YESNO && ++questions == 1 ? IDNO : AgreeToAll(box); });
    CRestoreProgress page(*context);
    std::wstring timeAtNo;
    script.When([&] { return Showing(page); }, [&] {
        GetParam().ask(page);
        timeAtNo = Text(page, IDC_PROGRESS_TIME);
        // The time text moves on: the page still polls after No.
        script.When([&] { return Text(page, IDC_PROGRESS_TIME) != timeAtNo; }, [&] { GetParam().ask(page); });
    });
    EXPECT_TRUE(Run(page));

    const auto texts = boxes.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], kReallyCancel);
    EXPECT_EQ(texts[1], kReallyCancel);
    for (std::size_t i = 2; i < texts.size(); ++i) EXPECT_EQ(texts[i], kNotFinished);
    const auto stops = sim.Journal("TaskControl");
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0]["command"], kTaskCommandStop);
    EXPECT_EQ(stops[0]["projectId"], kRestoreProject);
    EXPECT_EQ(stops[0]["result"], 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelRestore, testing::Values(
    CancelWay{"EscapeKey", [](CRestoreProgress& page) {
        MSG key{page, WM_KEYDOWN, VK_ESCAPE, 0};
        CWnd::WalkPreTranslateTree(&key);
    }},
    CancelWay{"CloseCommand", [](CRestoreProgress& page) { page.SendMessage(WM_SYSCOMMAND, SC_CLOSE); }},
    CancelWay{"CancelButton", [](CRestoreProgress& page) { ::SendMessageW(page.GetDlgItem(IDCANCEL), BM_CLICK, 0, 0); }}),
    [](const auto& info) { return info.param.name; });

TEST_F(RestoreProgressPage, MinimizeAndEnterLeaveTheRestoreRunning)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    PageBoxes boxes(AgreeToAll);
    CRestoreProgress page(*context);
    bool minimized = false, restored = false, pollingAfterEnter = false;
    script.When([&] { return Showing(page); }, [&] {
        page.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        minimized = ::IsIconic(page) != FALSE;
        page.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        restored = ::IsIconic(page) == FALSE;
        page.SendMessage(WM_COMMAND, IDOK);
        pollingAfterEnter = page.Polling() && ::IsWindowVisible(page);
        page.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    });
    EXPECT_TRUE(Run(page));
    EXPECT_TRUE(minimized);
    EXPECT_TRUE(restored);
    EXPECT_TRUE(pollingAfterEnter);
    EXPECT_EQ(boxes.texts().at(0), kReallyCancel);   // Enter asked nothing; the close command did
}

TEST_F(RestoreProgressPage, ATaskThatFailsSaysTheRestoreDidNotFinish)
{
    SimEngine sim(RestoreCatalog(kQuickStages, "[]", halvex::kTargetWriteFailed));
    Choose();
    PageBoxes boxes;
    CRestoreProgress page(*context);
    EXPECT_TRUE(Run(page));
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kNotFinished);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OK));
    EXPECT_NE(shown[0].percent, L"100%");
    EXPECT_EQ(sim.Journal("FreeProjectRestoreInfo").size(), 1u);
}

// A restore that cannot start shows why, warns, and ends.
struct StartFailure {
    const char* name;
    std::string faults;
    bool chosen;            // the destination pages filled the context
    bool noBase;            // every backup up to the archive is marked as no base
    std::wstring text;
    std::size_t orders;     // ProjectRestoreCtrl calls the engine received
    std::size_t frees;      // FreeProjectRestoreInfo calls
};

void PrintTo(const StartFailure& c, std::ostream* out)
{
    *out << c.name;
}

class RestoreCannotStart : public RestoreProgressPage, public testing::WithParamInterface<StartFailure> {};

TEST_P(RestoreCannotStart, ShowsTheEngineTextAndEnds)
{
    const StartFailure& c = GetParam();
    SimEngine sim(WithFaults(RestoreCatalog(kQuickStages), c.faults));
    if (c.chosen) Choose();
    if (c.noBase) {
        for (int i = 0; i < 2; ++i) context->restoreInfo.historyList->entries[i].notBase = 1;
    }
    PageBoxes boxes;
    CRestoreProgress page(*context);
    EXPECT_TRUE(Run(page));

    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, c.text);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(sim.Journal("ProjectRestoreCtrl").size(), c.orders);
    EXPECT_EQ(sim.Journal("FreeProjectRestoreInfo").size(), c.frees);
    EXPECT_TRUE(sim.Journal("GetTaskProgInfo").empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RestoreCannotStart, testing::Values(
    StartFailure{"NoBaseBackup", "[]", true, true,
                 L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again.", 0, 1},
    StartFailure{"EngineRefusesTheOrder", R"([{"operation": "ProjectRestoreCtrl", "call": 1, "code": -1000112}])", true,
                 false, L"Another restore is already running. Wait until it has ended, then try again.", 1, 1},
    StartFailure{"NothingChosen", "[]", false, false,
                 L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again.", 0, 0}),
    [](const auto& info) { return info.param.name; });

// The launch from the last step, with records a faulty engine may hand out: a backup
// whose description carries a null or an empty protected password has none, so the
// restore starts without asking; a history list the engine overstates or leaves out
// gives the restore order no base outside the list.
struct LaunchCase {
    const char* name;
    const char* project;        // keys that replace those of the catalog's project
    bool asked;                 // whether the password dialog came (it is then cancelled)
    std::vector<std::wstring> boxes;
    std::vector<int> orders;    // the results of ProjectRestoreCtrl
};

void PrintTo(const LaunchCase& c, std::ostream* out)
{
    *out << c.name;
}

// The password dialog while it is shown on this thread, else null.
HWND PasswordDialog()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
            if (!::IsWindowVisible(window) || !dynamic_cast<CPasswordDlg*>(CWnd::FromHandlePermanent(window))) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class Launch : public RestoreProgressPage, public testing::WithParamInterface<LaunchCase> {};

TEST_P(Launch, AsksForThePasswordTheRecordCarriesAndStartsTheRestore)
{
    const LaunchCase& c = GetParam();
    nlohmann::json catalog = nlohmann::json::parse(RestoreCatalog(kQuickStages));
    catalog["projects"][0].update(nlohmann::json::parse(c.project));
    SimEngine sim(catalog.dump());
    Choose();
    PageBoxes boxes;
    TestWizard wizard;

    bool asked = false;
    script.When([] { return PasswordDialog() != nullptr; }, [&] {
        asked = true;
        ::PostMessageW(PasswordDialog(), WM_COMMAND, IDCANCEL, 0);
        script.When([&] { return wizard.IsWindowEnabled() != FALSE; }, [] { ::PostQuitMessage(0); });
    });
    RunSoon([&] {
        wizard.m_nStep = 4;
        wizard.Command(IDC_NEXT);
    });
    Deadline deadline(20000);
    wizard.DoModal();
    MSG msg{};
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    ASSERT_FALSE(Deadline::Expired()) << "the wizard did not end in time";

    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(boxes.texts(), c.boxes);
    std::vector<int> orders;
    for (const auto& line : sim.Journal("ProjectRestoreCtrl")) orders.push_back(line["result"]);
    EXPECT_EQ(orders, c.orders);
    EXPECT_EQ(sim.Journal("QueryArchiveProject").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Records, Launch, testing::Values(
    LaunchCase{"StoredPassword", R"({"password": "harbour7"})", true, {}, {}},
    LaunchCase{"NullProtectedPassword", R"({"password": "harbour7", "hostile": {"encryptedPassword": null}})", false,
               {WithReportIn(kDone, ProgramFolder())}, {0}},
    LaunchCase{"EmptyProtectedPassword", R"({"password": "harbour7", "hostile": {"encryptedPassword": ""}})", false,
               {WithReportIn(kDone, ProgramFolder())}, {0}},
    // The base lies inside the list; the engine itself refuses a list it overstated.
    LaunchCase{"HistoryCountFarAboveItsList", R"({"hostile": {"historyCount": 2147483647}})", false,
               {L"The backup engine received a request it cannot carry out. Go back one step and try again. "
                L"If this keeps happening, restart the computer from the recovery medium."}, {-1000005}},
    LaunchCase{"NullHistoryList", R"({"hostile": {"nullPointers": ["historyList"]}})", false,
               {L"The medium of this backup, or of a backup it is based on, is not available. Insert the medium or connect the drive that holds it, then try again."}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Engine messages the restore goes on after: the question answered Yes, and warnings.
struct GoingOn {
    const char* name;
    std::int32_t code;
    UINT style;
    std::wstring text;
    int answer;   // what the engine reads
};

void PrintTo(const GoingOn& c, std::ostream* out)
{
    *out << c.name;
}

class EngineMessage : public RestoreProgressPage, public testing::WithParamInterface<GoingOn> {};

TEST_P(EngineMessage, IsShownAndTheRestoreGoesOnToItsEnd)
{
    const GoingOn& c = GetParam();
    SimEngine sim(RestoreCatalog(kQuickStages, R"([{"stage": 1, "percent": 10, "message": {"code": )" +
                                                   std::to_string(c.code) + R"(, "param": 3}}])"));
    Choose();
    PageBoxes boxes(AgreeToAll);
    CRestoreProgress page(*context);
    EXPECT_TRUE(Run(page));

    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, c.text);
    EXPECT_EQ(shown[0].style, c.style);
    EXPECT_EQ(shown[1].text, kDone);
    EXPECT_EQ(sim.Journal("EngineMessage").at(0)["answer"], c.answer);
    EXPECT_TRUE(sim.Journal("TaskControl").empty());
}

INSTANTIATE_TEST_SUITE_P(Messages, EngineMessage, testing::Values(
    GoingOn{"QuestionAnsweredYes", halvex::kAskGoOn, MB_YESNO,
            L"Some data of the backup could not be read. Do you want to continue the restore?", 1},
    GoingOn{"Warning", halvex::kDiskFailure, MB_ICONEXCLAMATION, L"A disk of this computer reported an error. Check the disk and its connection; the disk may need to be replaced.", 0},
    GoingOn{"ReadErrorsStatedNotAsked", halvex::kWarnReadErrors, MB_ICONEXCLAMATION,
            L"Some data of the backup could not be read. The restore goes on, but the restored data may be incomplete.", 0}),
    [](const auto& info) { return info.param.name; });

TEST_F(RestoreProgressPage, QuestionAnsweredNoStopsTheRestore)
{
    SimEngine sim(RestoreCatalog(kQuickStages, R"([{"stage": 1, "percent": 10, "message": {"code": -1000355, "param": 3}}])"));
    Choose();
    PageBoxes boxes([](const Box& box) { return box.style == MB_YESNO ? IDNO : IDOK; });
    CRestoreProgress page(*context);
    EXPECT_TRUE(Run(page));

    const auto texts = boxes.texts();
    ASSERT_GE(texts.size(), 1u);
    EXPECT_EQ(texts[0], L"Some data of the backup could not be read. Do you want to continue the restore?");
    for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(texts[i], kNotFinished);
    // The page ends at once; the engine's thread notes the answer after the page has it.
    const auto messages = sim.JournalOnceWritten("EngineMessage");
    ASSERT_EQ(messages.size(), 1u) << "the engine never noted the answer";
    EXPECT_EQ(messages[0]["answer"], -1);
    ASSERT_EQ(sim.Journal("TaskControl").size(), 1u);
    EXPECT_EQ(sim.Journal("TaskControl")[0]["command"], kTaskCommandStop);
}

TEST_F(RestoreProgressPage, AnEndArrivingAfterNoSaysTheRestoreDidNotFinish)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    PageBoxes boxes([](const Box& box) { return box.style == MB_YESNO ? IDNO : IDOK; });
    CRestoreProgress page(*context);
    LRESULT answer = 0;
    script.When([&] { return Showing(page); }, [&] {
        answer = page.SendMessage(WM_ENGINE_MESSAGE, static_cast<WPARAM>(halvex::kAskGoOn));
        page.SendMessage(WM_RESTORE_END, 0, 0);   // a stopped task that reports success
    });
    EXPECT_TRUE(Run(page));
    EXPECT_EQ(answer, -1);
    EXPECT_EQ(boxes.texts().at(1), kNotFinished);
    EXPECT_EQ(boxes.texts().size(), 2u);
}

// The engine's end reaching the page before its worker's report: the report is held
// back and handed over while the end box is up, as the box's own message loop would.
class EndBeforeWorkerReport : public CRestoreProgress {
public:
    using CRestoreProgress::CRestoreProgress;

    bool ReportHeld() const { return m_heldReport.has_value(); }
    void HandOverReport()
    {
        const WPARAM report = *m_heldReport;
        m_handedOver = true;
        SendMessage(WM_RESTORE_WORKER_DONE, report);
    }

protected:
    BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_RESTORE_WORKER_DONE && !m_handedOver) {
            m_heldReport = wParam;
            PostMessage(WM_RESTORE_END, 0, 0);
            result = 0;
            return TRUE;
        }
        return CRestoreProgress::ProcessWindowMessage(message, wParam, lParam, result);
    }

private:
    std::optional<WPARAM> m_heldReport;
    bool m_handedOver = false;
};

TEST_F(RestoreProgressPage, TheWorkersReportBehindTheEndBoxStartsNoPolling)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    EndBeforeWorkerReport page(*context);
    bool reportHandled = false, pollingBehindTheBox = true;
    PageBoxes boxes([&](const Box& box) {
        if (box.text == kDone && page.ReportHeld()) {
            page.HandOverReport();
            reportHandled = true;
            pollingBehindTheBox = page.Polling();
        }
        return IDOK;
    });
    EXPECT_TRUE(Run(page));   // the quit comes only once the worker's report is in

    ASSERT_TRUE(reportHandled) << "the end box was not shown while the worker's report was held";
    EXPECT_EQ(sim.Journal("ProjectRestoreCtrl").at(0)["result"], 0);   // the report said: started
    EXPECT_FALSE(pollingBehindTheBox);
    EXPECT_FALSE(page.Polling());
    EXPECT_EQ(sim.Journal("GetTaskProgInfo").size(), 0u);
    EXPECT_EQ(boxes.texts(), std::vector<std::wstring>{kDone});
}

// A media request is asked on the engine's thread while the page stops polling.
struct MediaAnswer {
    const char* name;
    int button;
    int answer;                // what the engine reads
    std::wstring end;
};

void PrintTo(const MediaAnswer& c, std::ostream* out)
{
    *out << c.name;
}

class MediaRequest : public RestoreProgressPage, public testing::WithParamInterface<MediaAnswer> {};

TEST_P(MediaRequest, AsksForTheDiscWithoutPollingAndPassesTheAnswerOn)
{
    SimEngine sim(RestoreCatalog(R"([{"phase": 6, "firstStage": true, "ms": 2000}, {"phase": 9, "ms": 300}])",
                                 R"([{"stage": 0, "percent": 50, "mediaRequest": {"part": 2, "drive": "F"}}])"));
    Choose();
    PageBoxes boxes([](const Box& box) { return box.style == MB_OKCANCEL ? GetParam().button : IDOK; });
    CRestoreProgress page(*context);
    bool pollingAgain = false;
    script.When([&] { return !boxes.boxes().empty() && (page.Polling() || !page.m_hWnd); },
                [&] { pollingAgain = page.Polling(); });
    EXPECT_TRUE(Run(page));

    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"Insert disc 2 of the backup made on 2022-06-18 04:26:40 into drive F: and click OK.");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_FALSE(shown[0].polling);
    EXPECT_NE(shown[0].thread, ::GetCurrentThreadId());
    EXPECT_EQ(shown[1].text, GetParam().end);
    EXPECT_EQ(sim.Journal("MediaRequest").at(0)["answer"], GetParam().answer);
    if (GetParam().button == IDOK) {
        EXPECT_TRUE(pollingAgain);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, MediaRequest, testing::Values(
    MediaAnswer{"Ok", IDOK, kMediaAnswerOk, kDone},
    MediaAnswer{"Cancel", IDCANCEL, kMediaAnswerCancel, kNotFinished},
    MediaAnswer{"NoBox", 0, kMediaAnswerCancel, kNotFinished}),   // a box that could not be shown
    [](const auto& info) { return info.param.name; });

TEST_F(RestoreProgressPage, NotificationsAfterCancelShowNothingButTheEnd)
{
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    PageBoxes boxes(AgreeToAll);
    CRestoreProgress page(*context);
    LRESULT warning = -7, question = -7;
    script.When([&] { return Showing(page); }, [&] {
        page.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
        warning = page.SendMessage(WM_ENGINE_MESSAGE, static_cast<WPARAM>(halvex::kDiskFailure));
        question = page.SendMessage(WM_ENGINE_MESSAGE, static_cast<WPARAM>(halvex::kAskGoOn));
        page.SendMessage(WM_RESTORE_END, 0, 0);
    });
    EXPECT_TRUE(Run(page));
    EXPECT_EQ(warning, 0);
    EXPECT_EQ(question, 0);
    EXPECT_EQ(boxes.texts(), (std::vector<std::wstring>{kReallyCancel, kNotFinished}));
}

// Whether `text` fits on one line of `control`, in the control's font.
bool FitsOnOneLine(HWND control, const std::wstring& text)
{
    RECT box{};
    ::GetClientRect(control, &box);
    HDC dc = ::GetDC(control);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = box;
    ::DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return needed.right <= box.right && needed.bottom - needed.top <= box.bottom - box.top;
}

class ProgressLayout : public RestoreProgressPage, public testing::WithParamInterface<const wchar_t*> {
protected:
    void TearDown() override
    {
        RestoreProgressPage::TearDown();
        ASSERT_TRUE(TryLoadResourceModule(ProgramFolder().c_str(), L"ENU", theApp.m_langId));
    }
};

TEST_P(ProgressLayout, TheLongestTextsFitAndNoControlsOverlap)
{
    ASSERT_TRUE(TryLoadResourceModule(ProgramFolder().c_str(), GetParam(), theApp.m_langId));
    SimEngine sim(RestoreCatalog(kLastStageForAMinute));
    Choose();
    PageBoxes boxes(AgreeToAll);
    CRestoreProgress page(*context);
    std::vector<std::string> faults;
    script.When([&] { return Showing(page); }, [&] {
        const auto check = [&](int id, const std::wstring& text) {
            if (!FitsOnOneLine(page.GetDlgItem(id), text)) faults.push_back(std::string(text.begin(), text.end()));
        };
        for (UINT stage : {IDS_STAGE_FIRST_PHASE6, IDS_STAGE_FIRST, IDS_STAGE_PHASE7, IDS_STAGE_LAST})
            check(IDC_PROGRESS_STAGE, LoadText(stage).str());
        check(IDC_PROGRESS_TIME, FormatText(LoadText(IDS_TIME_TEXT).str(), 99, 59, 59, 99, 59, 59));
        check(IDC_PROGRESS_PERCENT, L"100%");
        check(IDCANCEL, CWnd::TextOf(page.GetDlgItem(IDCANCEL)).str());

        RECT client{};
        ::GetClientRect(page, &client);
        std::vector<std::pair<int, RECT>> placed;
        for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT r{};
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            RECT inside{};
            if (!::IntersectRect(&inside, &r, &client) || !::EqualRect(&inside, &r))
                faults.push_back("control " + std::to_string(::GetDlgCtrlID(child)) + " leaves the window");
            for (const auto& [id, other] : placed) {
                RECT overlap{};
                if (::IntersectRect(&overlap, &r, &other))
                    faults.push_back("controls " + std::to_string(id) + " and " + std::to_string(::GetDlgCtrlID(child)) +
                                     " overlap");
            }
            placed.emplace_back(::GetDlgCtrlID(child), r);
        }
        page.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    });
    EXPECT_TRUE(Run(page));
    EXPECT_EQ(faults, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Modules, ProgressLayout, testing::Values(PALTO_MODULE_CODES));

// Callbacks with no run behind them answer so that the engine stops waiting safely.
class CallbacksWithoutARun : public testing::TestWithParam<std::uintptr_t> {};

TEST_P(CallbacksWithoutARun, AnswerWithoutAsking)
{
    PageBoxes boxes;
    void* context = reinterpret_cast<void*>(GetParam());
    _MediaRequestNotifyData media{};
    media.answer = kMediaAnswerOk;   // the engine's preset: must not stay
    MediaRequestCallback(context, &media);
    EXPECT_EQ(media.answer, kMediaAnswerCancel);

    _EngineMessageNotifyData message{};
    message.code = halvex::kAskGoOn;
    message.answer = 1;
    EngineMessageCallback(context, &message);
    EXPECT_EQ(message.answer, 0);

    _TaskEndNotifyData end{};
    TaskEndCallback(context, &end);
    EngineMessageCallback(context, nullptr);
    MediaRequestCallback(context, nullptr);
    EXPECT_TRUE(boxes.boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Contexts, CallbacksWithoutARun, testing::Values(0u, 0x7FFFFFFFu));

// Cancel right after the page opens, while the worker may still be starting the restore:
// whichever comes first, the engine ends with no task running, the restore info is given
// back once, and the page ends.
class EarlyCancel : public CRestoreProgress {
public:
    using CRestoreProgress::CRestoreProgress;

protected:
    BOOL OnInitDialog() override
    {
        const BOOL result = CRestoreProgress::OnInitDialog();
        PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        return result;
    }
};

TEST_F(RestoreProgressPage, CancelWhileStartingNeverLeavesARestoreRunning)
{
    int skipped = 0, stopped = 0;
    for (int round = 0; round < 40; ++round) {
        SimEngine sim(RestoreCatalog(kLastStageForAMinute));
        Choose();
        PageBoxes boxes(AgreeToAll);
        {
            EarlyCancel page(*context);
            ASSERT_TRUE(Run(page)) << "round " << round;
        }
        const auto texts = boxes.texts();
        ASSERT_GE(texts.size(), 1u);
        EXPECT_EQ(texts[0], kReallyCancel);
        for (std::size_t i = 1; i < texts.size(); ++i) EXPECT_EQ(texts[i], kNotFinished) << "round " << round;

        const auto orders = sim.Journal("ProjectRestoreCtrl");
        const auto stops = sim.Journal("TaskControl");
        if (orders.empty()) {
            ++skipped;
        } else {
            ++stopped;
            ASSERT_FALSE(stops.empty()) << "round " << round << ": the restore was started and never stopped";
            EXPECT_EQ(stops[0]["result"], 0);
        }
        EXPECT_EQ(sim.Journal("FreeProjectRestoreInfo").size(), 1u);
    }
    std::printf("cancelled before the start: %d, stopped after it: %d\n", skipped, stopped);
}

// The page with the number its callbacks are registered under.
class ProgressWithToken : public CRestoreProgress {
public:
    using CRestoreProgress::CRestoreProgress;
    void* CallbackContext() const { return reinterpret_cast<void*>(m_run->Token()); }
};

// Engine threads calling while the page ends and goes: every call is answered, none
// reaches the page once it has gone, and those made afterwards answer without asking.
TEST_F(RestoreProgressPage, NotificationsWhileThePageClosesNeverReachAPageThatHasGone)
{
    std::atomic<int> wrongAnswers{0}, answeredAfter{0};
    for (int round = 0; round < 200; ++round) {
        SimEngine sim(RestoreCatalog(R"([{"phase": 9, "ms": 20}])"));
        Choose();
        PageBoxes boxes;
        std::atomic<bool> pageGone{false}, hammerDone{false};
        auto page = std::make_unique<ProgressWithToken>(*context);
        void* const callbackContext = page->CallbackContext();
        std::thread hammer([&] {
            for (int afterGone = 0; afterGone < 3;) {
                const bool gone = pageGone.load();
                _EngineMessageNotifyData message{};
                message.code = halvex::kDiskFailure;
                message.answer = 5;
                EngineMessageCallback(callbackContext, &message);
                _MediaRequestNotifyData media{};
                media.part = 1;
                media.drive = 'F';
                media.answer = 5;
                MediaRequestCallback(callbackContext, &media);
                if (message.answer != 0 || (media.answer != kMediaAnswerOk && media.answer != kMediaAnswerCancel) ||
                    (gone && media.answer != kMediaAnswerCancel))
                    ++wrongAnswers;
                _TaskEndNotifyData end{};
                TaskEndCallback(callbackContext, &end);
                if (gone) {
                    ++afterGone;
                    ++answeredAfter;
                }
            }
            hammerDone = true;
        });
        EXPECT_TRUE(Run(*page)) << "round " << round;
        page.reset();
        pageGone = true;
        // Calls on their way to the page's window find it gone; keep this thread's
        // queue moving meanwhile.
        while (!hammerDone) {
            PumpMessages();
            ::Sleep(1);
        }
        hammer.join();
        ASSERT_EQ(wrongAnswers.load(), 0) << "round " << round;
    }
    EXPECT_EQ(answeredAfter.load(), 600);
}

}  // namespace
}  // namespace palto::test
