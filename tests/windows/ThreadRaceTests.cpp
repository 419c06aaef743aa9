// The wizard's worker threads and the engine's notifications racing the windows they
// report to: the progress page ending, the source page's disc check, and the archive
// check at the launch of the restore, each against the user's Cancel and close commands.
// Every race runs 200 rounds whose timings differ from round to round; each round checks
// that no message met a window object that had gone, that every message box had a live
// owner from its first moment to its last, and that nothing hung.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "HalvexTestSupport.h"
#include "app/ArchiveQuery.h"
#include "app/CallbackTargets.h"
#include "TestSupport.h"
#include "TestWizard.h"
#include "tests/ReportName.h"
#include "engine/HalvexCodes.h"
#include "resources/ids.h"
#include "restore/RestoreNotifications.h"
#include "restore/RestoreProgress.h"

namespace palto::test {
namespace {

constexpr int kRounds = 200;
const std::wstring kReallyCancel = L"Do you really want to cancel?";
const std::wstring kDone = L"The restore has finished successfully. The program closes when you click OK.";
// The end of a restore the wizard launched: its report lies in the program's folder.
const std::wstring kDoneWithReport = WithReportIn(kDone, ProgramFolder());

// Message boxes that behave as the system's do where it matters here: a box disables its
// owner's window while it is open (and enables it again if it disabled it), and one on
// the owner's thread runs a message loop meanwhile (ended early by a quit message, which
// it passes on). Each is held open for a time of the test's choosing, then answered.
class LikeRealBoxes {
public:
    struct Box {
        std::wstring text;
        UINT style = 0;
        bool ownerAliveAtShow = false;
        bool ownerAliveAtEnd = false;
        int othersOpen = 0;   // other boxes open when it was shown
    };
    using Answer = std::function<int(const std::wstring& text, UINT style)>;

    LikeRealBoxes(Answer answer, std::function<DWORD()> holdMs) : m_answer(std::move(answer)), m_holdMs(std::move(holdMs))
    {
        SetMessageHandler([this](HWND owner, const CString& text, UINT style) { return Show(owner, MaskReportName(text.str()), style); });
    }
    ~LikeRealBoxes() { SetMessageHandler({}); }
    LikeRealBoxes(const LikeRealBoxes&) = delete;
    LikeRealBoxes& operator=(const LikeRealBoxes&) = delete;

    std::vector<Box> boxes() const
    {
        std::lock_guard lock(m_lock);
        return m_boxes;
    }
    void Clear()
    {
        std::lock_guard lock(m_lock);
        m_boxes.clear();
    }
    // Boxes without a live owner at some moment of their life.
    std::wstring Orphans() const
    {
        std::wstring orphans;
        for (const Box& box : boxes()) {
            if (!box.ownerAliveAtShow) orphans += L"shown without an owner: " + box.text + L"\n";
            else if (!box.ownerAliveAtEnd) orphans += L"left without an owner: " + box.text + L"\n";
        }
        return orphans;
    }
    // Boxes shown while another was open.
    std::wstring Overlaps() const
    {
        std::wstring overlaps;
        for (const Box& box : boxes())
            if (box.othersOpen) overlaps += L"shown over another box: " + box.text + L"\n";
        return overlaps;
    }
    int Count(const std::wstring& text) const
    {
        int count = 0;
        for (const Box& box : boxes()) count += box.text == text;
        return count;
    }

private:
    int Show(HWND owner, const std::wstring& text, UINT style)
    {
        Box box{text, style, owner && ::IsWindow(owner)};
        box.othersOpen = m_open++;
        int answer = 0;
        if (box.ownerAliveAtShow) {
            const HWND top = ::GetAncestor(owner, GA_ROOT);
            const bool disabled = ::EnableWindow(top, FALSE) == FALSE;   // it was enabled
            Hold(::GetWindowThreadProcessId(owner, nullptr) == ::GetCurrentThreadId(), m_holdMs());
            box.ownerAliveAtEnd = ::IsWindow(owner) != FALSE;
            if (disabled && ::IsWindow(top)) ::EnableWindow(top, TRUE);
            answer = m_answer(text, style);
        }
        --m_open;
        std::lock_guard lock(m_lock);
        m_boxes.push_back(box);
        return answer;
    }

