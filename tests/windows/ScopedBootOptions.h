// The registry value the language choice reads, "SystemStartOptions" under
// HKLM\SYSTEM\CurrentControlSet\Control, set (or removed) for the life of the object
// and put back as it was afterwards. Other programs of the prefix see it meanwhile:
// tests that use it run alone (RUN_SERIAL).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace palto::test {

class ScopedBootOptions {
public:
    using Bytes = std::vector<BYTE>;

    explicit ScopedBootOptions(const std::optional<Bytes>& data, DWORD type = REG_SZ)
    {
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, nullptr);
        DWORD size = 0;
        if (::RegQueryValueExW(m_key, kValue, nullptr, &m_savedType, nullptr, &size) == ERROR_SUCCESS) {
            m_saved.emplace(size);
            ::RegQueryValueExW(m_key, kValue, nullptr, &m_savedType, m_saved->data(), &size);
        }
        Put(data, type);
    }
    explicit ScopedBootOptions(const std::wstring& text) : ScopedBootOptions(Text(text)) {}
    ~ScopedBootOptions()
    {
        Put(m_saved, m_savedType);
        ::RegCloseKey(m_key);
    }
    ScopedBootOptions(const ScopedBootOptions&) = delete;
    ScopedBootOptions& operator=(const ScopedBootOptions&) = delete;

    // The bytes of a text, with or without its terminating zero.
    static Bytes Text(const std::wstring& text, bool withZero = true)
    {
        const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
        return {bytes, bytes + (text.size() + (withZero ? 1 : 0)) * sizeof(wchar_t)};
    }

    bool written() const { return m_written; }

private:
    static constexpr wchar_t kKey[] = L"SYSTEM\\CurrentControlSet\\Control";
    static constexpr wchar_t kValue[] = L"SystemStartOptions";

    void Put(const std::optional<Bytes>& data, DWORD type)
    {
        if (!data) {
            ::RegDeleteValueW(m_key, kValue);
            m_written = true;
            return;
        }
        m_written = ::RegSetValueExW(m_key, kValue, 0, type, data->data(), static_cast<DWORD>(data->size())) == ERROR_SUCCESS;
    }

    HKEY m_key = nullptr;
    DWORD m_savedType = REG_SZ;
    std::optional<Bytes> m_saved;
    bool m_written = false;
};

}  // namespace palto::test
