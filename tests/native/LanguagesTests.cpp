#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>

#include "app/Languages.h"

using namespace palto;

namespace {

struct BootCase {
    const wchar_t* options;
    const wchar_t* language;  // nullptr: no boot image named
};

class BootOptions : public testing::TestWithParam<BootCase> {};

TEST_P(BootOptions, NameTheLanguageOfTheFirstMatchingImage)
{
    const auto language = LanguageForBootOptions(GetParam().options);
    if (GetParam().language) {
        ASSERT_TRUE(language.has_value()) << GetParam().options;
        EXPECT_EQ(*language, GetParam().language) << GetParam().options;
    } else {
        EXPECT_FALSE(language.has_value()) << GetParam().options;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BootOptions, testing::Values(
    BootCase{L" RDPATH=MULTI(0)DISK(0)CDROM(0)\\SOURCES\\BOOTDEU.WIM", L"DEU"},
    BootCase{L"rdpath=x:\\sources\\bootfra.wim noexecute", L"FRA"},
    BootCase{L"\\sources\\bootdeu.wim \\sources\\bootenu.wim", L"ENU"},   // the earlier row wins, not the earlier text
    BootCase{L"\\SOURCES\\BOOTTRK.WIM", L"TRK"},                          // the last row
    BootCase{L"\\sources\\bootptg.wimx", L"PTG"},                          // found anywhere in the text
    BootCase{L"\\SOURCES\\BOOT.WIM", nullptr},
    BootCase{L"\\sources\\bootxyz.wim", nullptr},
    BootCase{L"bootdeu.wi", nullptr},
    BootCase{L"", nullptr}));

struct LangIdCase {
    std::uint16_t langId;
    const wchar_t* language;
};

class SystemLanguage : public testing::TestWithParam<LangIdCase> {};

TEST_P(SystemLanguage, NeedsPrimaryAndSublanguageToMatch)
{
    EXPECT_EQ(LanguageForLangId(GetParam().langId), GetParam().language) << std::hex << GetParam().langId;
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemLanguage, testing::Values(
    LangIdCase{0x0409, L"ENU"}, LangIdCase{0x0407, L"DEU"}, LangIdCase{0x0807, L"ENU"}, LangIdCase{0x0809, L"ENU"},
    LangIdCase{0x0C0A, L"ESN"}, LangIdCase{0x040A, L"ENU"}, LangIdCase{0x0804, L"CHS"}, LangIdCase{0x0404, L"CHT"},
    LangIdCase{0x0416, L"PTB"}, LangIdCase{0x0816, L"PTG"}, LangIdCase{0x041F, L"TRK"}, LangIdCase{0x0000, L"ENU"}));

TEST(LangIdOfLanguage, IgnoresLetterCaseAndKnowsOnlyTheTable)
{
    EXPECT_EQ(LangIdOfLanguage(L"enu"), 0x0409);
    EXPECT_EQ(LangIdOfLanguage(L"Deu"), 0x0407);
    EXPECT_EQ(LangIdOfLanguage(L"ESN"), 0x0C0A);
    EXPECT_EQ(LangIdOfLanguage(L"ptg"), 0x0816);
    EXPECT_EQ(LangIdOfLanguage(L"XYZ"), std::nullopt);
    EXPECT_EQ(LangIdOfLanguage(L"EN"), std::nullopt);
    EXPECT_EQ(LangIdOfLanguage(L""), std::nullopt);
}

TEST(Languages, EveryRowHasItsOwnCodeAndLanguageIdAndTheImageOfItsCode)
{
    std::set<std::wstring> codes;
    std::set<std::uint16_t> ids;
    for (const Language& language : Languages()) {
        codes.insert(language.code);
        ids.insert(language.LangId());
        std::wstring image = L"boot" + std::wstring(language.code) + L".wim";
        for (wchar_t& c : image) c = static_cast<wchar_t>(std::towlower(c));
        EXPECT_EQ(image, language.bootImage);
        EXPECT_EQ(LangIdOfLanguage(language.code), language.LangId());
        EXPECT_EQ(LanguageForLangId(language.LangId()), language.code);
    }
    EXPECT_EQ(Languages().size(), 19u);
    EXPECT_EQ(codes.size(), 19u);
    EXPECT_EQ(ids.size(), 19u);
}

}  // namespace
