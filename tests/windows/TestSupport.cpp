#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "app/ResourceModule.h"
#include "tests/ReportName.h"

namespace palto::test {

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

std::wstring ModuleText(const std::wstring& path, UINT id)
{
    HMODULE module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring result(text && length > 0 ? text : L"", length > 0 ? length : 0);
    ::FreeLibrary(module);
    return result;
}

void LoadEnglishResources()
{
    static const bool loaded = TryLoadResourceModule(ProgramFolder().c_str(), L"ENU", theApp.m_langId);
    if (!loaded) throw std::runtime_error("MainrENU.dll is not beside the test program");
}

ScopedContext::ScopedContext() : m_context(std::make_unique<WizardContext>())
{
    theApp.m_pContext = m_context.get();
}

ScopedContext::~ScopedContext()
{
    theApp.m_pContext = nullptr;
}

MessageBoxes::MessageBoxes()
{
    SetMessageHandler([this](HWND owner, const CString& text, UINT style) {
        std::lock_guard lock(m_lock);
        m_shown.push_back({owner, MaskReportName(text.str()), style, ::IsWindowEnabled(::GetAncestor(owner, GA_ROOT)) != 0});
        if (m_answers.empty()) return IDOK;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

MessageBoxes::~MessageBoxes()
{
    SetMessageHandler({});
}

void MessageBoxes::Answer(int button)
{
    std::lock_guard lock(m_lock);
    m_answers.push_back(button);
}

std::vector<MessageBoxes::Shown> MessageBoxes::shown() const
{
    std::lock_guard lock(m_lock);
    return m_shown;
}

std::vector<std::wstring> MessageBoxes::texts() const
{
    std::vector<std::wstring> texts;
    for (const Shown& box : shown()) texts.push_back(box.text);
    return texts;
}

namespace {
std::map<UINT_PTR, std::function<void()>>& PendingActions()
{
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto node = PendingActions().extract(id);
    if (!node.empty()) node.mapped()();
}
}  // namespace

void RunSoon(std::function<void()> action, UINT delayMs)
{
    const UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, &RunPendingAction);
    PendingActions()[id] = std::move(action);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

namespace {
bool g_deadlineExpired = false;

void CALLBACK ExpireDeadline(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_deadlineExpired = true;
    ::PostQuitMessage(99);
}
}  // namespace

Deadline::Deadline(UINT ms) : m_id(::SetTimer(nullptr, 0, ms, &ExpireDeadline))
{
    g_deadlineExpired = false;
}

Deadline::~Deadline()
{
    ::KillTimer(nullptr, m_id);
}

bool Deadline::Expired()
{
    return g_deadlineExpired;
}

void Script::When(std::function<bool()> condition, std::function<void()> step)
{
    RunSoon([alive = m_alive, condition, step, this] {
        if (!*alive) return;
        if (condition()) step();
        else When(condition, step);
    }, m_pollMs);
}

std::vector<std::wstring> ComboEntries(HWND list)
{
    std::vector<std::wstring> entries;
    const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, i, 0)), L'\0');
        ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        entries.push_back(text);
    }
    return entries;
}

namespace {
constexpr wchar_t kChildVariable[] = L"PALTO_TEST_CHILD";
}

int TestMain(int argc, char** argv, const ChildScenarios& scenarios)
{
    wchar_t name[128] = {};
    if (::GetEnvironmentVariableW(kChildVariable, name, 128) > 0) {
        const std::wstring wide(name);
        const auto found = scenarios.find(std::string(wide.begin(), wide.end()));
        return found == scenarios.end() ? 255 : found->second();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

DWORD RunInChild(const std::string& scenario, std::wstring commandLine, const std::wstring& programPath)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring program = programPath.empty() ? std::wstring(self) : programPath;
    ::SetEnvironmentVariableW(kChildVariable, std::wstring(scenario.begin(), scenario.end()).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    DWORD code = STILL_ACTIVE;
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &info)) {
        if (::WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
        else ::TerminateProcess(info.hProcess, STILL_ACTIVE);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    ::SetEnvironmentVariableW(kChildVariable, nullptr);
    return code;
}

}  // namespace palto::test
