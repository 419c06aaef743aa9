// The language choice against the real registry and real module files: the boot
// options value of this prefix, folders holding some of the modules, the fallbacks.
// The test changes HKLM and restores it, so it runs alone (RUN_SERIAL).
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ScopedBootOptions.h"
#include "TestSupport.h"
#include "app/ResourceModule.h"
#include "framework/Afx.h"
#include "framework/CDialog.h"
#include "resources/ids.h"

using palto::test::ProgramFolder;
using palto::test::ScopedBootOptions;

namespace {

struct BootCase {
    const char* name;
    std::optional<std::vector<BYTE>> value;
    DWORD type;
    bool found;
    const wchar_t* code;
};

// A text of exactly `bytes` bytes that ends with `tail`, without a terminating zero.
std::vector<BYTE> FilledTo(size_t bytes, const std::wstring& tail)
{
    const std::wstring text = std::wstring(bytes / sizeof(wchar_t) - tail.size(), L' ') + tail;
    return ScopedBootOptions::Text(text, false);
}

class BootOptions : public testing::TestWithParam<BootCase> {};

TEST_P(BootOptions, NameTheLanguage)
{
    ScopedBootOptions options(GetParam().value, GetParam().type);
    ASSERT_TRUE(options.written());
    std::wstring code = L"XXX";
    EXPECT_EQ(LanguageFromBootOptions(code), GetParam().found);
    EXPECT_EQ(code, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Cases, BootOptions, testing::Values(
    BootCase{"German", ScopedBootOptions::Text(L" RDPATH=X:\\SOURCES\\BOOTDEU.WIM"), REG_SZ, true, L"DEU"},
    BootCase{"EarlierRowWins", ScopedBootOptions::Text(L"\\sources\\bootdeu.wim \\sources\\bootenu.wim"), REG_SZ, true, L"ENU"},
    BootCase{"PlainBootImage", ScopedBootOptions::Text(L"\\SOURCES\\BOOT.WIM"), REG_SZ, false, L"ENU"},
    BootCase{"NoValue", std::nullopt, REG_SZ, false, L"ENU"},
    BootCase{"EmptyValue", ScopedBootOptions::Text(L""), REG_SZ, false, L"ENU"},
    BootCase{"TypeIgnored", ScopedBootOptions::Text(L"x:\\sources\\bootfra.wim"), REG_BINARY, true, L"FRA"},
    BootCase{"FullBufferWithoutZero", FilledTo(4096, L"\\sources\\bootdeu.wim"), REG_SZ, true, L"DEU"},
    BootCase{"NameCutAtTheBufferEnd", FilledTo(4096, L"\\sources\\bootdeu.wi"), REG_SZ, false, L"ENU"},
    BootCase{"LongerThanTheBuffer", ScopedBootOptions::Text(L"\\sources\\bootdeu.wim" + std::wstring(2100, L' ')), REG_SZ, false, L"ENU"}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder of its own holding copies of some of the modules beside the test program.
class ModuleFolder {
public:
    explicit ModuleFolder(const std::vector<std::wstring>& codes)
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"palto-lang-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_path.c_str(), nullptr);
        for (const std::wstring& code : codes) {
            m_files.push_back(L"\\Mainr" + code + L".dll");
            ::CopyFileW((ProgramFolder() + m_files.back()).c_str(), (m_path + m_files.back()).c_str(), FALSE);
        }
    }
    ~ModuleFolder()
    {
        for (const std::wstring& file : m_files) ::DeleteFileW((m_path + file).c_str());
        ::RemoveDirectoryW(m_path.c_str());
    }
    const wchar_t* path() const { return m_path.c_str(); }

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

// Gives each test a folder of modules, and puts back the resource module and language
// of the process after the test loaded another (before the folder goes).
class ResourceModuleTest : public testing::Test {
protected:
    const wchar_t* Folder(const std::vector<std::wstring>& codes) { return m_folder.emplace(codes).path(); }

    void TearDown() override
    {
        HINSTANCE loaded = AfxGetResourceHandle();
        if (loaded != m_module) {
            AfxSetResourceHandle(m_module);
            ::FreeLibrary(loaded);
        }
        theApp.m_langId = m_langId;
    }

    // The file name of the module that resources come from now. Modules are loaded as
    // data and have no file name to ask for: a text that differs between the languages
    // tells them apart.
    static std::wstring LoadedModule()
    {
        CString back;
        back.LoadString(IDS_BACK);
        for (const std::wstring file : {L"MainrENU.dll", L"MainrDEU.dll"}) {
            if (back.str() == palto::test::ModuleText(ProgramFolder() + L"\\" + file, IDS_BACK)) return file;
        }
        return L"another module";
    }

    HINSTANCE m_module = AfxGetResourceHandle();
    LANGID m_langId = theApp.m_langId;
    std::optional<ModuleFolder> m_folder;
};

struct LoadCase {
    const char* name;
    std::optional<std::wstring> bootOptions;
    std::vector<std::wstring> modules;
    const wchar_t* loaded;  // nullptr: none
    LANGID langId;
};

class LoadModule : public ResourceModuleTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadModule, ChoosesTheLanguageAndFallsBackToEnglish)
{
    const auto value = GetParam().bootOptions ? std::optional(ScopedBootOptions::Text(*GetParam().bootOptions)) : std::nullopt;
    ScopedBootOptions options(value);
    ASSERT_TRUE(options.written());
    LANGID langId = 0x1234;
    EXPECT_EQ(LoadResourceModule(Folder(GetParam().modules), langId), GetParam().loaded != nullptr);
    if (GetParam().loaded) {
        EXPECT_EQ(LoadedModule(), GetParam().loaded);
        EXPECT_EQ(langId, GetParam().langId);
    } else {
        EXPECT_EQ(AfxGetResourceHandle(), m_module);
        EXPECT_EQ(langId, 0x1234);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadModule, testing::Values(
    LoadCase{"BootImageLanguage", L"\\SOURCES\\BOOTDEU.WIM", {L"ENU", L"DEU"}, L"MainrDEU.dll", 0x0407},
    LoadCase{"BootImageModuleMissing", L"\\SOURCES\\BOOTDEU.WIM", {L"ENU"}, L"MainrENU.dll", 0x0409},
    LoadCase{"BootImageWithoutModule", L"\\sources\\bootfra.wim", {L"ENU", L"DEU"}, L"MainrENU.dll", 0x0409},
    LoadCase{"SystemLanguage", std::nullopt, {L"ENU", L"DEU"}, L"MainrENU.dll", 0x0409},
    LoadCase{"NoModuleAtAll", L"\\SOURCES\\BOOTDEU.WIM", {}, nullptr, 0},
    LoadCase{"OnlyAnotherLanguage", std::nullopt, {L"DEU"}, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResourceModuleTest, GermanTextsArriveWithTheirUmlauts)
{
    LANGID langId = 0;
    ASSERT_TRUE(TryLoadResourceModule(Folder({L"DEU"}), L"DEU", langId));
    CString back, question;
    back.LoadString(IDS_BACK);
    question.LoadString(IDS_CONFIRM_CANCEL);
    EXPECT_EQ(back.str(), L"< &Zur\u00FCck");
    EXPECT_EQ(question.str(), L"M\u00F6chten Sie wirklich abbrechen?");
}

// scripts/wine pins the locale, so the system language is English unless a test run
// asks for another one (CTest runs this test a second time with a German locale):
// PALTO_EXPECT_SYSTEM_LANGUAGE holds the language id and code expected, as "0407 DEU".
TEST_F(ResourceModuleTest, TheSystemLanguageChoosesTheModule)
{
    wchar_t expected[32] = L"0409 ENU";
    ::GetEnvironmentVariableW(L"PALTO_EXPECT_SYSTEM_LANGUAGE", expected, 32);
    const LANGID systemLangId = static_cast<LANGID>(std::wcstoul(expected, nullptr, 16));
    const std::wstring code(expected + 5);
    EXPECT_EQ(::GetSystemDefaultLangID(), systemLangId);

    LANGID langId = 0;
    ASSERT_TRUE(LoadResourceModuleForSystemLanguage(Folder({L"ENU", L"DEU"}), langId));
    EXPECT_EQ(LoadedModule(), L"Mainr" + code + L".dll");
    EXPECT_EQ(langId, LangIdForCode(code.c_str()));
}

// Modules are loaded as data: every resource the wizard takes from one arrives, and no
// code of a module runs (MainrRUN.dll, beside this program, has start-up code that
// would leave a mark in the environment).
TEST_F(ResourceModuleTest, AModuleGivesItsResourcesAndRunsNoCode)
{
    ::SetEnvironmentVariableW(L"PALTO_MODULE_CODE_RAN", nullptr);
    LANGID langId = 0;
    ASSERT_TRUE(TryLoadResourceModule(ProgramFolder().c_str(), L"RUN", langId));
    EXPECT_EQ(::GetEnvironmentVariableW(L"PALTO_MODULE_CODE_RAN", nullptr, 0), 0u) << "the module's code ran";
    CString title;
    title.LoadString(IDS_APP_TITLE);
    EXPECT_EQ(title.str(), L"Title of the module without an OEM title");
}

TEST_F(ResourceModuleTest, AModuleLoadedAsDataGivesDialogsAndTheIcon)
{
    LANGID langId = 0;
    ASSERT_TRUE(TryLoadResourceModule(Folder({L"ENU"}), L"ENU", langId));
    EXPECT_TRUE(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_MAIN)));
    CDialog dialog(IDD_MAIN);
    ASSERT_TRUE(dialog.Create(IDD_MAIN));
    EXPECT_TRUE(::GetDlgItem(dialog.m_hWnd, IDC_NEXT));
    dialog.DestroyWindow();
}

TEST(LangIdForCode, IgnoresLetterCaseAndFallsBackToTheSystemLanguage)
{
    EXPECT_EQ(LangIdForCode(L"enu"), 0x0409);
    EXPECT_EQ(LangIdForCode(L"DEU"), 0x0407);
    EXPECT_EQ(LangIdForCode(L"esn"), 0x0C0A);
    EXPECT_EQ(LangIdForCode(L"XYZ"), ::GetSystemDefaultLangID());
    EXPECT_EQ(LangIdForCode(nullptr), ::GetSystemDefaultLangID());
}

}  // namespace