    static void Hold(bool ownersThread, DWORD ms)
    {
        if (!ownersThread) {
            ::Sleep(ms);
            return;
        }
        const ULONGLONG end = ::GetTickCount64() + ms;
        MSG quit{};
        do {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            PumpMessages();
            if (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return;
        } while (::GetTickCount64() < end);
    }

    Answer m_answer;
    std::function<DWORD()> m_holdMs;
    std::atomic<int> m_open{0};
    mutable std::mutex m_lock;
    std::vector<Box> m_boxes;
};

// Busy for a time that grows with `units`, finer than the system's sleep.
void Spin(int units)
{
    volatile int sink = 0;
    for (int i = 0; i < units * 20000; ++i) sink = i;
}

// What the user does from outside while a worker runs: a click on Cancel, the close
// command of the window, or Escape and Enter as the dialog manager turns them into commands.
struct Poke {
    const char* name;
    int control;   // 0: the wizard window itself
    UINT message;
    WPARAM wParam;
};
constexpr Poke kPokes[] = {
    {"Cancel clicked", IDC_WIZARD_CANCEL, BM_CLICK, 0},
    {"close command", 0, WM_SYSCOMMAND, SC_CLOSE},
    {"cancel command", 0, WM_COMMAND, IDCANCEL},
    {"OK command", 0, WM_COMMAND, IDOK},
};

void Post(HWND wizard, const Poke& poke)
{
    const HWND target = poke.control ? ::GetDlgItem(wizard, poke.control) : wizard;
    ::PostMessageW(target, poke.message, poke.wParam, 0);
}

class RaceWizard : public TestWizard {
public:
    using CPaltoDlg::m_typePage;

    void ChooseType(int radio)
    {
        for (int id : {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION})
            m_typePage.CheckDlgButton(id, id == radio ? BST_CHECKED : BST_UNCHECKED);
    }
    // The last step of a partition restore, as after the destination page stored the
    // choice in the context.
    void GoToLastStep()
    {
        ChooseType(IDC_TYPE_PARTITION);
        m_nStep = 3;
        StepForward();
    }
    void Click(int id) { ::PostMessageW(GetDlgItem(id), BM_CLICK, 0, 0); }
};

// Whether the last registration for media requests has been withdrawn.
bool PromptWithdrawn(const SimEngine& engine)
{
    const auto registrations = engine.Journal("SetNotifyFunction");
    return !registrations.empty() && registrations.back()["function"] == false;
}

class ThreadRace : public testing::Test {
protected:
    static void SetUpTestSuite() { LoadEnglishResources(); }
    void SetUp() override { m_strayAtStart = CWnd::StrayMessages(); }
    unsigned long StrayMessages() const { return CWnd::StrayMessages() - m_strayAtStart; }

