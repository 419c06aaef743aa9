// Palto.exe speaks the language of the boot image the recovery medium started, falls
// back to English when that language's module is missing, and shows the OEM title when
// the product configuration file beside it switches the OEM feature on. The boot
// options live in the prefix's registry, so this program runs alone (RUN_SERIAL).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Automation.h"
#include "E2eSupport.h"
#include "ScopedBootOptions.h"
#include "ScopedConfigFile.h"
#include "resources/ids.h"

using namespace palto::e2e;
using palto::test::ScopedBootOptions;

namespace {

constexpr wchar_t kGermanBoot[] = L" RDPATH=MULTI(0)DISK(0)CDROM(0)\\SOURCES\\BOOTDEU.WIM";

// What the wizard window of a Palto.exe shows when it comes up.
struct WizardTexts {
    std::wstring title, caption;
};

// The texts of the wizard window of a Palto.exe started from `folder`; the program is
// ended again (answering Yes should it ask whether to cancel).
WizardTexts ShownTexts(const InstallFolder& folder)
{
    Process palto(folder.exe(), L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    if (!wizard) return {L"(no wizard window)", L""};
    const WizardTexts texts{TextOf(wizard), TextOf(FindControl(wizard, IDC_STEP_CAPTION))};
    ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (DWORD waited = 0; palto.WaitForExit(100) == STILL_ACTIVE && waited < kWait; waited += 100) {
        if (HWND box = FindTopWindow(palto.id(), MatchSelector(L"box"))) Click(FindControl(box, IDYES));
    }
    EXPECT_EQ(palto.WaitForExit(0), 0u);
    return texts;
}

struct LanguageCase {
    const char* name;
    const wchar_t* bootOptions;              // nullptr: none
    std::vector<const wchar_t*> modules;     // beside Palto.exe
    bool oemFeature;
    const wchar_t* title;
    const wchar_t* caption;
};

void PrintTo(const LanguageCase& c, std::ostream* out)
{
    *out << c.name;
}

class Language : public testing::TestWithParam<LanguageCase> {};

TEST_P(Language, ShowsTheTextsOfTheChosenModule)
{
    const LanguageCase& c = GetParam();
    ScopedBootOptions options(c.bootOptions ? std::optional(ScopedBootOptions::Text(c.bootOptions)) : std::nullopt);
    ASSERT_TRUE(options.written());
    InstallFolder folder(c.modules);
    const std::wstring exe = folder.exe();
    palto::test::ScopedConfigFile config(exe.substr(0, exe.rfind(L'\\')), BinFolder());
    if (c.oemFeature) {
        ASSERT_TRUE(config.Write("[All]\nZAVOnlyFeature=1\n"));
    }
    const WizardTexts shown = ShownTexts(folder);
    EXPECT_EQ(shown.title, c.title);
    EXPECT_EQ(shown.caption, c.caption);
}

INSTANTIATE_TEST_SUITE_P(Cases, Language, testing::Values(
    LanguageCase{"TheBootImageChoosesGerman", kGermanBoot, {L"MainrENU.dll", L"MainrDEU.dll"}, false,
                 L"Tolvane-Wiederherstellung", L"Schritt 1 von 4"},
    LanguageCase{"WithoutTheGermanModuleItIsEnglish", kGermanBoot, {L"MainrENU.dll"}, false,
                 L"Tolvane Restore", L"Step 1 of 4"},
    LanguageCase{"TheOemFeatureGivesTheOemTitle", nullptr, {L"MainrENU.dll"}, true,
                 L"Restore Wizard", L"Step 1 of 4"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
