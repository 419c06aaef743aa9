#include "E2eSupport.h"

#include <fstream>

namespace palto::e2e {

namespace {
std::wstring TestsFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}
}  // namespace

std::wstring BinFolder()
{
    return TestsFolder() + L"\\..\\bin";
}

InstallFolder::InstallFolder(const std::vector<const wchar_t*>& files)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"palto-e2e-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(m_path.c_str(), nullptr);
    Copy(L"Palto.exe");
    Copy(L"Halvex.dll");
    for (const wchar_t* file : files) Copy(file);
}

InstallFolder::~InstallFolder()
{
    for (const std::wstring& file : m_files) ::DeleteFileW((m_path + L"\\" + file).c_str());
    ::RemoveDirectoryW(m_path.c_str());
}

void InstallFolder::Copy(const std::wstring& file)
{
    ::CopyFileW((BinFolder() + L"\\" + file).c_str(), (m_path + L"\\" + file).c_str(), FALSE);
    m_files.push_back(file);
}

CatalogRun::CatalogRun(const std::string& catalogJson)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_catalog = std::wstring(temp) + L"palto-e2e-catalog-" + std::to_wstring(::GetCurrentProcessId()) + L".json";
    std::ofstream(m_catalog.c_str(), std::ios::binary) << catalogJson;
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", m_catalog.c_str());
    m_process = std::make_unique<Process>(BinFolder() + L"\\Palto.exe", L"");
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", nullptr);
    m_wizard = WaitForTopWindow(m_process->id(), MatchSelector(L"wizard"), kWait);
}

CatalogRun::~CatalogRun()
{
    m_process.reset();
    ::DeleteFileW(m_catalog.c_str());
}

DWORD CatalogRun::Cancel()
{
    constexpr int kCancel = 1002;  // the wizard's Cancel button
    Click(FindControl(m_wizard, kCancel));
    if (HWND box = WaitForTopWindow(m_process->id(), MatchSelector(L"box"), kWait)) Click(FindControl(box, IDYES));
    return m_process->WaitForExit(kWait);
}

}  // namespace palto::e2e
