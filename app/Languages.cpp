#include "app/Languages.h"

#include <algorithm>
#include <string>

namespace palto {

namespace {

constexpr Language kLanguages[] = {
    {L"ENU", L"bootenu.wim", 0x09, 1}, {L"CHS", L"bootchs.wim", 0x04, 2}, {L"CHT", L"bootcht.wim", 0x04, 1},
    {L"DAN", L"bootdan.wim", 0x06, 1}, {L"DEU", L"bootdeu.wim", 0x07, 1}, {L"ESN", L"bootesn.wim", 0x0A, 3},
    {L"FIN", L"bootfin.wim", 0x0B, 1}, {L"FRA", L"bootfra.wim", 0x0C, 1}, {L"ITA", L"bootita.wim", 0x10, 1},
    {L"JPN", L"bootjpn.wim", 0x11, 1}, {L"KOR", L"bootkor.wim", 0x12, 1}, {L"NLD", L"bootnld.wim", 0x13, 1},
    {L"NOR", L"bootnor.wim", 0x14, 1}, {L"PLK", L"bootplk.wim", 0x15, 1}, {L"PTB", L"bootptb.wim", 0x16, 1},
    {L"PTG", L"bootptg.wim", 0x16, 2}, {L"RUS", L"bootrus.wim", 0x19, 1}, {L"SVE", L"bootsve.wim", 0x1D, 1},
    {L"TRK", L"boottrk.wim", 0x1F, 1},
};

// The names compared are plain ASCII, so only ASCII letters need folding.
wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

std::span<const Language> Languages() { return kLanguages; }

std::optional<std::wstring_view> LanguageForBootOptions(std::wstring_view bootOptions)
{
    std::wstring lower(bootOptions);
    std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
    for (const Language& language : kLanguages) {
        if (lower.find(language.bootImage) != std::wstring::npos) return language.code;
    }
    return std::nullopt;
}

std::wstring_view LanguageForLangId(std::uint16_t langId)
{
    for (const Language& language : kLanguages) {
        if (language.LangId() == langId) return language.code;
    }
    return kFallbackLanguage;
}

std::optional<std::uint16_t> LangIdOfLanguage(std::wstring_view code)
{
    const auto sameLetters = [](wchar_t a, wchar_t b) { return AsciiLower(a) == AsciiLower(b); };
    for (const Language& language : kLanguages) {
        if (std::ranges::equal(code, std::wstring_view(language.code), sameLetters)) return language.LangId();
    }
    return std::nullopt;
}

}  // namespace palto
