// Every engine call the wizard makes, failed where the wizard makes it: the wizard walks a
// whole restore with the stand-in engine failing one call (the N-th of its operation),
// once with a code of the error table and once with one it does not know. The user must
// read what the wizard says at that place, the next action must work, the walk must end
// as the place allows, and no engine block may stay out but those a failed Free was given.
// A scan of the wizard's sources checks that the table names every call site there is.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "TestWizard.h"
#include "tests/ReportName.h"
#include "WalkCatalog.h"
#include "resources/ids.h"

namespace {

using palto::test::Deadline;
using palto::test::WithReportIn;
using palto::test::MessageBoxes;
using palto::test::ScopedContext;
using palto::test::SimEngine;

// ---------------------------------------------------------------------------------------
// What the user reads, in English: the one place to update when the wording changes.

const std::map<std::string, std::wstring> kTexts = {
    {"-1000100", L"The place where the backup is stored cannot be reached. Check that the drive, the medium or the network "
              L"connection is available, then try again."},
    {"-1000777", L"The backup engine reported an error. Try again; if this keeps happening, restart the computer from the "
              L"recovery medium. Error code:  -1000777"},
    {"cannot read", L"The chosen backup cannot be read. Check that the drive or medium that holds it is connected, "
                     L"or choose another backup."},
    {"wrong password", L"The password is not correct. Type it again, paying attention to upper and lower case."},
    {"insert disc", L"Insert the last disc of the backup made on 2026-10-05 19:00:00 into drive F: and click OK."},
    {"restored", WithReportIn(L"The restore has finished successfully. The program closes when you click OK.",
                              palto::test::ProgramFolder())},
    {"cancel?", L"Do you really want to cancel?"},
    {"not finished",
     WithReportIn(L"The restore did not finish. The destination may be incomplete: restore it again before you use it.",
                  palto::test::ProgramFolder())},
};

// The texts a walk meets without any fault.
const std::set<std::string> kWalkTexts = {"insert disc", "restored", "cancel?", "not finished"};

// ---------------------------------------------------------------------------------------
// The walks, through the catalog of WalkCatalog.h

enum class Flow {
    Entire,      // the protected entire computer, restored to its end
    Partition,   // the partition on a DVD, back from the summary and on again, restored
    Cancelled,   // the partition, the restore cancelled while it runs
};

const char* Name(Flow flow)
{
    switch (flow) {
    case Flow::Entire: return "Entire";
    case Flow::Partition: return "Partition";
    case Flow::Cancelled: return "Cancelled";
    }
    return "";
}

// ---------------------------------------------------------------------------------------
// The table: every place of a walk where the wizard calls the engine.

// A call site in the wizard's sources: the operation, the file, the function around the
// call and which call of the operation in that function it is (from 1).
struct Site {
    std::string operation;
    std::string file;
    std::string function;
    int occurrence = 1;
    auto operator<=>(const Site&) const = default;
};

enum class Shows {
    Nothing,         // the wizard goes on silently
    CodeText,        // the text of the engine's code
    CannotRead,      // "cannot read", whatever the code
    WrongPassword,   // "wrong password": a password the engine cannot protect is refused
};

enum class Ends {
    Restored,     // the restore runs to its end
    NotStarted,   // the progress page shows the fault and the program ends
    Cancelled,    // the walk cancels the restore
};

struct Place {
    const char* name;
    Flow flow;
    Site site;
    int call;    // the N-th call of the operation in the walk
    Shows shows;
    Ends ends;
    int kept;    // engine blocks the engine keeps: what a failed Free was given
};

// clang-format off
const Place kPlaces[] = {
    // The source page lists the backups when it is entered.
    {"SourceListsProjects",        Flow::Entire, {"QueryProjects", "pages/SrcDlg.cpp", "ProjectList"}, 1, Shows::Nothing, Ends::Restored, 0},
    {"SourceReleasesProjectList",  Flow::Entire, {"FreeProjects", "pages/SrcDlg.cpp", "~ProjectList"}, 1, Shows::Nothing, Ends::Restored, 1},
    // The one project that fits cannot be described: nothing is listed, and the page says why.
    {"SourceDescribesProject",     Flow::Entire, {"QueryProject", "pages/SrcDlg.cpp", "Describe"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"SourceReleasesListed",       Flow::Entire, {"FreeProject", "pages/SrcDlg.cpp", "~FilledDescription"}, 1, Shows::Nothing, Ends::Restored, 3},
    {"SourceReleasesPassedOver",   Flow::Entire, {"FreeProject", "pages/SrcDlg.cpp", "~FilledDescription"}, 2, Shows::Nothing, Ends::Restored, 2},
    {"SourceFindsNewestBackup",    Flow::Entire, {"QueryProjectHistory", "pages/SrcDlg.cpp", "History"}, 1, Shows::Nothing, Ends::Restored, 0},
    {"SourceListsBackupDates",     Flow::Entire, {"QueryProjectHistory", "pages/SrcDlg.cpp", "History"}, 2, Shows::CodeText, Ends::Restored, 0},
    {"SourceReleasesHistory",      Flow::Entire, {"FreeProjectHistory", "pages/SrcDlg.cpp", "~History"}, 1, Shows::Nothing, Ends::Restored, 1},
    // Next on the source page opens the chosen backup.
    {"SourceOpensBackup",          Flow::Entire, {"QueryArchiveProject", "app/ArchiveQuery.cpp", "OpenArchive"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"SourceReleasesOpenedBackup", Flow::Entire, {"FreeProject", "app/ArchiveQuery.cpp", "OpenArchive"}, 3, Shows::Nothing, Ends::Restored, 3},
    // A backup on a disc is opened on a worker that asks for the disc.
    {"SourceWorkerRegistersPrompt", Flow::Partition, {"SetNotifyFunction", "app/ArchiveQuery.cpp", "RunQuery"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"SourceWorkerOpensBackup",    Flow::Partition, {"QueryArchiveProject", "app/ArchiveQuery.cpp", "OpenArchive"}, 2, Shows::CodeText, Ends::Restored, 0},
    {"SourceWorkerWithdrawsPrompt", Flow::Partition, {"SetNotifyFunction", "app/ArchiveQuery.cpp", "WithdrawMediaRequests"}, 2, Shows::Nothing, Ends::Restored, 0},
    // The destination pages fetch both layouts when they are entered.
    {"EntireDestinationRestoreInfo", Flow::Entire, {"QueryProjectRestoreInfo", "pages/RestoreLayouts.cpp", "QueryRestoreLayouts"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"EntireDestinationThisComputer", Flow::Entire, {"GetDRRestoreVolumesInfo", "pages/RestoreLayouts.cpp", "QueryRestoreLayouts"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"DiskDestinationRestoreInfo", Flow::Partition, {"QueryProjectRestoreInfo", "pages/RestoreLayouts.cpp", "QueryRestoreLayouts"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"DiskDestinationThisComputer", Flow::Partition, {"GetDRRestoreVolumesInfo", "pages/RestoreLayouts.cpp", "QueryRestoreLayouts"}, 1, Shows::CodeText, Ends::Restored, 0},
    {"DiskDestinationReenteredRestoreInfo", Flow::Partition, {"QueryProjectRestoreInfo", "pages/RestoreLayouts.cpp", "QueryRestoreLayouts"}, 2, Shows::CodeText, Ends::Restored, 0},
    {"DiskDestinationReentered",   Flow::Partition, {"FreeProjectRestoreInfo", "pages/RestoreLayouts.cpp", "ReleaseRestoreLayouts"}, 1, Shows::Nothing, Ends::Restored, 5},
    // Next on the summary opens the backup again on a worker, then asks for the password.
    {"LaunchRegistersPrompt",      Flow::Entire, {"SetNotifyFunction", "app/ArchiveQuery.cpp", "RunQuery"}, 1, Shows::CannotRead, Ends::Restored, 0},
    {"LaunchOpensBackup",          Flow::Entire, {"QueryArchiveProject", "app/ArchiveQuery.cpp", "OpenArchive"}, 2, Shows::CannotRead, Ends::Restored, 0},
    {"LaunchReleasesOpenedBackup", Flow::Entire, {"FreeProject", "app/ArchiveQuery.cpp", "OpenArchive"}, 4, Shows::Nothing, Ends::Restored, 3},
    {"LaunchWithdrawsPrompt",      Flow::Entire, {"SetNotifyFunction", "app/ArchiveQuery.cpp", "WithdrawMediaRequests"}, 2, Shows::Nothing, Ends::Restored, 0},
    {"PasswordIsProtected",        Flow::Entire, {"EncryptString", "frame/PasswordDlg.cpp", "CPasswordDlg::TypedPasswordMatches"}, 1, Shows::WrongPassword, Ends::Restored, 0},
    // The progress page's worker registers the notifications and starts the restore.
    {"RestoreRegistersTaskEnd",    Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 1}, 3, Shows::CodeText, Ends::NotStarted, 0},
    {"RestoreRegistersMessages",   Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 2}, 4, Shows::CodeText, Ends::NotStarted, 0},
    {"RestoreRegistersMediaPrompt", Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 3}, 5, Shows::CodeText, Ends::NotStarted, 0},
    {"RestoreStarts",              Flow::Entire, {"ProjectRestoreCtrl", "restore/RestoreProgress.cpp", "StartRestore"}, 1, Shows::CodeText, Ends::NotStarted, 0},
    {"RestoreReleasesRestoreInfo", Flow::Entire, {"FreeProjectRestoreInfo", "restore/RestoreRun.cpp", "RestoreRun::ReleaseRestoreInfo"}, 1, Shows::Nothing, Ends::Restored, 6},
    {"RestorePollsProgress",       Flow::Entire, {"GetTaskProgInfo", "restore/RestoreProgress.cpp", "CRestoreProgress::OnTimer"}, 1, Shows::Nothing, Ends::Restored, 0},
    {"RestoreWithdrawsTaskEnd",    Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 1}, 6, Shows::Nothing, Ends::Restored, 0},
    {"RestoreWithdrawsMessages",   Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 2}, 7, Shows::Nothing, Ends::Restored, 0},
    {"RestoreWithdrawsMediaPrompt", Flow::Entire, {"SetNotifyFunction", "restore/RestoreNotifications.cpp", "SetCallbacks", 3}, 8, Shows::Nothing, Ends::Restored, 0},
    {"RestoreStopped",             Flow::Cancelled, {"TaskControl", "restore/RestoreProgress.cpp", "SendStop"}, 1, Shows::Nothing, Ends::Cancelled, 0},
};
// clang-format on

// ---------------------------------------------------------------------------------------
// The walk, in this process: the wizard window driven through its messages, message
// boxes answered by the hook, the password typed into its dialog.

class SweepWizard : public palto::test::TestWizard {
public:
    using CPaltoDlg::m_typePage;
};

// A window of this thread, shown, that holds control `id`.
HWND ShownWindowWith(int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM parameter) {
            auto& s = *reinterpret_cast<Search*>(parameter);
            if (!::IsWindowVisible(window) || !::GetDlgItem(window, s.id)) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// What the user does in the windows the wizard opens over itself: types the password,
// and in a cancelled walk cancels the restore once it shows progress. Runs from a thread
// timer, inside whichever modal loop is running.
class Helper {
public:
    Helper(Flow flow, MessageBoxes& boxes) : m_flow(flow), m_boxes(boxes)
    {
        s_helper = this;
        m_timer = ::SetTimer(nullptr, 0, 30, &Tick);
    }
    ~Helper()
    {
        ::KillTimer(nullptr, m_timer);
        s_helper = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_helper && !s_helper->m_busy) {
            s_helper->m_busy = true;
            s_helper->Act();
            s_helper->m_busy = false;
        }
    }
    void Act()
    {
        if (HWND password = ShownWindowWith(IDC_PASSWORD)) {
            ::SetDlgItemTextW(password, IDC_PASSWORD, L"harbour7");
            Click(password, IDOK);
            return;
        }
        HWND progress = ShownWindowWith(IDC_PROGRESS_PERCENT);
        if (m_flow == Flow::Cancelled && progress && !m_cancelled &&
            ::GetWindowTextLengthW(::GetDlgItem(progress, IDC_PROGRESS_PERCENT)) > 0) {
            m_cancelled = true;
            m_boxes.Answer(IDYES);
            Click(progress, IDCANCEL);
        }
    }
    static inline Helper* s_helper = nullptr;
    Flow m_flow;
    MessageBoxes& m_boxes;
    UINT_PTR m_timer = 0;
    bool m_busy = false;
    bool m_cancelled = false;
};

class WizardWalk : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        palto::test::LoadEnglishResources();
        ::InitCommonControls();
    }