    ScopedContext context;

private:
    unsigned long m_strayAtStart = 0;
};

// ---------------------------------------------------------------------------------------
// The progress page ending while engine threads report

// The page with the number its callbacks are registered under.
class ProgressWithToken : public CRestoreProgress {
public:
    using CRestoreProgress::CRestoreProgress;
    void* CallbackContext() const { return reinterpret_cast<void*>(m_run->Token()); }
};

// An engine thread that reports a task end, a message (a warning, or on some rounds the
// question whether to go on) and a media request, again and again, while the restore
// runs to its end and the page goes; its prompts stay open for a while. The page never
// ends under an open prompt, and once it has gone every call is answered unseen.
TEST_F(ThreadRace, EngineNotificationsWhileTheProgressPageEnds)
{
    std::atomic<int> round{0};
    LikeRealBoxes boxes([](const std::wstring&, UINT style) { return style == MB_YESNO ? IDYES : IDOK; },
                        [&] { return static_cast<DWORD>(round % 4); });
    for (; round < kRounds; ++round) {
        const int r = round;
        SimEngine sim(RestoreCatalog(R"([{"phase": 9, "ms": )" + std::to_string(5 + r % 9 * 5) + "}]"));
        ASSERT_TRUE(ChooseRestore(*context));
        boxes.Clear();
        auto page = std::make_unique<ProgressWithToken>(*context);
        void* const callbacks = page->CallbackContext();
        std::atomic<bool> pageGone{false}, done{false};
        std::atomic<int> wrongAfterGone{0};
        std::thread engineThread([&] {
            Spin(r % 7);
            for (int afterGone = 0; afterGone < 3;) {
                const bool gone = pageGone.load();
                _MediaRequestNotifyData media{};
                media.part = 2;
                media.drive = 'F';
                MediaRequestCallback(callbacks, &media);
                _EngineMessageNotifyData message{};
                message.code = r % 2 ? halvex::kAskGoOn : halvex::kDiskFailure;
                message.answer = 5;
                EngineMessageCallback(callbacks, &message);
                _TaskEndNotifyData end{};
                TaskEndCallback(callbacks, &end);
                if (gone) {
                    if (media.answer != kMediaAnswerCancel || message.answer != 0) ++wrongAfterGone;
                    ++afterGone;
                }
            }
            done = true;
        });
        {
            Deadline deadline(20000);
            EXPECT_EQ(page->DoModal(), -1);
            MSG quit{};
            ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            ASSERT_FALSE(Deadline::Expired()) << "round " << r << ": the page did not end";
        }
        const size_t shownWhileThere = boxes.boxes().size();
        page.reset();
        pageGone = true;
        while (!done) {   // calls on their way to the page's window find it gone
            PumpMessages();
            ::Sleep(1);
        }
        engineThread.join();
        ASSERT_GE(boxes.Count(kDone), 1) << "round " << r;
        ASSERT_EQ(boxes.Orphans(), L"") << "round " << r;
        ASSERT_EQ(wrongAfterGone.load(), 0) << "round " << r << ": a call after the page had gone was answered";
        ASSERT_EQ(boxes.boxes().size(), shownWhileThere) << "round " << r << ": a box came after the page had gone";
        ASSERT_EQ(StrayMessages(), 0u) << "round " << r;
        const auto registrations = sim.Journal("SetNotifyFunction");
        ASSERT_EQ(registrations.size(), 6u) << "round " << r;
        EXPECT_EQ(registrations.back()["function"], false) << "round " << r << ": the callbacks were not withdrawn";
    }
}

// ---------------------------------------------------------------------------------------
// The source page's disc check

// One partition backup on the DVD in Q:, which asks for disc 2 when it is opened.
const char kDiscCatalog[] = R"({
  "thisComputer": {"disks": [{"number": 0, "size": 100000000000, "partitions": [
      {"number": 1, "driveLetter": "C", "size": 99000000000}]}]},
  "projects": [{"id": 3, "description": "Documents on DVD", "location": "Q:\\Documents", "archiveMedia": {"part": 2},
    "layout": {"disks": [{"number": 0, "size": 100000000000, "partitions": [
      {"number": 1, "size": 50000000000, "selected": true}]}]},
    "history": [{"time": "2026-10-31T17:10:00Z"}]}]})";

// Next on the source page meets a missing disc: the worker asks for it (OK on even
// rounds, Cancel on odd ones) while the user presses Cancel or closes the window at a
// moment that moves from round to round. Whatever lands while the worker runs is not
// acted on: the wizard neither asks nor closes under the disc prompt; what lands later
// asks (Yes) or closes. A last Cancel ends a wizard that is still open.
TEST_F(ThreadRace, CancelAndCloseWhileTheSourcePageAsksForTheDisc)
{
    std::atomic<int> round{0};
    LikeRealBoxes boxes(
        [&](const std::wstring&, UINT style) {
            if (style == MB_OKCANCEL) return round % 2 ? IDCANCEL : IDOK;
            return style == MB_YESNO ? IDYES : IDOK;
        },
        [&] { return static_cast<DWORD>(round % 3); });
    int lastCancelNeeded = 0;
    for (; round < kRounds; ++round) {
        const int r = round;
        const Poke& poke = kPokes[r % 4];
        bool lastCancel = false;
        SimEngine engine(kDiscCatalog);
        boxes.Clear();
        INT_PTR result = 0;
        {
            RaceWizard wizard;
            Script script(5);
            std::thread user;
            RunSoon([&] {
                wizard.ChooseType(IDC_TYPE_PARTITION);
                wizard.Command(IDC_NEXT);
                wizard.Command(IDC_NEXT);   // the disc is missing: the worker starts
                user = std::thread([&poke, r, window = wizard.m_hWnd] {
                    ::Sleep(static_cast<DWORD>(r % 16 * 2));
                    Spin(r % 7);
                    Post(window, poke);
                });
                script.When([&] { return PromptWithdrawn(engine) && wizard.IsWindowEnabled(); },
                            [&] {
                                lastCancel = true;
                                wizard.Click(IDC_WIZARD_CANCEL);
                            });
            });
            Deadline deadline(20000);
            result = wizard.DoModal();
            ASSERT_FALSE(Deadline::Expired()) << "round " << r << " (" << poke.name << "): the wizard did not end";
            user.join();
        }
        EXPECT_EQ(result, poke.wParam == IDOK && boxes.Count(kReallyCancel) == 0 ? IDOK : IDCANCEL) << "round " << r;
        ASSERT_EQ(boxes.Orphans() + boxes.Overlaps(), L"") << "round " << r << " (" << poke.name << ")";
        ASSERT_EQ(StrayMessages(), 0u) << "round " << r;
        ASSERT_TRUE(PromptWithdrawn(engine)) << "round " << r;
        ASSERT_EQ(HalvexSimOutstandingAllocations(), 0u) << "round " << r;
        int asked = 0;
        for (const auto& open : engine.Journal("QueryArchiveProject"))
            asked += open.contains("mediaRequest") && open["mediaRequest"]["delivered"] == true;
        ASSERT_EQ(asked, 1) << "round " << r << ": the worker asks for the disc once";
        lastCancelNeeded += lastCancel;
    }
    std::printf("the last Cancel was needed in %d rounds, the user's command ended the wizard in %d\n",
                lastCancelNeeded, kRounds - lastCancelNeeded);
}

// ---------------------------------------------------------------------------------------
// The archive check at the launch

// Next on the last step checks the backup on a worker, which asks for disc 2 (held open
// for a varying time, answered OK), and then the restore runs to its end. On even
// rounds the user's Cancel or close command follows Next after a varying wait and lands
// during the check, the restore or its end: it is never acted on, and the restore runs
// once, to the end of the application. On odd rounds Cancel comes first: its question
// (Yes) closes the wizard before the Next that follows is acted on, and nothing is checked
// or restored.
TEST_F(ThreadRace, CancelAndCloseWhileTheRestoreIsLaunched)
{
    std::atomic<int> round{0};
    LikeRealBoxes boxes([](const std::wstring&, UINT style) { return style == MB_YESNO ? IDYES : IDOK; },
                        [&] { return static_cast<DWORD>(round % 5); });
    for (; round < kRounds; ++round) {
        const int r = round;
        const bool cancelFirst = r % 2 == 1;
        const Poke& poke = cancelFirst ? kPokes[0] : kPokes[r / 2 % 4];
        auto catalog = nlohmann::json::parse(RestoreCatalog(R"([{"phase": 9, "ms": 10}])"));
        catalog["projects"][0]["archiveMedia"] = {{"part", 2}};
        SimEngine engine(catalog.dump());
        ASSERT_TRUE(ChooseRestore(*context));
        boxes.Clear();
        INT_PTR result = 0;
        {
            RaceWizard wizard;
            std::thread user;
            RunSoon([&] {
                wizard.GoToLastStep();
                user = std::thread([&poke, r, cancelFirst, window = wizard.m_hWnd] {
                    constexpr Poke kNextClicked{"Next clicked", IDC_NEXT, BM_CLICK, 0};
                    Post(window, cancelFirst ? poke : kNextClicked);
                    ::Sleep(static_cast<DWORD>(r / 2 % 20 * 3));
                    Spin(r / 2 % 13);
                    Post(window, cancelFirst ? kNextClicked : poke);
                });
            });
            Deadline deadline(20000);
            result = wizard.DoModal();
            MSG quit{};
            ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
            ASSERT_FALSE(Deadline::Expired()) << "round " << r << " (" << poke.name << "): the wizard did not end";
            user.join();
        }
        ASSERT_EQ(boxes.Orphans() + boxes.Overlaps(), L"") << "round " << r << " (" << poke.name << ")";
        ASSERT_EQ(StrayMessages(), 0u) << "round " << r;
        const auto restores = engine.Journal("ProjectRestoreCtrl");
        if (cancelFirst) {
            EXPECT_EQ(result, IDCANCEL) << "round " << r;
            EXPECT_EQ(boxes.Count(kReallyCancel), 1) << "round " << r;
            EXPECT_TRUE(engine.Journal("QueryArchiveProject").empty()) << "round " << r << ": checked after Yes";
            EXPECT_TRUE(restores.empty()) << "round " << r << ": restored after Yes";
        } else {
            EXPECT_EQ(result, -1) << "round " << r << " (" << poke.name << "): the restore's quit ends the wizard";
            EXPECT_EQ(boxes.Count(kReallyCancel), 0) << "round " << r << " (" << poke.name << ")";
            EXPECT_EQ(boxes.Count(kDoneWithReport), 1) << "round " << r;
            ASSERT_EQ(restores.size(), 1u) << "round " << r;
            EXPECT_EQ(restores[0]["result"], 0);
        }
        ASSERT_TRUE(PromptWithdrawn(engine) || cancelFirst) << "round " << r;
        ASSERT_EQ(HalvexSimOutstandingAllocations(), 0u) << "round " << r;
    }
}

// ---------------------------------------------------------------------------------------
// Foreign messages while a worker runs

// Message boxes answered on whichever thread shows them; the media prompt stays open
// until the test lets it go, so that the worker that asked is running meanwhile.
class HeldMediaPrompt {
public:
    HeldMediaPrompt()
    {
        SetMessageHandler([this](HWND, const CString& text, UINT style) { return Show(MaskReportName(text.str()), style); });
    }
    ~HeldMediaPrompt()
    {
        m_release.Raise();
        SetMessageHandler({});
    }
    HeldMediaPrompt(const HeldMediaPrompt&) = delete;
    HeldMediaPrompt& operator=(const HeldMediaPrompt&) = delete;

