#include "E2eSupport.h"

#include "framework/Format.h"

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

std::wstring ModuleString(const std::wstring& module, UINT id)
{
    HMODULE handle = ::LoadLibraryExW(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!handle) return {};
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(handle, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring result(text ? text : L"", length > 0 ? length : 0);
    ::FreeLibrary(handle);
    return result;
}

std::wstring FillStepCaption(const std::wstring& templ, int step)
{
    return FormatMessageText(templ, step);
}

InstallFolder::InstallFolder(std::initializer_list<const wchar_t*> files)
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