    // Walks the wizard from step 1 to the end of the program: Next on every step; where a
    // press did not move on, or Next is disabled, the user tries again the way the page
    // offers (the source page's "latest backup" option, Back on a destination page, Next
    // again on the summary). False when the application's quit did not come in time.
    bool Walk(Flow flow)
    {
        Deadline deadline(30000);
        Helper helper(flow, boxes);
        const int type = flow == Flow::Entire ? IDC_TYPE_ENTIRE : IDC_TYPE_PARTITION;
        for (int id : {IDC_TYPE_ENTIRE, IDC_TYPE_DISK, IDC_TYPE_PARTITION})
            wizard->m_typePage.CheckDlgButton(id, id == type ? BST_CHECKED : BST_UNCHECKED);
        bool wentBack = false;
        bool retry = false;
        for (int action = 0; action < 30 && !quit; ++action) {
            const int step = wizard->m_nStep;
            const std::size_t seen = boxes.shown().size();
            if (flow == Flow::Partition && step == 4 && !wentBack) {
                wentBack = true;
                wizard->Command(IDC_BACK);
            } else if (!retry && NextEnabled()) {
                wizard->Command(IDC_NEXT);
            } else if (step == 2) {
                Click(wizard->Page(IDD_SOURCE_PAGE), IDC_SRC_LATEST);
            } else if (step == 3) {
                wizard->Command(IDC_BACK);
            } else {
                wizard->Command(IDC_NEXT);
            }
            // A worker may be opening the backup: the wizard takes input again when it is done.
            PumpUntil([&] { return wizard->IsWindowEnabled() != FALSE; });
            retry = wizard->m_nStep == step && boxes.shown().size() > seen;
        }
        return quit && !Deadline::Expired();
    }

