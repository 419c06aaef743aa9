// Palto.exe started as a user starts it: the wizard window appears and ends cleanly,
// and without a resource module the program says so once and ends.
#include <gtest/gtest.h>

#include <string>

#include "Automation.h"

using namespace palto::e2e;

namespace {

std::wstring TestsFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\'));
}

std::wstring BinFolder() { return TestsFolder() + L"\\..\\bin"; }

// A string of a resource module, read as data.
std::wstring ModuleString(const std::wstring& module, UINT id)
{
    HMODULE handle = ::LoadLibraryExW(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!handle) return {};
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(handle, id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring result(text ? text : L"", length > 0 ? length : 0);
    ::FreeLibrary(handle);
    return result;
}

// A folder of its own holding a copy of Palto.exe and the named files of bin/.
class InstallFolder {
public:
    explicit InstallFolder(std::initializer_list<const wchar_t*> files)
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"palto-e2e-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_path.c_str(), nullptr);
        Copy(L"Palto.exe");
        for (const wchar_t* file : files) Copy(file);
    }
    ~InstallFolder()
    {
        for (const std::wstring& file : m_files) ::DeleteFileW((m_path + L"\\" + file).c_str());
        ::RemoveDirectoryW(m_path.c_str());
    }
    std::wstring exe() const { return m_path + L"\\Palto.exe"; }

private:
    void Copy(const std::wstring& file)
    {
        ::CopyFileW((BinFolder() + L"\\" + file).c_str(), (m_path + L"\\" + file).c_str(), FALSE);
        m_files.push_back(file);
    }
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

constexpr DWORD kWait = 20000;

TEST(Startup, WithoutAResourceModuleItSaysSoOnceAndEnds)
{
    InstallFolder folder({});
    Process palto(folder.exe(), L"");
    ASSERT_TRUE(palto.started());

    HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait);
    ASSERT_TRUE(box);
    EXPECT_EQ(TextOf(box), L"Tolvane");
    EXPECT_EQ(MessageBoxText(box), L"Failed to load resource!");
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"wizard")));

    Click(FindControl(box, IDOK));
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

TEST(Startup, TheWizardWindowOpensWithItsTitleAndCancelEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);
    EXPECT_EQ(TextOf(wizard), ModuleString(BinFolder() + L"\\MainrENU.dll", 5101));

    Click(FindControl(wizard, 1002));
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

TEST(Startup, TheCloseBoxEndsTheProgram)
{
    Process palto(BinFolder() + L"\\Palto.exe", L"");
    HWND wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
    ASSERT_TRUE(wizard);
    ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(palto.WaitForExit(kWait), 0u);
}

}  // namespace
