// What the end-to-end tests share: where the build's program is, its resource texts,
// and folders holding copies of it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string>
#include <vector>

#include "Automation.h"
#include "tests/ReportName.h"

namespace palto::e2e {

using palto::test::MaskReportName;
using palto::test::WithReportIn;

constexpr DWORD kWait = 20000;  // longest wait for a window or the program's end, in ms

// build/windows/bin, seen from the test program in build/windows/tests, as a full path:
// the folder a report of a run of the build's program goes into.
std::wstring BinFolder();

// A folder of its own holding copies of Palto.exe, the engine and the named files of bin/.
// Given a `pathLength`, the folder lies as deep as it takes for its path to be that
// many characters long (beyond MAX_PATH, too).
class InstallFolder {
public:
    explicit InstallFolder(const std::vector<const wchar_t*>& files, size_t pathLength = 0);
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

// The restore reports in `folder` (PaltoRestore-*.txt), by their full paths.
std::vector<std::wstring> ReportsIn(const std::wstring& folder);

// A file's bytes; empty when it cannot be read.
std::string FileBytes(const std::wstring& path);

// UTF-8 text as UTF-16.
std::wstring FromUtf8(const std::string& utf8);

// The message box of the process shown now (waiting for it up to kWait), answered with
// `button`: its text, empty when none came.
std::wstring AnswerBox(DWORD processId, int button);

// Palto.exe of the build (or `exe`) started with a catalog of the test's own (JSON text),
// kept in a file of this process while the run lasts, and the given arguments, with its
// wizard window found.
class CatalogRun {
public:
    explicit CatalogRun(const std::string& catalogJson, const std::wstring& arguments = L"",
                        const std::wstring& exe = L"");
    ~CatalogRun();
    CatalogRun(const CatalogRun&) = delete;
    CatalogRun& operator=(const CatalogRun&) = delete;

    Process& process() { return *m_process; }
    HWND wizard() const { return m_wizard; }   // null when it was not shown in time
    // Cancel, answered Yes: the program's exit code, STILL_ACTIVE when it did not end.
    DWORD Cancel();

private:
    std::wstring m_catalog;
    std::unique_ptr<Process> m_process;
    HWND m_wizard = nullptr;
};

}  // namespace palto::e2e