    bool NextEnabled() const { return ::IsWindowEnabled(wizard->GetDlgItem(IDC_NEXT)) != FALSE; }

    // Handles this thread's messages until `done` holds or the quit comes.
    void PumpUntil(const std::function<bool()>& done)
    {
        while (!quit) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    quit = true;
                    return;
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (done()) return;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    std::optional<SimEngine> engine;
    palto::test::EngineBlocks blocks;
    ScopedContext context;
    MessageBoxes boxes;
    std::optional<SweepWizard> wizard;
    bool quit = false;
};

class FaultSweep : public WizardWalk, public testing::WithParamInterface<std::tuple<Place, int>> {};

void PrintTo(const Place& place, std::ostream* out)
{
    *out << place.name;
}

std::string CatalogFor(Flow flow, const std::string& faults)
{
    return palto::test::WalkCatalog(faults, flow == Flow::Cancelled ? 60000 : 1200);
}

std::wstring ExpectedText(Shows shows, int code)
{
    switch (shows) {
    case Shows::Nothing: return L"";
    case Shows::CodeText: return kTexts.at(std::to_string(code));
    case Shows::CannotRead: return kTexts.at("cannot read");
    case Shows::WrongPassword: return kTexts.at("wrong password");
    }
    return L"";
}

TEST_P(FaultSweep, TheWizardSaysWhatFailedAndGoesOn)
{
    const auto& [place, code] = GetParam();
    engine.emplace(CatalogFor(place.flow, R"([{"operation": ")" + place.site.operation + R"(", "call": )" +
                                              std::to_string(place.call) + R"(, "code": )" + std::to_string(code) +
                                              "}]"));
    wizard.emplace();
    ASSERT_TRUE(wizard->Create(IDD_MAIN));

    const bool ended = Walk(place.flow);

    // The walk waits for the wizard to take input again after every action, so a wizard
    // left disabled shows here as a walk that did not end. (Once the program is ending,
    // its window takes no more input until the quit.)
    EXPECT_TRUE(ended) << "the program did not end in time, or the wizard was left disabled; step " << wizard->m_nStep;
    EXPECT_FALSE(ShownWindowWith(IDC_PASSWORD)) << "the password dialog stayed";
    EXPECT_FALSE(ShownWindowWith(IDC_PROGRESS_PERCENT)) << "the progress page stayed";

    const std::wstring fault = ExpectedText(place.shows, code);
    std::vector<std::wstring> others;
    int faultShown = 0;
    for (const std::wstring& text : boxes.texts()) {
        if (!fault.empty() && text == fault) ++faultShown;
        else if (std::none_of(kWalkTexts.begin(), kWalkTexts.end(), [&](const std::string& k) { return kTexts.at(k) == text; }))
            others.push_back(text);
    }
    if (!fault.empty()) EXPECT_EQ(faultShown, 1) << "the fault's text";
    EXPECT_TRUE(others.empty()) << "unexpected message: " << testing::PrintToString(others);

    const auto texts = boxes.texts();
    const bool restored = std::find(texts.begin(), texts.end(), kTexts.at("restored")) != texts.end();
    EXPECT_EQ(restored, place.ends == Ends::Restored);
    if (place.ends == Ends::NotStarted) {
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back(), fault) << "the progress page ends with the fault's text";
    }

