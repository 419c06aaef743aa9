// pconfig.dcf in a folder, made from plain text by the build's pconfig.exe as the
// people who prepare a recovery medium make it; removed again with the object.
#pragma once

#include <windows.h>

#include <string>

namespace palto::test {

// Runs a program and returns its exit code (-1 when it cannot be started or hangs).
inline DWORD RunProgram(const std::wstring& exe, std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return static_cast<DWORD>(-1);
    }
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0) ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

// Writes the bytes of `data` into a new file; false when it cannot.
inline bool WriteBytes(const std::wstring& path, const std::string& data)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool complete = ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                          written == data.size();
    ::CloseHandle(file);
    return complete;
}

class ScopedConfigFile {
public:
    // `binFolder`: the build's bin folder, where pconfig.exe is.
    ScopedConfigFile(std::wstring folder, std::wstring binFolder)
        : m_folder(std::move(folder)), m_tool(std::move(binFolder) + L"\\pconfig.exe") {}
    ~ScopedConfigFile() { ::DeleteFileW(path().c_str()); }
    ScopedConfigFile(const ScopedConfigFile&) = delete;
    ScopedConfigFile& operator=(const ScopedConfigFile&) = delete;

    std::wstring path() const { return m_folder + L"\\pconfig.dcf"; }

    // Makes the file from `plain` with "pconfig encode"; false when that fails.
    bool Write(const std::string& plain) const
    {
        const std::wstring text = m_folder + L"\\pconfig.txt";
        const bool made = WriteBytes(text, plain) &&
                          RunProgram(m_tool, L"pconfig encode \"" + text + L"\" \"" + path() + L"\"") == 0;
        ::DeleteFileW(text.c_str());
        return made;
    }

private:
    std::wstring m_folder;
    std::wstring m_tool;
};

}  // namespace palto::test
