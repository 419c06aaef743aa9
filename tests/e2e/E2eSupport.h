// What the end-to-end tests share: where the build's program is, its resource texts,
// and folders holding copies of it.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace palto::e2e {

constexpr DWORD kWait = 20000;  // longest wait for a window or the program's end, in ms

// build/windows/bin, seen from the test program in build/windows/tests.
std::wstring BinFolder();

// A string of a resource module, read as data.
std::wstring ModuleString(const std::wstring& module, UINT id);

// The step caption for `step`, filled as the wizard fills its message-style template.
std::wstring FillStepCaption(const std::wstring& templ, int step);

// A folder of its own holding copies of Palto.exe, the engine and the named files of bin/.
// Given a `pathLength`, the folder lies as deep as it takes for its path to be that
// many characters long (beyond MAX_PATH, too).
class InstallFolder {
public:
    explicit InstallFolder(std::initializer_list<const wchar_t*> files, size_t pathLength = 0);
    ~InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;
    const std::wstring& path() const { return m_path; }
    std::wstring exe() const { return m_path + L"\\Palto.exe"; }

    // Copies a file of bin/ into the folder under another name.
    void CopyAs(const std::wstring& file, const std::wstring& name);

private:
    void AddFolder(const std::wstring& path);
    std::wstring m_path;
    std::vector<std::wstring> m_folders;
    std::vector<std::wstring> m_files;
};

}  // namespace palto::e2e