    bool open() const { return m_open; }
    void Release() { m_release.Raise(); }
    std::vector<std::wstring> texts() const
    {
        std::lock_guard lock(m_lock);
        return m_texts;
    }

private:
    int Show(const std::wstring& text, UINT style)
    {
        {
            std::lock_guard lock(m_lock);
            m_texts.push_back(text);
        }
        if (style != MB_OKCANCEL) return IDOK;
        m_open = true;
        m_release.Wait(std::chrono::seconds(20));
        m_open = false;
        return IDOK;
    }

    std::atomic<bool> m_open{false};
    Signal m_release;
    mutable std::mutex m_lock;
    std::vector<std::wstring> m_texts;
};

// One message of the wizard's own kinds as another program (or a stray) may post it.
struct Foreign {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A result of the worker's own type that no worker handed out: taking it for one (or
// deleting it) would be the fault.
ArchiveQueryResult g_decoy(1);

std::vector<Foreign> ForeignMessages(UINT outcome, LPARAM runningId)
{
    const auto decoy = reinterpret_cast<LPARAM>(&g_decoy);
    return {{"outcome without anything", outcome, 0, 0},
            {"outcome with a small number", outcome, 0, 1},
            {"outcome with a large number", outcome, 0, static_cast<LPARAM>(0x7FFF'FFFF'FFF0ll)},
            {"outcome with an object of the result's type", outcome, 0, decoy},
            {"outcome with an error code", outcome, static_cast<WPARAM>(static_cast<INT_PTR>(-1000103)), decoy},
            {"outcome with the running worker's id", outcome, 0, runningId},
            {"step forward", WM_STEP_FORWARD, 0, 0},
            {"step forward with values", WM_STEP_FORWARD, 1, 12345}};
}

// Posts the messages from a thread of their own, as another program would, then has the
// window's thread handle them; false when one of them was left unhandled.
bool PostAndHandle(HWND target, const std::vector<Foreign>& messages)
{
    std::thread sender([&] {
        for (const Foreign& foreign : messages) ::PostMessageW(target, foreign.message, foreign.wParam, foreign.lParam);
    });
    sender.join();
    PumpMessages();
    MSG left{};
    return !::PeekMessageW(&left, target, 0, 0, PM_NOREMOVE);
}

class ForeignMessageWizard : public RaceWizard {
public:
    using CPaltoDlg::m_archiveQuery;
};

// The archive check of the launch asks for disc 2 and is held there while the outcome
// message and the request to move on come from elsewhere, with values of every kind:
// the window stays disabled on the last step, shows nothing and frees nothing. Once the
// disc is there, the check's own outcome runs the restore, once.
TEST_F(ThreadRace, ForeignMessagesWhileTheLaunchChecksTheBackup)
{
    auto catalog = nlohmann::json::parse(RestoreCatalog(R"([{"phase": 9, "ms": 10}])"));
    catalog["projects"][0]["archiveMedia"] = {{"part", 2}};
    SimEngine engine(catalog.dump());
    ASSERT_TRUE(ChooseRestore(*context));
    HeldMediaPrompt prompt;
    bool handled = false, enabledAfter = true;
    int stepAfter = 0;
    size_t boxesAfter = 0;
    INT_PTR result = 0;
    {
        ForeignMessageWizard wizard;
        Script script;
        RunSoon([&] {
            wizard.GoToLastStep();
            wizard.Command(IDC_NEXT);
            script.When([&] { return prompt.open(); },
                        [&] {
                            const LPARAM id = static_cast<LPARAM>(wizard.m_archiveQuery ? wizard.m_archiveQuery->id : 0);
                            handled = PostAndHandle(wizard.m_hWnd, ForeignMessages(WM_ARCHIVE_QUERIED, id));
                            enabledAfter = wizard.IsWindowEnabled() != FALSE;
                            stepAfter = wizard.m_nStep;
                            boxesAfter = prompt.texts().size();
                            prompt.Release();
                        });
        });
        Deadline deadline(20000);
        result = wizard.DoModal();
        MSG quit{};
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        ASSERT_FALSE(Deadline::Expired()) << "the wizard did not end";
    }
    ASSERT_TRUE(handled) << "the foreign messages were not all handled";
    EXPECT_FALSE(enabledAfter) << "a foreign message gave the window its input back under the worker";
    EXPECT_EQ(stepAfter, 4);
    EXPECT_EQ(boxesAfter, 1u) << "only the disc prompt was shown meanwhile";
    EXPECT_EQ(g_decoy.id, 1u);
    EXPECT_EQ(result, -1) << "the restore's quit ends the wizard";
    EXPECT_EQ(prompt.texts().back(), kDoneWithReport);
    EXPECT_EQ(engine.Journal("ProjectRestoreCtrl").size(), 1u);
    EXPECT_EQ(HalvexSimOutstandingAllocations(), 0u);
}

// The source page's disc check is held at its prompt while its outcome message, the
// launch's and the request to move on come from elsewhere: the wizard stays disabled on
// step 2. Once the disc is there, the check's own outcome moves it to step 3, once.
TEST_F(ThreadRace, ForeignMessagesWhileTheSourcePageChecksTheDisc)
{
    SimEngine engine(kDiscCatalog);
    HeldMediaPrompt prompt;
    bool handled = false, enabledAfter = true;
    int stepAfter = 0, stepAtEnd = 0;
    size_t boxesAfter = 0;
    {
        ForeignMessageWizard wizard;
        Script script;
        RunSoon([&] {
            wizard.ChooseType(IDC_TYPE_PARTITION);
            wizard.Command(IDC_NEXT);
            wizard.Command(IDC_NEXT);   // the disc is missing: the worker starts
            script.When([&] { return prompt.open(); },
                        [&] {
                            handled = PostAndHandle(wizard.Page(IDD_SOURCE_PAGE), ForeignMessages(WM_ARCHIVE_OPENED, 1)) &&
                                      PostAndHandle(wizard.m_hWnd, ForeignMessages(WM_ARCHIVE_QUERIED, 1));
                            enabledAfter = wizard.IsWindowEnabled() != FALSE;
                            stepAfter = wizard.m_nStep;
                            boxesAfter = prompt.texts().size();
                            prompt.Release();
                            script.When([&] { return PromptWithdrawn(engine) && wizard.IsWindowEnabled(); },
                                        [&] {
                                            PumpMessages();
                                            stepAtEnd = wizard.m_nStep;
                                            wizard.EndDialog(IDCANCEL);
                                        });
                        });
        });
        Deadline deadline(20000);
        wizard.DoModal();
        ASSERT_FALSE(Deadline::Expired()) << "the wizard did not end";
    }
    ASSERT_TRUE(handled) << "the foreign messages were not all handled";
    EXPECT_FALSE(enabledAfter) << "a foreign message gave the window its input back under the worker";
    EXPECT_EQ(stepAfter, 2);
    EXPECT_EQ(boxesAfter, 1u) << "only the disc prompt was shown meanwhile";
    EXPECT_EQ(stepAtEnd, 3) << "the check's own outcome moves the wizard one step";
    EXPECT_EQ(context->projectId, 3u);
    EXPECT_EQ(g_decoy.id, 1u);
    EXPECT_EQ(HalvexSimOutstandingAllocations(), 0u);
}

// ---------------------------------------------------------------------------------------
// A media request after the archive check has ended

// Waits on this thread for `message` posted to `window`, until `limitMs` has passed.
bool WaitForPosted(HWND window, UINT message, MSG& got, ULONGLONG limitMs)
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    while (!::PeekMessageW(&got, window, message, message, PM_REMOVE)) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
    }
    return true;
}

