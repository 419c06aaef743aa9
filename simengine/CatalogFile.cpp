#include "simengine/CatalogFile.h"

#include <windows.h>

#include <stdexcept>

namespace sim {

namespace {

constexpr LONGLONG kMaxCatalogBytes = 16 * 1024 * 1024;

std::wstring FolderOfThisDll()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&FolderOfThisDll), &module);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.rfind(L'\\') == std::wstring::npos ? 0 : folder.rfind(L'\\'));
}

std::string ReadFileBytes(const std::wstring& path)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("the file cannot be opened");
    LARGE_INTEGER size{};
    std::string bytes;
    const bool sized = ::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxCatalogBytes;
    DWORD read = 0;
    if (sized) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) read = 0;
    }
    ::CloseHandle(file);
    if (!sized) throw std::runtime_error("the file is larger than 16 MiB");
    if (read != bytes.size()) throw std::runtime_error("the file cannot be read");
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    return bytes;
}

}  // namespace

std::wstring EnvironmentText(const wchar_t* name)
{
    wchar_t buffer[32768];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

LoadedCatalog LoadCatalog()
{
    LoadedCatalog loaded;
    loaded.source = EnvironmentText(L"HALVEX_SIM_CATALOG");
    if (loaded.source.empty()) {
        const std::wstring besideDll = FolderOfThisDll() + L"\\halvex-sim.json";
        if (::GetFileAttributesW(besideDll.c_str()) != INVALID_FILE_ATTRIBUTES) loaded.source = besideDll;
    }
    try {
        const std::string text = loaded.source.empty() ? std::string(SampleCatalogJson()) : ReadFileBytes(loaded.source);
        loaded.catalog = std::make_shared<const Catalog>(ParseCatalog(text));
    } catch (const std::exception& error) {
        loaded.error = error.what();
    }
    if (loaded.source.empty()) loaded.source = L"built-in sample";
    return loaded;
}

}  // namespace sim
