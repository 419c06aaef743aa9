#include "E2eSupport.h"

#include <fstream>
#include <sstream>

#include "resources/ids.h"

namespace palto::e2e {

namespace {
std::wstring TestsFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

// Paths of any length, for the calls that make, copy and remove files.
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }
}  // namespace

std::wstring BinFolder()
{
    const std::wstring relative = TestsFolder() + L"\\..\\bin";
    wchar_t full[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(relative.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : relative;
}

InstallFolder::InstallFolder(const std::vector<const wchar_t*>& files, size_t pathLength)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    AddFolder(std::wstring(temp) + L"palto-e2e-" + std::to_wstring(::GetCurrentProcessId()));
    while (m_path.size() + 1 < pathLength) {
        const size_t missing = pathLength - m_path.size() - 1;  // beside the backslash
        AddFolder(m_path + L"\\" + std::wstring(missing > 200 ? 150 : missing, L'x'));
    }
    CopyAs(L"Palto.exe", L"Palto.exe");
    CopyAs(L"Halvex.dll", L"Halvex.dll");
    for (const wchar_t* file : files) CopyAs(file, file);
}

InstallFolder::~InstallFolder()
{
    for (const std::wstring& file : m_files) ::DeleteFileW(Extended(m_path + L"\\" + file).c_str());
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
        ::RemoveDirectoryW(Extended(*folder).c_str());
    }
}

void InstallFolder::AddFolder(const std::wstring& path)
{
    ::CreateDirectoryW(Extended(path).c_str(), nullptr);
    m_folders.push_back(path);
    m_path = path;
}

void InstallFolder::CopyAs(const std::wstring& file, const std::wstring& name)
{
    ::CopyFileW((BinFolder() + L"\\" + file).c_str(), Extended(m_path + L"\\" + name).c_str(), FALSE);
    m_files.push_back(name);
}

std::vector<std::wstring> ReportsIn(const std::wstring& folder)
{
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\PaltoRestore-*.txt").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do found.push_back(folder + L"\\" + entry.cFileName);
    while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return found;
}

std::string FileBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::wstring FromUtf8(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
    return text;
}

std::wstring AnswerBox(DWORD processId, int button)
{
    HWND box = WaitForTopWindow(processId, MatchSelector(L"box"), kWait);
    if (!box) return {};
    const std::wstring text = MessageBoxText(box);
    Click(FindControl(box, button));
    WaitUntilGone(processId, [box](HWND w) { return w == box; }, kWait);
    return text;
}

CatalogRun::CatalogRun(const std::string& catalogJson, const std::wstring& arguments, const std::wstring& exe)
{
    // Beside the tests, not in the temporary folder: a test may point that elsewhere.
    m_catalog = TestsFolder() + L"\\palto-e2e-catalog-" + std::to_wstring(::GetCurrentProcessId()) + L".json";
    std::ofstream(m_catalog.c_str(), std::ios::binary) << catalogJson;
    ::SetEnvironmentVariableW(L"HALVEX_SIM_CATALOG", m_catalog.c_str());
    m_process = std::make_unique<Process>(exe.empty() ? BinFolder() + L"\\Palto.exe" : exe, arguments);
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
    Click(FindControl(m_wizard, IDC_WIZARD_CANCEL));
    if (HWND box = WaitForTopWindow(m_process->id(), MatchSelector(L"box"), kWait)) Click(FindControl(box, IDYES));
    return m_process->WaitForExit(kWait);
}

}  // namespace palto::e2e
