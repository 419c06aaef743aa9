// What the end-to-end tests share: where the build's program is, its resource texts,
// and folders holding copies of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace palto::e2e {

constexpr DWORD kWait = 20000;  // longest wait for a window or the program's end, in ms

// build/windows/bin, seen from the test program in build/windows/tests.
std::wstring BinFolder();

// A folder of its own holding copies of Palto.exe, the engine and the named files of bin/.
class InstallFolder {
public:
    explicit InstallFolder(const std::vector<const wchar_t*>& files);
    ~InstallFolder();
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;
    std::wstring exe() const { return m_path + L"\\Palto.exe"; }

private:
    void Copy(const std::wstring& file);
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

}  // namespace palto::e2e