    // The wizard goes, and gives back what it still held.
    wizard->DestroyWindow();
    wizard.reset();

    // The fault was met where the table says.
    const auto calls = engine->Journal(place.site.operation);
    ASSERT_GE(calls.size(), static_cast<std::size_t>(place.call)) << "the walk never made that call";
    const nlohmann::json& failed = calls[place.call - 1]["result"];
    EXPECT_TRUE(failed == code || failed == false) << "call " << place.call << " gave " << failed.dump();

    HalvexSimReset();   // stops a task that a failed stop left running
    EXPECT_EQ(blocks.Outstanding(), place.kept) << "engine blocks left out";
}

std::string PlaceName(const testing::TestParamInfo<std::tuple<Place, int>>& info)
{
    const int code = std::get<1>(info.param);
    return std::string(std::get<0>(info.param).name) + (code == -1000100 ? "_KnownCode" : "_UnknownCode");
}

INSTANTIATE_TEST_SUITE_P(EveryCall, FaultSweep, testing::Combine(testing::ValuesIn(kPlaces), testing::Values(-1000100, -1000777)),
                         PlaceName);

// Without faults every walk ends as it should and gives back every block.
class FaultlessWalk : public WizardWalk, public testing::WithParamInterface<Flow> {};

TEST_P(FaultlessWalk, EndsAsItShould)
{
    const Flow flow = GetParam();
    engine.emplace(CatalogFor(flow, "[]"));
    wizard.emplace();
    ASSERT_TRUE(wizard->Create(IDD_MAIN));
    EXPECT_TRUE(Walk(flow)) << "the program did not end in time; step " << wizard->m_nStep;
    using Texts = std::vector<std::wstring>;
    const Texts texts = boxes.texts();
    switch (flow) {
    case Flow::Entire:
        EXPECT_EQ(texts, Texts{kTexts.at("restored")});
        break;
    case Flow::Partition:
        EXPECT_EQ(texts, (Texts{kTexts.at("insert disc"), kTexts.at("restored")}));
        break;
    case Flow::Cancelled:
        // The stopped task's end may still reach the page before the program ends.
        EXPECT_TRUE(texts == (Texts{kTexts.at("insert disc"), kTexts.at("cancel?")}) ||
                    texts == (Texts{kTexts.at("insert disc"), kTexts.at("cancel?"), kTexts.at("not finished")}))
            << testing::PrintToString(texts);
        break;
    }
    wizard->DestroyWindow();
    wizard.reset();
    HalvexSimReset();
    EXPECT_EQ(blocks.Outstanding(), 0);
}

