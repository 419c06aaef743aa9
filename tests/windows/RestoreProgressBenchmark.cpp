// Benchmark, not a test: the time the restore progress page spends on one progress tick
// (timer 1: the engine's progress call, the overall value, the stage label, the time
// text, the bar and the percentage), against the stand-in engine's own time for the same
// progress call.
//
//   scripts/wine build/windows/tests/restore_progress_benchmark.exe [ROUNDS]
//
// Runs a real restore of the stand-in engine (no journal) under the real page, and once
// the page polls, times batches of 1,000 ticks sent to the page and 1,000 progress calls
// made on their own, and the page's controls written again as a tick writes them. Prints
// the medians over ROUNDS batches (default 7) per tick.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "HalvexTestSupport.h"
#include "TestSupport.h"
#include "app/EngineClient.h"
#include "resources/ids.h"
#include "restore/RestoreProgress.h"

namespace {

using namespace palto::test;

constexpr int kTicksPerBatch = 1000;

double Microseconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    work();
    ::QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Waits inside the page's loop until it polls, then measures and ends the loop.
struct Batches {
    std::vector<double> ticks, engine, controls;
};

constexpr int kTexts[] = {IDC_PROGRESS_STAGE, IDC_PROGRESS_TIME, IDC_PROGRESS_PERCENT};

// The controls written again as a tick writes them: three texts and the bar.
void RewriteControls(CRestoreProgress& page, const std::vector<CString>& texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i) page.SetDlgItemText(kTexts[i], texts[i]);
    ::SendDlgItemMessageW(page, IDC_PROGRESS_BAR, PBM_SETPOS, 80, 0);
}

void MeasureWhenPolling(CRestoreProgress& page, int rounds, Batches& batches)
{
    RunSoon([&page, rounds, &batches] {
        if (!page.Polling()) return MeasureWhenPolling(page, rounds, batches);
        for (int round = 0; round < rounds; ++round) {
            batches.ticks.push_back(Microseconds([&] {
                for (int i = 0; i < kTicksPerBatch; ++i) page.SendMessage(WM_TIMER, CRestoreProgress::kProgressTimer);
            }) / kTicksPerBatch);
            batches.engine.push_back(Microseconds([&] {
                for (int i = 0; i < kTicksPerBatch; ++i) {
                    _ProgressInfo progress{};
                    GetEngineClient().GetTaskProgInfo(kRestoreProject, progress);
                }
            }) / kTicksPerBatch);
            std::vector<CString> texts;
            for (int id : kTexts) texts.push_back(CWnd::TextOf(page.GetDlgItem(id)));
            batches.controls.push_back(Microseconds([&] {
                for (int i = 0; i < kTicksPerBatch; ++i) RewriteControls(page, texts);
            }) / kTicksPerBatch);
        }
        ::PostQuitMessage(0);
    }, 20);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    LoadEnglishResources();
    ::InitCommonControls();

    const std::wstring catalog = ProgramFolder() + L"\\restore-benchmark-catalog.json";
    std::ofstream(std::filesystem::path(catalog), std::ios::binary)
        << RestoreCatalog(R"([{"phase": 9, "ms": 600000}])");
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", catalog.c_str());
    ::SetEnvironmentVariableW(L"HALVEX_SIM_JOURNAL", nullptr);
    HalvexSimReset();

    ScopedContext context;
    if (!ChooseRestore(*context)) {
        std::fprintf(stderr, "the stand-in engine has no restore to run\n");
        return 1;
    }

    Batches batches;
    {
        CRestoreProgress page(*context);
        MeasureWhenPolling(page, rounds, batches);
        page.DoModal();
        MSG quit;
        ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    HalvexSimReset();
    ::DeleteFileW(catalog.c_str());
    if (batches.ticks.empty()) {
        std::fprintf(stderr, "the page never polled\n");
        return 1;
    }

    const double tick = Median(batches.ticks), call = Median(batches.engine), controls = Median(batches.controls);
    std::printf("per tick, median of %d batches of %d: page %.1f us, engine %.1f us, page's own %.1f us, "
                "of it writing the controls %.1f us\n",
                rounds, kTicksPerBatch, tick, call, tick - call, controls);
    return 0;
}
