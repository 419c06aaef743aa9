// Benchmark, not a test: the time the source page's own code spends building its latest
// list and the memory the page holds afterwards, against the stand-in engine's own time
// for the same queries, with catalogs of 10, 100 and 500 projects of five backups each.
//
//   scripts/wine build/windows/tests/source_page_benchmark.exe [ROUNDS]
//
// Prints one line per catalog size: the page's whole build (a click on the latest-mode
// button), the engine's calls in it, the rest (the page's own) and its ratio to the
// engine's, how much of it goes into the descriptions, and the resident memory the page
// holds once built, also against the figure at 10 projects. Times are medians
// over the rounds (default 7).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/EngineClient.h"
#include "frame/PaltoDlg.h"
#include "pages/SourceChoice.h"
#include "resources/ids.h"
#include "simengine/HalvexSim.h"

namespace {

double Milliseconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// `count` partition backups on C:, each with five backups a week apart.
std::string CatalogOf(int count)
{
    std::string projects;
    for (int id = 1; id <= count; ++id) {
        std::string history;
        for (int week = 0; week < 5; ++week) {
            const unsigned long long time = 134357004000000000ull + (id * 5ull + week) * 6048000000000ull;
            history += (week ? "," : "") + std::string("{\"time\":") + std::to_string(time) + "}";
        }
        projects += (id > 1 ? "," : "") + std::string("{\"id\":") + std::to_string(id) +
                    ",\"description\":\"Backup project number " + std::to_string(id) +
                    "\",\"location\":\"C:\\\\Backups\\\\" + std::to_string(id) +
                    "\",\"layout\":{\"disks\":[{\"number\":0,\"size\":512110190592,\"partitions\":[{\"number\":1,"
                    "\"driveLetter\":\"C\",\"size\":322122547200,\"selected\":true}]}]},\"history\":[" +
                    history + "]}";
    }
    return "{\"thisComputer\":{\"disks\":[{\"number\":0,\"size\":512110190592}]},\"projects\":[" + projects + "]}";
}

// Serves a catalog from a file of this process, without a journal, from a fresh engine.
void ServeCatalog(const std::string& json)
{
    const std::wstring path = palto::test::ProgramFolder() + L"\\benchmark-catalog.json";
    std::ofstream(path.c_str(), std::ios::binary) << json;
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", path.c_str());
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", nullptr);
    HalvexSimReset();
}

// The engine calls of one build of the latest list, as the page makes them, each timed
// on its own: the project list, a description of each project into the one block the
// page reuses (renewed there, untimed) and handed back at once, each history, and
// the history of the project picked.
double EngineMilliseconds(Caller& engine)
{
    double total = 0;
    _Projects* projects = nullptr;
    total += Milliseconds([&] { engine.QueryProjects(&projects, false, kAnyDrive); });
    const std::vector<unsigned> ids(projects->ids, projects->ids + projects->count);
    auto desc = std::make_unique<_ProjectDesc>();
    for (unsigned id : ids) {
        palto::RenewDescription(*desc);
        total += Milliseconds([&] {
            engine.QueryProject(id, *desc, kAnyDrive);
            engine.FreeProject(*desc);
        });
    }
    for (std::size_t i = 0; i <= ids.size(); ++i) {
        const unsigned id = ids[std::min(i, ids.size() - 1)];
        total += Milliseconds([&] {
            _ProjectHistoryList* history = nullptr;
            engine.QueryProjectHistory(id, &history, kAnyDrive);
            engine.FreeProjectHistory(history);
        });
    }
    total += Milliseconds([&] { engine.FreeProjects(&projects); });
    return total;
}

class Wizard : public CPaltoDlg {
public:
    using CPaltoDlg::m_sourcePage;
    using CPaltoDlg::m_typePage;
};

// The part of the page's own time that goes into its descriptions: one block for the
// build, brought back to the state of a new description after each engine's answer.
double DescriptionMilliseconds(Caller& engine)
{
    _Projects* projects = nullptr;
    engine.QueryProjects(&projects, false, kAnyDrive);
    const std::vector<unsigned> ids(projects->ids, projects->ids + projects->count);
    engine.FreeProjects(&projects);
    double total = 0;
    auto desc = std::make_unique<_ProjectDesc>();
    for (unsigned id : ids) {
        engine.QueryProject(id, *desc, kAnyDrive);
        engine.FreeProject(*desc);
        total += Milliseconds([&] { palto::RenewDescription(*desc); });
    }
    return total;
}

// The resident memory of the process in MiB (Wine reports no private bytes).
double WorkingSetMib()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / 1048576.0;
}

// The wizard on step 2 of a partition restore: the source page has built its list once.
std::unique_ptr<Wizard> WizardOnTheSourcePage()
{
    auto wizard = std::make_unique<Wizard>();
    wizard->Create(IDD_MAIN);
    wizard->m_typePage.CheckDlgButton(IDC_TYPE_ENTIRE, BST_UNCHECKED);
    wizard->m_typePage.CheckDlgButton(IDC_TYPE_PARTITION, BST_CHECKED);
    wizard->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED), 0);
    return wizard;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    palto::test::LoadEnglishResources();
    palto::test::ScopedContext context;
    // What the process loads once for any wizard (fonts, dialogs of the module) counts in no row.
    ServeCatalog(CatalogOf(10));
    WizardOnTheSourcePage().reset();

    std::printf("projects  page build ms  engine ms  page's own ms  own/engine  of it descriptions ms  held MiB  "
                "held - at 10 MiB\n");
    double heldAt10 = 0;
    for (int count : {10, 100, 500}) {
        ServeCatalog(CatalogOf(count));
        Caller& engine = GetEngineClient();
        EngineMilliseconds(engine);  // warms the engine up

        std::vector<double> engineTimes, pageTimes, descriptionTimes;
        for (int i = 0; i < rounds; ++i) {
            engineTimes.push_back(EngineMilliseconds(engine));
            descriptionTimes.push_back(DescriptionMilliseconds(engine));
        }

        const double before = WorkingSetMib();
        auto wizard = WizardOnTheSourcePage();
        CSrcDlg_HardDrive_Partition& page = wizard->m_sourcePage;
        for (int i = 0; i < rounds; ++i) {
            pageTimes.push_back(Milliseconds([&] {
                page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SRC_LATEST, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(page.GetDlgItem(IDC_SRC_LATEST)));
            }));
        }
        const double held = WorkingSetMib() - before;
        if (count == 10) heldAt10 = held;
        const double pageMs = Median(pageTimes), engineMs = Median(engineTimes);
        std::printf("%8d  %13.1f  %9.1f  %13.1f  %10.2f  %21.1f  %8.1f  %16.1f\n", count, pageMs, engineMs,
                    pageMs - engineMs, (pageMs - engineMs) / engineMs, Median(descriptionTimes), held, held - heldAt10);
        wizard.reset();
        if (HalvexSimOutstandingAllocations() != 0) std::printf("engine allocations left outstanding\n");
    }
    ::DeleteFileW((palto::test::ProgramFolder() + L"\\benchmark-catalog.json").c_str());
    return 0;
}
