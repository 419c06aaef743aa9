// Palto.exe speaks the language of the boot image the recovery medium started, falls
// back to English when that language's module is missing, and shows the OEM title when
// the product configuration file beside it switches the OEM feature on. The boot
// options live in the prefix's registry, so this program runs alone (RUN_SERIAL).
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"
#include "E2eSupport.h"
#include "ScopedBootOptions.h"
#include "ScopedConfigFile.h"

using namespace palto::e2e;
using palto::test::ScopedBootOptions;

namespace {

constexpr UINT kAppTitle = 5101;
constexpr UINT kOemTitle = 5203;
constexpr wchar_t kGermanBoot[] = L" RDPATH=MULTI(0)DISK(0)CDROM(0)\\SOURCES\\BOOTDEU.WIM";

std::wstring Module(const wchar_t* code) { return BinFolder() + L"\\Mainr" + code + L".dll"; }

// The title of the wizard window of a Palto.exe started from `folder`; the program is
// ended again (answering Yes should it ask whether to cancel).
std::wstring WizardTitle(const InstallFolder& folder)
{
    Process palto(folder.exe(), L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    if (!wizard) return L"(no wizard window)";
    const std::wstring title = TextOf(wizard);
    ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    for (DWORD waited = 0; palto.WaitForExit(100) == STILL_ACTIVE && waited < kWait; waited += 100) {
        if (HWND box = FindTopWindow(palto.id(), MatchSelector(L"box"))) Click(FindControl(box, IDYES));
    }
    EXPECT_EQ(palto.WaitForExit(0), 0u);
    return title;
}

TEST(Language, TheBootImageChoosesGerman)
{
    ScopedBootOptions options(kGermanBoot);
    ASSERT_TRUE(options.written());
    InstallFolder folder({L"MainrENU.dll", L"MainrDEU.dll"});
    const std::wstring german = ModuleString(Module(L"DEU"), kAppTitle);
    ASSERT_NE(german, ModuleString(Module(L"ENU"), kAppTitle));
    EXPECT_EQ(WizardTitle(folder), german);
}

TEST(Language, WithoutTheGermanModuleItIsEnglish)
{
    ScopedBootOptions options(kGermanBoot);
    ASSERT_TRUE(options.written());
    InstallFolder folder({L"MainrENU.dll"});
    EXPECT_EQ(WizardTitle(folder), ModuleString(Module(L"ENU"), kAppTitle));
}

TEST(Language, TheOemFeatureGivesTheOemTitle)
{
    ScopedBootOptions options(std::nullopt);
    InstallFolder folder({L"MainrENU.dll"});
    const std::wstring exe = folder.exe();
    palto::test::ScopedConfigFile config(exe.substr(0, exe.rfind(L'\\')), BinFolder());
    ASSERT_TRUE(config.Write("[All]\nZAVOnlyFeature=1\n"));
    const std::wstring oem = ModuleString(Module(L"ENU"), kOemTitle);
    ASSERT_NE(oem, ModuleString(Module(L"ENU"), kAppTitle));
    EXPECT_EQ(WizardTitle(folder), oem);
}

}  // namespace