INSTANTIATE_TEST_SUITE_P(Flows, FaultlessWalk, testing::Values(Flow::Entire, Flow::Partition, Flow::Cancelled),
                         [](const testing::TestParamInfo<Flow>& info) { return std::string(Name(info.param)); });

// ---------------------------------------------------------------------------------------
// Coverage: the call sites of the engine's operations in the wizard's sources.

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The source dir as this program sees it under Wine: the Unix root is drive Z:.
std::filesystem::path SourceDir()
{
    return std::filesystem::path(std::string("Z:") + PALTO_SOURCE_DIR);
}

// The text with comments, string and character literals and preprocessor lines blanked
// out (line breaks kept), so that only code is scanned.
std::string CodeOnly(const std::string& text)
{
    std::string code = text;
    enum { Code, Line, Block, String, Char } state = Code;
    bool lineStart = true;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        const char next = i + 1 < code.size() ? code[i + 1] : 0;
        switch (state) {
        case Code:
            if (lineStart && c == '#') state = Line;
            else if (c == '/' && next == '/') state = Line;
            else if (c == '/' && next == '*') state = Block;
            else if (c == '"') state = String;
            else if (c == '\'') state = Char;
            break;
        case Line:
            if (c == '\n') state = Code;
            break;
        case Block:
            if (c == '*' && next == '/') {
                code[i] = code[i + 1] = ' ';
                ++i;
                state = Code;
                continue;
            }
            break;
        case String:
        case Char:
            if (c == '\\') {
                code[i] = ' ';
                if (code[i + 1] != '\n') code[i + 1] = ' ';
                ++i;
                continue;
            }
            if (c == (state == String ? '"' : '\'')) {
                code[i] = ' ';
                state = Code;
                continue;
            }
            break;
        }
        if (c == '\n') lineStart = true;
        else if (c != ' ' && c != '\t') lineStart = false;
        if (state != Code && c != '\n') code[i] = ' ';
    }
    return code;
}

