#include "E2eSupport.h"

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

}  // namespace palto::e2e
