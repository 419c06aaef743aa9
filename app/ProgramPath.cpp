#include "app/ProgramPath.h"

#include <windows.h>

std::wstring ExecutablePath()
{
    // A path cut to the buffer fills it entirely: try again with a larger one, up to the
    // longest path Windows knows.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}
