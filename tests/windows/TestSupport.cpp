#include "TestSupport.h"

#include <map>

#include "app/ResourceModule.h"

namespace palto::test {

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
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
        m_shown.push_back({owner, text.str(), style});
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

}  // namespace palto::test
