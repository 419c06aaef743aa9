#include "Automation.h"

#include <tlhelp32.h>

#include <vector>

#include "resources/ids.h"

namespace palto::e2e {

namespace {
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

bool IsDialog(HWND window) { return ClassOf(window) == L"#32770"; }

// Asks `done` every 50 ms until it says yes or the time is up.
bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    do {
        if (done()) return true;
        ::Sleep(50);
    } while (::GetTickCount64() < end);
    return false;
}
}  // namespace

Process::Process(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (exe.size() >= MAX_PATH) {
        StartThroughWineLauncher(exe, commandLine);
    } else if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &m_info)) {
        m_info = {};
    }
}

// Wine's CreateProcessW refuses a program whose path has MAX_PATH characters or more;
// Wine's own launcher, a Unix program that CreateProcessW runs, starts it. The new
// process is then found by the path of its program.
void Process::StartThroughWineLauncher(const std::wstring& exe, const std::wstring& commandLine)
{
    std::wstring launch = L"" PALTO_WINE_LAUNCHER L" " + commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION launcher{};
    if (!::CreateProcessW(nullptr, launch.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &launcher)) {
        return;
    }
    ::CloseHandle(launcher.hThread);
    ::CloseHandle(launcher.hProcess);

    const DWORD start = ::GetTickCount();
    while (!m_info.hProcess && ::GetTickCount() - start < 20000) {
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !m_info.hProcess;
             more = ::Process32NextW(snapshot, &entry)) {
            HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                           entry.th32ProcessID);
            if (!process) continue;
            std::wstring image(32768, L'\0');
            DWORD length = static_cast<DWORD>(image.size());
            if (::QueryFullProcessImageNameW(process, 0, image.data(), &length) &&
                ::CompareStringOrdinal(image.c_str(), static_cast<int>(length), exe.c_str(), static_cast<int>(exe.size()),
                                       TRUE) == CSTR_EQUAL) {
                m_info.hProcess = process;
                m_info.dwProcessId = entry.th32ProcessID;
            } else {
                ::CloseHandle(process);
            }
        }
        ::CloseHandle(snapshot);
        if (!m_info.hProcess) ::Sleep(50);
    }
}

Process::~Process()
{
    if (!m_info.hProcess) return;
    if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_info.hProcess, 99);
    if (m_info.hThread) ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

DWORD Process::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(m_info.hProcess, &code);
    }
    return code;
}

WindowMatch MatchSelector(const std::wstring& selector)
{
    if (selector == L"wizard") {
        return [](HWND w) {
            return IsDialog(w) && ::GetDlgItem(w, IDC_BACK) && ::GetDlgItem(w, IDC_NEXT) && ::GetDlgItem(w, IDC_WIZARD_CANCEL);
        };
    }
    if (selector == L"box") {
        return [](HWND w) { return IsDialog(w) && ::GetDlgItem(w, kMessageBoxTextId); };
    }
    if (selector == L"progress") {
        return [](HWND w) { return IsDialog(w) && ::GetDlgItem(w, IDC_PROGRESS_BAR) && ::GetDlgItem(w, IDC_PROGRESS_STAGE); };
    }
    if (selector == L"password") {
        return [](HWND w) { return IsDialog(w) && ::GetDlgItem(w, IDC_PASSWORD) && ::GetDlgItem(w, IDOK); };
    }
    return [selector](HWND w) { return TextOf(w) == selector; };
}

HWND FindTopWindow(DWORD processId, const WindowMatch& match)
{
    struct Search {
        DWORD processId;
        const WindowMatch* match;
        HWND found;
    } search{processId, &match, nullptr};
    ::EnumWindows(
        [](HWND w, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            if ((s->processId == 0 || owner == s->processId) && ::IsWindowVisible(w) && (*s->match)(w)) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD processId, const WindowMatch& match, DWORD timeoutMs)
{
    HWND found = nullptr;
    PollUntil([&] { return (found = FindTopWindow(processId, match)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitUntilGone(DWORD processId, const WindowMatch& match, DWORD timeoutMs)
{
    return PollUntil([&] { return !FindTopWindow(processId, match); }, timeoutMs);
}

HWND FindControl(HWND top, int id)
{
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    ::EnumChildWindows(
        top,
        [](HWND w, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(w) == s->id) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    std::vector<wchar_t> text(length + 1);
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                          2000, &copied);
    return std::wstring(text.data(), copied);
}

std::vector<std::wstring> ComboEntries(HWND combo)
{
    std::vector<std::wstring> entries;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return entries;
    for (WPARAM i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::vector<wchar_t> text(length + 1);
        ::SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                              &length);
        entries.emplace_back(text.data());
    }
    return entries;
}

std::wstring MessageBoxText(HWND box)
{
    HWND text = ::GetDlgItem(box, kMessageBoxTextId);
    return text ? TextOf(text) : std::wstring();
}

bool WaitForText(HWND window, const std::wstring& text, DWORD timeoutMs)
{
    return PollUntil([&] { return TextOf(window) == text; }, timeoutMs);
}

HWND FocusedWindow(DWORD processId)
{
    HWND top = FindTopWindow(processId, [](HWND) { return true; });
    if (!top) return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus : nullptr;
}

void Click(HWND button)
{
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

void PressKey(HWND window, UINT virtualKey)
{
    ::PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

}  // namespace palto::e2e
