// The text routines with real resource modules, real message boxes and product
// configuration files made by pconfig.exe beside this program. The program has a
// folder of its own, so that its pconfig.dcf reaches no other test program.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ScopedConfigFile.h"
#include "TestSupport.h"
#include "app/ResourceModule.h"
#include "app/Texts.h"
#include "framework/Afx.h"
#include "resources/ids.h"

using palto::test::ProgramFolder;

namespace {

constexpr UINT kLongTextId = 60000;  // in texts_tests.exe itself

std::wstring ConfigPath() { return ProgramFolder() + L"\\pconfig.dcf"; }

// pconfig.dcf beside this program.
class ConfigBesideProgram : public palto::test::ScopedConfigFile {
public:
    ConfigBesideProgram() : palto::test::ScopedConfigFile(ProgramFolder(), ProgramFolder() + L"\\..\\..\\bin") {}
    explicit ConfigBesideProgram(const std::string& plain) : ConfigBesideProgram() { EXPECT_TRUE(Write(plain)); }
};

struct FeatureCase {
    const char* name;
    std::string plain;  // empty: no file at all
    bool on;
};

class OemFeature : public testing::TestWithParam<FeatureCase> {};

TEST_P(OemFeature, IsOnUnlessTheValueIsMissingEmptyOrStartsWithZero)
{
    ConfigBesideProgram config;
    if (!GetParam().plain.empty()) {
        ASSERT_TRUE(config.Write(GetParam().plain));
    }
    EXPECT_EQ(QueryOemOnlyFeature(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Cases, OemFeature, testing::Values(
    FeatureCase{"One", "[All]\nZAVOnlyFeature=1\n", true},
    FeatureCase{"Yes", "[all]\nzavonlyfeature = yes ; OEM medium\n", true},
    FeatureCase{"No", "[All]\nZAVOnlyFeature=no\n", true},
    FeatureCase{"False", "[All]\nZAVOnlyFeature=false\n", true},
    FeatureCase{"Zero", "[All]\nZAVOnlyFeature=0\n", false},
    FeatureCase{"ZeroZero", "[All]\nZAVOnlyFeature=00\n", false},
    FeatureCase{"ZeroX1", "[All]\nZAVOnlyFeature=0x1\n", false},
    FeatureCase{"Empty", "[All]\nZAVOnlyFeature=\n", false},
    FeatureCase{"OtherSection", "[Other]\nZAVOnlyFeature=1\n", false},
    FeatureCase{"OtherKey", "[All]\nOtherFeature=1\n", false},
    FeatureCase{"BlankLineBefore", "[All]\n\nZAVOnlyFeature=1\n", false},
    FeatureCase{"NoFile", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OemFeature, IsReadAnewOnEveryCall)
{
    ConfigBesideProgram config("[All]\nZAVOnlyFeature=1\n");
    EXPECT_TRUE(QueryOemOnlyFeature());
    ASSERT_TRUE(config.Write("[All]\nZAVOnlyFeature=0\n"));
    EXPECT_FALSE(QueryOemOnlyFeature());
    ::DeleteFileW(ConfigPath().c_str());
    EXPECT_FALSE(QueryOemOnlyFeature());
}

TEST(OemFeature, AFileTooLargeForTheReaderIsOff)
{
    std::string plain = "[All]\r\nZAVOnlyFeature=1\r\n;";
    plain.resize(32768, 'x');
    ConfigBesideProgram config(plain);
    EXPECT_TRUE(QueryOemOnlyFeature());
    ASSERT_TRUE(palto::test::WriteBytes(ConfigPath(), std::string(32769, 'x')));
    EXPECT_FALSE(QueryOemOnlyFeature());
}

// Each test starts with the given module as resource source and an empty title.
class TitleTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_english = ::LoadLibraryW((ProgramFolder() + L"\\MainrENU.dll").c_str());
        m_titleOnly = ::LoadLibraryW((ProgramFolder() + L"\\TitleOnly.dll").c_str());
        ASSERT_TRUE(m_english && m_titleOnly);
        ForgetAppTitle();
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        ForgetAppTitle();
        ::FreeLibrary(m_titleOnly);
        ::FreeLibrary(m_english);
    }
    HMODULE m_english = nullptr;
    HMODULE m_titleOnly = nullptr;
    HMODULE m_noTitles = ::GetModuleHandleW(nullptr);
};

struct TitleCase {
    const char* name;
    const wchar_t* module;   // loaded by the fixture
    bool oemFeature;
    const wchar_t* title;
};

void PrintTo(const TitleCase& c, std::ostream* out)
{
    *out << c.name;
}

class AppTitle : public TitleTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(AppTitle, IsTheOemTitleOnlyWithTheOemFeatureAndAModuleThatHasOne)
{
    ConfigBesideProgram config;
    if (GetParam().oemFeature) {
        ASSERT_TRUE(config.Write("[All]\nZAVOnlyFeature=1\n"));
    }
    AfxSetResourceHandle(::GetModuleHandleW(GetParam().module));
    EXPECT_EQ(GetAppTitle().str(), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Cases, AppTitle, testing::Values(
    TitleCase{"WithoutTheOemFeature", L"MainrENU.dll", false, L"Tolvane Restore"},
    TitleCase{"WithTheOemFeature", L"MainrENU.dll", true, L"Restore Wizard"},
    TitleCase{"ModuleWithoutAnOemTitle", L"TitleOnly.dll", true, L"Title of the module without an OEM title"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TitleTest, IsKeptOnceFoundAndLookedUpAgainWhileEmpty)
{
    AfxSetResourceHandle(m_noTitles);
    EXPECT_EQ(GetAppTitle().str(), L"");
    ConfigBesideProgram config("[All]\nZAVOnlyFeature=1\n");  // the next look-up reads the file again
    AfxSetResourceHandle(m_english);
    EXPECT_EQ(GetAppTitle().str(), L"Restore Wizard");
    AfxSetResourceHandle(m_titleOnly);
    EXPECT_EQ(GetAppTitle().str(), L"Restore Wizard");
}

TEST_F(TitleTest, LoadTextGivesWholeTextsAndNothingForAMissingId)
{
    AfxSetResourceHandle(m_noTitles);
    const CString text = LoadText(kLongTextId);
    EXPECT_EQ(text.GetLength(), 3009);
    EXPECT_EQ(text.Mid(3000).str(), L"Ende: \u00E4\u00F6\u00FC");
    EXPECT_EQ(LoadText(kLongTextId + 1), L"");
    AfxSetResourceHandle(m_english);
    EXPECT_EQ(LoadText(IDS_HEADING).str(), L"Restore your computer from a backup");
    EXPECT_EQ(LoadText(IDS_APP_TITLE).str(), L"Tolvane Restore");
}

// The window of the message box this thread shows now.
HWND FindMessageBox()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND window, LPARAM result) {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        if (std::wstring(name) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

// Hands the message box this thread shows to `look` as soon as it is up, polling from
// within the box's own message loop until a deadline. A box that does not come by then
// fails the test, and the modal loop of one that is up unseen is ended (WM_QUIT), so
// that a missed box is a failure, never a hang.
class MessageBoxWatch {
public:
    MessageBoxWatch(std::function<void(HWND)> look, DWORD limitMs = 10000)
        : m_look(std::move(look)), m_deadline(::GetTickCount64() + limitMs), m_limitMs(limitMs)
    {
        s_watch = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &Poll);
    }
    ~MessageBoxWatch()
    {
        Stop();
        s_watch = nullptr;
        MSG quit;
        if (m_quitPosted) ::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

private:
    static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD)
    {
        MessageBoxWatch* watch = s_watch;
        if (!watch || !watch->m_timer) return;
        if (HWND box = FindMessageBox()) {
            watch->Stop();
            watch->m_look(box);
        } else if (::GetTickCount64() >= watch->m_deadline) {
            watch->Stop();
            ADD_FAILURE() << "no message box within " << watch->m_limitMs << " ms";
            ::PostQuitMessage(0);   // ends the modal loop of a box that is up but was not found
            watch->m_quitPosted = true;
        }
    }
    void Stop()
    {
        if (m_timer) ::KillTimer(nullptr, m_timer);
        m_timer = 0;
    }

    static inline MessageBoxWatch* s_watch = nullptr;
    std::function<void(HWND)> m_look;
    ULONGLONG m_deadline;
    DWORD m_limitMs;
    UINT_PTR m_timer = 0;
    bool m_quitPosted = false;
};

TEST_F(TitleTest, ShowMessageShowsAMessageBoxOwnedAndCaptioned)
{
    AfxSetResourceHandle(m_english);
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    struct Seen {
        HWND owner = nullptr;
        std::wstring caption, text;
        bool yes = false, no = false, ok = false, ownerEnabled = true;
    } seen;
    int answer = 0;
    {
        MessageBoxWatch watch([&seen, owner](HWND box) {
            seen.owner = ::GetWindow(box, GW_OWNER);
            seen.caption = TextOf(box);
            seen.text = TextOf(::GetDlgItem(box, 0xFFFF));
            seen.yes = ::GetDlgItem(box, IDYES) != nullptr;
            seen.no = ::GetDlgItem(box, IDNO) != nullptr;
            seen.ok = ::GetDlgItem(box, IDOK) != nullptr;
            seen.ownerEnabled = ::IsWindowEnabled(owner);
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        });
        answer = ShowMessage(owner, L"Restore now?", MB_YESNO);
    }
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(seen.owner, owner);
    EXPECT_EQ(seen.caption, L"Tolvane Restore");
    EXPECT_EQ(seen.text, L"Restore now?");
    EXPECT_TRUE(seen.yes && seen.no);
    EXPECT_FALSE(seen.ok);
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST_F(TitleTest, ShowMessageGoesToTheTestHandlerWhenOneIsSet)
{
    palto::test::MessageBoxes boxes;
    boxes.Answer(IDCANCEL);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(ShowMessage(owner, L"Insert the medium", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].owner, owner);
    EXPECT_EQ(boxes.shown()[0].text, L"Insert the medium");
    EXPECT_EQ(boxes.shown()[0].style, static_cast<UINT>(MB_OKCANCEL));
}

// A local date and time as a FILETIME value in UTC.
std::uint64_t FromLocal(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    const SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
    SYSTEMTIME utcFields{};
    FILETIME utc{};
    ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utcFields);
    ::SystemTimeToFileTime(&utcFields, &utc);
    return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

TEST(FormatFileTime, PadsEveryFieldOfTheLocalTime)
{
    EXPECT_EQ(FormatFileTime(FromLocal(2013, 7, 4, 9, 5, 1)).str(), L"2013-07-04 09:05:01");
    EXPECT_EQ(FormatFileTime(FromLocal(1999, 12, 31, 23, 59, 59)).str(), L"1999-12-31 23:59:59");
    EXPECT_EQ(FormatFileTime(FromLocal(2024, 2, 29, 0, 0, 0)).str(), L"2024-02-29 00:00:00");
}

// CTest runs this program with TZ=Europe/Berlin: one hour ahead of UTC in winter and
// two in summer, whatever the season of the day the test runs.
TEST(FormatFileTime, ShowsTheLocalTimeOfThatDay)
{
    wchar_t zone[64] = {};
    ::GetEnvironmentVariableW(L"TZ", zone, 64);
    if (std::wstring(zone) != L"Europe/Berlin") GTEST_SKIP() << "needs TZ=Europe/Berlin";
    const std::uint64_t utc20130704070501 = 130173951010000000ull;
    const std::uint64_t utc20130104070501 = 130017567010000000ull;
    EXPECT_EQ(FormatFileTime(utc20130704070501).str(), L"2013-07-04 09:05:01");
    EXPECT_EQ(FormatFileTime(utc20130104070501).str(), L"2013-01-04 08:05:01");
}

TEST(FormatFileTime, AValueNoFileTimeCanHoldShowsZeros)
{
    EXPECT_EQ(FormatFileTime(0xFFFFFFFFFFFFFFFFull).str(), L"0000-00-00 00:00:00");
    EXPECT_EQ(FormatFileTime(0x8000000000000000ull).str(), L"0000-00-00 00:00:00");
}

}  // namespace