// The operations of the engine client: the member functions of class Caller.
std::set<std::string> CallerOperations()
{
    const std::string header = CodeOnly(ReadFile(SourceDir() / "engine/Halvex.h"));
    const std::size_t begin = header.find("class HALVEX_API Caller {");
    const std::size_t end = header.find("};", begin);
    std::set<std::string> operations;
    const std::string body = header.substr(begin, end - begin);
    const std::regex member(R"(\b([A-Za-z]\w*)\s*\()");
    for (auto m = std::sregex_iterator(body.begin(), body.end(), member); m != std::sregex_iterator(); ++m) {
        if ((*m)[1] != "Caller") operations.insert((*m)[1]);
    }
    return operations;
}

// The name of the function a header (the text before its brace) declares; empty when it
// declares none (a class, a namespace, a control statement, a lambda).
std::string FunctionName(const std::string& header)
{
    static const std::regex keyword(R"(^\s*(if|for|while|switch|catch|else|do|try|return|namespace|class|struct|enum|union)\b)");
    const std::size_t paren = header.find('(');
    if (paren == std::string::npos || std::regex_search(header, keyword)) return {};
    const std::string before = header.substr(0, paren);
    if (before.find('=') != std::string::npos || before.find('[') != std::string::npos) return {};
    std::smatch name;
    static const std::regex last(R"(([A-Za-z_~][\w:~]*)\s*$)");
    return std::regex_search(before, name, last) ? name[1].str() : std::string();
}

