// The real Palto.exe walked from the first step to its end with an engine that fails
// every call of one operation: the user presses Next, answers what is asked, gives up
// with Cancel where the wizard cannot go on, and the program never crashes, never hangs,
// never stays disabled and always ends with exit code 0.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"
#include "WalkCatalog.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


const wchar_t kRestored[] = L"The restore has finished successfully. The program closes when you click OK.";

WindowMatch HasControl(int id)
{
    return [id](HWND window) { return ::GetDlgItem(window, id) != nullptr; };
}

// What the walk met.
struct WalkResult {
    bool ended = false;            // the program ended within the time
    DWORD exitCode = STILL_ACTIVE;
    bool progressShown = false;
    std::vector<std::wstring> boxes;
    std::string stuck;             // why the walk gave up waiting, if it did
};

// What can be seen of the program at one moment; the walk acts when it changes.
struct View {
    HWND box = nullptr, password = nullptr, progress = nullptr;
    bool enabled = false;
    std::wstring caption;
    bool operator==(const View&) const = default;
};

class Walker {
public:
    Walker(CatalogRun& run, int typeRadio) : m_run(run), m_typeRadio(typeRadio) {}

    // Presses Next on every step, at most three times on one step; then Cancel. Answers
    // every message box with OK, or Yes where it asks a question; types the
    // password twice at most, then cancels its dialog.
    WalkResult Run()
    {
        const HWND wizard = m_run.wizard();
        Click(FindControl(wizard, m_typeRadio));
        const ULONGLONG end = ::GetTickCount64() + 90000;
        ULONGLONG disabledSince = 0;
        while (::GetTickCount64() < end) {
            if (m_run.process().WaitForExit(0) != STILL_ACTIVE) break;
            const View view = Look();
            if (view.box) {
                m_result.boxes.push_back(MessageBoxText(view.box));
                const HWND yes = FindControl(view.box, IDYES);
                Click(yes ? yes : FindControl(view.box, IDOK));
                WaitForChange(view);
            } else if (view.password) {
                const bool again = ++m_passwordTries <= 2;
                if (again)
                    ::SendMessageW(FindControl(view.password, IDC_PASSWORD), WM_SETTEXT, 0,
                                   reinterpret_cast<LPARAM>(L"harbour7"));
                Click(FindControl(view.password, again ? IDOK : IDCANCEL));
                WaitForChange(view);
            } else if (view.progress) {
                m_result.progressShown = true;
                WaitForChange(view);
            } else if (!view.enabled) {
                // A worker runs: it must give the window back, or ask something, in time.
                if (!disabledSince) disabledSince = ::GetTickCount64();
                if (::GetTickCount64() - disabledSince > kWait) {
                    m_result.stuck = "the wizard stayed disabled";
                    break;
                }
                WaitForChange(view);
                continue;
            } else if (::IsWindowEnabled(FindControl(wizard, IDC_NEXT)) && ++m_presses[view.caption] <= 3) {
                Click(FindControl(wizard, IDC_NEXT));
                WaitForChange(view);
            } else {
                Click(FindControl(wizard, IDC_WIZARD_CANCEL));
                WaitForChange(view);
            }
            disabledSince = 0;
        }
        m_result.exitCode = m_run.process().WaitForExit(kWait);
        m_result.ended = m_result.exitCode != STILL_ACTIVE;
        return m_result;
    }

private:
    View Look() const
    {
        const DWORD id = m_run.process().id();
        View view;
        view.box = FindTopWindow(id, MatchSelector(L"box"));
        view.password = FindTopWindow(id, HasControl(IDC_PASSWORD));
        view.progress = FindTopWindow(id, MatchSelector(L"progress"));
        view.enabled = ::IsWindowEnabled(m_run.wizard()) != FALSE;
        view.caption = TextOf(FindControl(m_run.wizard(), IDC_STEP_CAPTION));
        return view;
    }

    // Waits until what can be seen differs from `before`, or the program ends; at most 3 s
    // (a press may change nothing that shows).
    void WaitForChange(const View& before) const
    {
        const ULONGLONG end = ::GetTickCount64() + 3000;
        while (::GetTickCount64() < end) {
            if (m_run.process().WaitForExit(0) != STILL_ACTIVE || !(Look() == before)) return;
            ::Sleep(30);
        }
    }

    CatalogRun& m_run;
    int m_typeRadio;
    WalkResult m_result;
    std::map<std::wstring, int> m_presses;   // Next presses per step caption
    int m_passwordTries = 0;
};

WalkResult WalkWith(const std::string& faults, int typeRadio)
{
    CatalogRun run(palto::test::WalkCatalog(faults));
    if (!run.wizard()) {
        WalkResult none;
        none.stuck = "the wizard was not shown";
        return none;
    }
    return Walker(run, typeRadio).Run();
}

// Every operation of the engine that the wizard calls.
const char* const kOperations[] = {
    "QueryProjects",       "FreeProjects",           "QueryProject",          "FreeProject",
    "QueryProjectHistory", "FreeProjectHistory",     "QueryArchiveProject",   "QueryProjectRestoreInfo",
    "FreeProjectRestoreInfo", "GetDRRestoreVolumesInfo", "ProjectRestoreCtrl", "GetTaskProgInfo",
    "TaskControl",         "SetNotifyFunction",      "EncryptString",
};

class EveryCallFails : public testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(EveryCallFails, TheWalkEndsCleanly)
{
    const auto& [operation, typeRadio] = GetParam();
    const WalkResult walk =
        WalkWith(R"([{"operation": ")" + std::string(operation) + R"(", "call": 0, "code": -1000100}])", typeRadio);
    EXPECT_TRUE(walk.stuck.empty()) << walk.stuck;
    ASSERT_TRUE(walk.ended) << "the program did not end; boxes: " << testing::PrintToString(walk.boxes);
    EXPECT_EQ(walk.exitCode, 0u) << "boxes: " << testing::PrintToString(walk.boxes);
}

INSTANTIATE_TEST_SUITE_P(Operations, EveryCallFails,
                         testing::Combine(testing::ValuesIn(kOperations), testing::Values(IDC_TYPE_ENTIRE, IDC_TYPE_PARTITION)),
                         [](const testing::TestParamInfo<std::tuple<const char*, int>>& info) {
                             return std::string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == IDC_TYPE_ENTIRE ? "_Entire" : "_Partition");
                         });

// The same walk without faults restores, so that the walks above are walks to the end.
TEST(FaultWalk, WithoutFaultsTheWalkRestoresAndEnds)
{
    for (const int typeRadio : {IDC_TYPE_ENTIRE, IDC_TYPE_PARTITION}) {
        SCOPED_TRACE(typeRadio);
        const WalkResult walk = WalkWith("[]", typeRadio);
        EXPECT_TRUE(walk.stuck.empty()) << walk.stuck;
        EXPECT_TRUE(walk.progressShown);
        ASSERT_FALSE(walk.boxes.empty());
        EXPECT_EQ(MaskReportName(walk.boxes.back()), WithReportIn(kRestored, BinFolder()));
        EXPECT_EQ(walk.exitCode, 0u);
    }
}

}  // namespace
