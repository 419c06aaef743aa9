// The languages of the resource modules and how one is chosen: from the boot image
// the recovery environment was started from, else from the system's default language.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace palto {

struct Language {
    const wchar_t* code;        // three letters: the module is "Mainr<code>.dll"
    const wchar_t* bootImage;   // lower case, as it appears in the boot options
    std::uint16_t primary;      // primary language id
    std::uint16_t sublanguage;  // sublanguage id
    std::uint16_t LangId() const { return static_cast<std::uint16_t>((sublanguage << 10) | primary); }
};

// Every language, in the order the boot image names are tried.
std::span<const Language> Languages();

inline constexpr const wchar_t* kFallbackLanguage = L"ENU";

// The code of the first language whose boot image name occurs in the boot options
// (letter case ignored), or nothing when none does.
std::optional<std::wstring_view> LanguageForBootOptions(std::wstring_view bootOptions);

// The code of the language with exactly this language id (primary and sublanguage),
// or ENU when there is none.
std::wstring_view LanguageForLangId(std::uint16_t langId);

// The language id of a code, letter case ignored; nothing for an unknown code.
std::optional<std::uint16_t> LangIdOfLanguage(std::wstring_view code);

}  // namespace palto