// The check asks for disc 2 through its registration (the user puts it in); once the
// check has ended, a request the engine still sends with the check's context finds no
// check: it is answered Cancel and nobody is asked.
TEST_F(ThreadRace, AMediaRequestAfterTheArchiveCheckHasEndedAsksNobody)
{
    constexpr UINT kQueried = WM_APP + 60;
    auto catalog = nlohmann::json::parse(RestoreCatalog(R"([{"phase": 9, "ms": 10}])"));
    catalog["projects"][0]["archiveMedia"] = {{"part", 2}};
    SimEngine engine(catalog.dump());
    HeldMediaPrompt prompt;
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    PendingArchiveQuery pending = StartArchiveQuery({window, kQueried, window, kRestoreProject, kRestoreArchive, L'E'});
    ASSERT_NE(pending, nullptr);
    const std::uint64_t id = pending->id;
    for (const ULONGLONG end = ::GetTickCount64() + 20000; !prompt.open() && ::GetTickCount64() < end;) ::Sleep(1);
    ASSERT_TRUE(prompt.open()) << "the check did not ask for the disc";
    prompt.Release();
    MSG outcome{};
    ASSERT_TRUE(WaitForPosted(window, kQueried, outcome, 20000)) << "the check did not end";
    const PendingArchiveQuery result = TakeArchiveQueryResult(pending, outcome.lParam);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->code, 0);
    EXPECT_TRUE(PromptWithdrawn(engine));

    _MediaRequestNotifyData late{};
    late.part = 2;
    late.drive = 'E';
    late.answer = kMediaAnswerOk;
    ArchiveMediaRequestCallback(CallbackContext(id), &late);
    EXPECT_EQ(late.answer, kMediaAnswerCancel);
    EXPECT_EQ(prompt.texts().size(), 1u) << "only the check's own request asked the user";
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace palto::test