// Every call of an engine operation in one file, with the function around it.
std::vector<Site> CallSites(const std::string& file, const std::set<std::string>& operations)
{
    const std::string code = CodeOnly(ReadFile(SourceDir() / file));
    static const std::regex call(R"((\.|->|::)\s*([A-Za-z]\w*)\s*\()");
    std::map<std::size_t, std::string> calls;   // position -> operation
    for (auto m = std::sregex_iterator(code.begin(), code.end(), call); m != std::sregex_iterator(); ++m) {
        if (operations.count((*m)[2])) calls[static_cast<std::size_t>(m->position(2))] = (*m)[2];
    }
    // One pass with the scopes open at each position: a function's name, or empty.
    std::vector<Site> sites;
    std::map<std::pair<std::string, std::string>, int> seen;   // (function, operation) -> calls so far
    std::vector<std::string> scopes;
    std::string header;
    static const std::regex macroLine(R"(^\s*[A-Z][A-Z0-9_]*\(.*\)\s*$)");
    const auto enclosing = [&] {
        for (auto s = scopes.rbegin(); s != scopes.rend(); ++s)
            if (!s->empty()) return *s;
        return FunctionName(header);
    };
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (const auto found = calls.find(i); found != calls.end()) {
            const std::string function = enclosing();
            const int occurrence = ++seen[{function, found->second}];
            sites.push_back({found->second, file, function, occurrence});
        }
        if (c == '{') {
            const bool inFunction = std::any_of(scopes.begin(), scopes.end(), [](const std::string& s) { return !s.empty(); });
            scopes.push_back(inFunction ? std::string() : FunctionName(header));
            header.clear();
        } else if (c == '}') {
            if (!scopes.empty()) scopes.pop_back();
            header.clear();
        } else if (c == ';') {
            header.clear();
        } else if (c == '\n') {
            // A macro on a line of its own (a message map entry) ends no statement with ';'.
            const std::size_t lineStart = header.rfind('\n');
            const std::string line = header.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
            if (std::regex_match(line, macroLine)) header.clear();
            else header += c;
        } else {
            header += c;
        }
    }
    return sites;
}

// The wizard's own sources: everything but the engine, the framework, the tools and the tests.
std::vector<std::string> WizardSources()
{
    std::vector<std::string> files;
    for (const char* folder : {"app", "frame", "pages", "restore", "testmode"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(SourceDir() / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".cpp" || extension == ".h")
                files.push_back(std::filesystem::relative(entry.path(), SourceDir()).generic_string());
        }
    }
    return files;
}

std::string Describe(const std::set<Site>& sites)
{
    std::string text;
    for (const Site& s : sites)
        text += "\n  " + s.operation + " in " + s.file + " " + s.function + " #" + std::to_string(s.occurrence);
    return text;
}

TEST(FaultSweepCoverage, TheTableNamesEveryCallOfTheEngineInTheWizard)
{
    const std::set<std::string> operations = CallerOperations();
    ASSERT_TRUE(operations.count("QueryProjects") && operations.count("EncryptString"))
        << "the engine's operations were not found in engine/Halvex.h";

    std::set<Site> inSources;
    for (const std::string& file : WizardSources())
        for (Site& site : CallSites(file, operations)) inSources.insert(std::move(site));
    std::set<Site> inTable;
    for (const Place& place : kPlaces) inTable.insert(place.site);

    std::set<Site> untested, gone;
    std::set_difference(inSources.begin(), inSources.end(), inTable.begin(), inTable.end(),
                        std::inserter(untested, untested.end()));
    std::set_difference(inTable.begin(), inTable.end(), inSources.begin(), inSources.end(),
                        std::inserter(gone, gone.end()));
    EXPECT_TRUE(untested.empty()) << "engine calls that no place of the sweep fails:" << Describe(untested);
    EXPECT_TRUE(gone.empty()) << "places of the sweep whose call is not in the sources:" << Describe(gone);
    std::cout << "The sweep fails these engine calls, each with a known and an unknown code:" << Describe(inTable)
              << std::endl;
}

}  // namespace
