// launchtime: how long programs take from CreateProcessW to their first visible
// top-level window, measured in turn, the programs alternating.
//
//   launchtime RUNS PROGRAM...
//
// Each program is started once beforehand without being counted. Every window is
// closed through its system menu (SC_CLOSE) and the program waited for before the
// next start. Prints one line per program: runs, median, mean, minimum and maximum in
// milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 30000;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds to the first visible window, or a negative value when there was none.
double Launch(const std::wstring& program)
{
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    LARGE_INTEGER shown = start;
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &process)) {
        std::fwprintf(stderr, L"launchtime: cannot start %ls (error %lu)\n", program.c_str(), ::GetLastError());
        return -1;
    }
    Search search{process.dwProcessId, nullptr};
    while (!search.found && Seconds(start, shown) * 1000 < kTimeoutMs) {
        ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&shown);
        if (!search.found && ::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    const double ms = search.found ? Seconds(start, shown) * 1000 : -1;
    if (search.found) ::PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (::WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (ms < 0) std::fwprintf(stderr, L"launchtime: %ls showed no window\n", program.c_str());
    return ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 2 ? _wtoi(argv[1]) : 0;
    if (runs < 1) {
        std::fwprintf(stderr, L"usage: launchtime RUNS PROGRAM...\n");
        return 1;
    }
    const std::vector<std::wstring> programs(argv + 2, argv + argc);
    for (const std::wstring& program : programs) {
        if (Launch(program) < 0) return 2;
    }
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < programs.size(); ++i) {
            const double ms = Launch(programs[i]);
            if (ms < 0) return 2;
            times[i].push_back(ms);
        }
    }
    for (size_t i = 0; i < programs.size(); ++i) {
        std::vector<double>& t = times[i];
        std::sort(t.begin(), t.end());
        const double median = t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2;
        const double mean = std::accumulate(t.begin(), t.end(), 0.0) / static_cast<double>(t.size());
        const std::wstring& program = programs[i];
        std::wprintf(L"%ls: runs %zu, median %.1f ms, mean %.1f ms, min %.1f ms, max %.1f ms\n",
                     program.substr(program.find_last_of(L"\\/") + 1).c_str(), t.size(), median, mean, t.front(),
                     t.back());
    }
    return 0;
}
