#include "app/ResourceModule.h"

#include <algorithm>

#include "app/Languages.h"
#include "framework/Afx.h"
#include "app/Texts.h"
#include "framework/CString.h"
#include "framework/Format.h"
#include "resources/ids.h"

namespace {

constexpr DWORD kBootOptionsBytes = 4096;

}  // namespace

bool LanguageFromBootOptions(std::wstring& code)
{
    code = palto::kFallbackLanguage;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    // One character more than the value may fill, always zero: a value stored without
    // its terminating zero still ends inside the buffer.
    wchar_t options[kBootOptionsBytes / sizeof(wchar_t) + 1] = {};
    DWORD bytes = kBootOptionsBytes;
    const LSTATUS read = ::RegQueryValueExW(key, L"SystemStartOptions", nullptr, nullptr, reinterpret_cast<BYTE*>(options), &bytes);
    ::RegCloseKey(key);
    if (read != ERROR_SUCCESS) return false;  // a value of 4096 bytes or more reports ERROR_MORE_DATA

    const std::wstring_view text(options, std::min<size_t>(bytes, kBootOptionsBytes) / sizeof(wchar_t));
    const auto language = palto::LanguageForBootOptions(text.substr(0, text.find(L'\0')));
    if (!language) return false;
    code = *language;
    return true;
}

LANGID LangIdForCode(const wchar_t* code)
{
    const auto langId = code ? palto::LangIdOfLanguage(code) : std::nullopt;
    return langId ? *langId : ::GetSystemDefaultLangID();
}

bool TryLoadResourceModule(const wchar_t* folder, const wchar_t* code, LANGID& langId)
{
    CString path;
    path.Format(L"%s\\Mainr%s.dll", folder, code);
    // Loaded as data: the module is a source of resources only, and no code of its own
    // (a foreign DLL under a module's name, say) ever runs in the wizard.
    HMODULE module = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return false;
    AfxSetResourceHandle(module);
    palto::UseDecimalSeparator(LoadText(IDS_DECIMAL_SEPARATOR).str());
    langId = LangIdForCode(code);
    return true;
}

bool LoadResourceModuleForSystemLanguage(const wchar_t* folder, LANGID& langId)
{
    const std::wstring code(palto::LanguageForLangId(::GetSystemDefaultLangID()));
    return TryLoadResourceModule(folder, code.c_str(), langId) ||
           TryLoadResourceModule(folder, palto::kFallbackLanguage, langId);
}

bool LoadResourceModule(const wchar_t* folder, LANGID& langId)
{
    std::wstring code;
    const bool loaded = LanguageFromBootOptions(code) ? TryLoadResourceModule(folder, code.c_str(), langId)
                                                      : LoadResourceModuleForSystemLanguage(folder, langId);
    return loaded || TryLoadResourceModule(folder, palto::kFallbackLanguage, langId);
}
