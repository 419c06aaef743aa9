// The keyboard in the wizard, as the dialog manager handles it: Enter, Escape and Tab
// with the focus on each kind of control, at each step. Keys go through the same
// pre-translate walk and dispatch as in the modal loop.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestSupport.h"
#include "frame/PaltoDlg.h"
#include "resources/ids.h"

namespace {

using palto::test::MessageBoxes;
using palto::test::ScopedContext;

class KeyboardWizard : public CPaltoDlg {
public:
    using CPaltoDlg::m_nStep;
    using CPaltoDlg::m_pages;
    using CPaltoDlg::m_typePage;
    int cancels = 0;
    void OnCancel() override { ++cancels; }

    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id))); }
    void GoToStep(int step)
    {
        while (m_nStep < step) Command(IDC_NEXT);
        ASSERT_EQ(m_nStep, step);
    }
    HWND PageOfStep() const { return m_pages.at(kStepPages[0][m_nStep])->m_hWnd; }
};

// Where the focus is when the key comes.
enum class Focus { TypeRadio, Next, Back, Page };

const char* Name(Focus focus)
{
    switch (focus) {
    case Focus::TypeRadio: return "a radio button of the type page";
    case Focus::Next: return "Next";
    case Focus::Back: return "Back";
    case Focus::Page: return "the page";
    }
    return "?";
}

class Keyboard : public testing::Test {
protected:
    static void SetUpTestSuite() { palto::test::LoadEnglishResources(); }
    void SetUp() override
    {
        context->testMode = true;  // pages of the later steps without an engine
        ASSERT_TRUE(wizard.Create(IDD_MAIN));
        wizard.ShowWindow(SW_SHOW);
        ::SetActiveWindow(wizard.m_hWnd);
    }
    void TearDown() override { wizard.DestroyWindow(); }

    void FocusOn(Focus focus)
    {
        HWND target = nullptr;
        switch (focus) {
        case Focus::TypeRadio: target = wizard.m_typePage.GetDlgItem(IDC_TYPE_ENTIRE); break;
        case Focus::Next: target = wizard.GetDlgItem(IDC_NEXT); break;
        case Focus::Back: target = wizard.GetDlgItem(IDC_BACK); break;
        case Focus::Page: target = wizard.PageOfStep(); break;
        }
        ::SetFocus(target);
        ASSERT_TRUE(::GetFocus() == target || ::IsChild(target, ::GetFocus())) << Name(focus);
        m_focus = ::GetFocus();
    }

    // Presses a key at the focus as the modal loop would deliver it; true when a
    // pre-translate filter or the dialog manager took it. The desktop has one focus: a
    // window another program shows may take the activation, and the focus with it, at
    // any moment. The wizard gets both back before the key, and after it, so that the
    // focus the test reads is where the key left it.
    bool PressKey(UINT key)
    {
        RegainFocus();
        MSG msg{};
        msg.hwnd = ::GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        const bool taken = CWnd::WalkPreTranslateTree(&msg);
        if (!taken) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        HWND const moved = ::GetFocus();
        palto::test::PumpMessages();
        const bool stillActive = ::GetActiveWindow() == wizard.m_hWnd;
        m_focus = stillActive || !moved ? ::GetFocus() : moved;
        RegainFocus();
        return taken;
    }

    ScopedContext context;
    MessageBoxes boxes;
    KeyboardWizard wizard;

private:
    // Gives the wizard the activation and `m_focus` the focus again when another window
    // took them, until a deadline.
    void RegainFocus()
    {
        if (!m_focus || !::IsWindow(m_focus)) return;
        const ULONGLONG end = ::GetTickCount64() + 10000;
        while (::GetFocus() != m_focus && ::GetTickCount64() < end) {
            ::SetActiveWindow(wizard.m_hWnd);
            ::SetFocus(m_focus);
            palto::test::PumpMessages();
            if (::GetFocus() != m_focus) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        ASSERT_EQ(::GetFocus(), m_focus) << "the wizard did not get the focus back";
    }

    HWND m_focus = nullptr;
};

struct KeyCase {
    int step;
    Focus focus;
};

class EscapeKey : public Keyboard, public testing::WithParamInterface<KeyCase> {};

TEST_P(EscapeKey, NeverEndsTheWizardAndAsksNothing)
{
    wizard.GoToStep(GetParam().step);
    FocusOn(GetParam().focus);
    EXPECT_TRUE(PressKey(VK_ESCAPE)) << "the key was seen and swallowed";
    EXPECT_EQ(wizard.cancels, 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(wizard.m_nStep, GetParam().step);
    // A later key is still acted on: the wizard took no other turn meanwhile.
    FocusOn(Focus::Page);
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard.m_nStep, GetParam().step == 4 ? 3 : GetParam().step + 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, EscapeKey, testing::Values(
    KeyCase{1, Focus::TypeRadio}, KeyCase{1, Focus::Next}, KeyCase{1, Focus::Page},
    KeyCase{2, Focus::Back}, KeyCase{2, Focus::Next}, KeyCase{2, Focus::Page},
    KeyCase{3, Focus::Page}, KeyCase{4, Focus::Back}, KeyCase{4, Focus::Page}));

struct EnterCase {
    int step;
    Focus focus;
    int stepAfter;
};

class EnterKey : public Keyboard, public testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKey, PressesTheDefaultButtonOfTheStep)
{
    wizard.GoToStep(GetParam().step);
    FocusOn(GetParam().focus);
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard.m_nStep, GetParam().stepAfter) << "Enter at step " << GetParam().step << " on " << Name(GetParam().focus);
    EXPECT_EQ(wizard.cancels, 0);
}

INSTANTIATE_TEST_SUITE_P(Steps, EnterKey, testing::Values(
    EnterCase{1, Focus::TypeRadio, 2}, EnterCase{1, Focus::Page, 2}, EnterCase{2, Focus::Page, 3},
    EnterCase{3, Focus::Page, 4},
    // The last step starts the restore on Next: Enter goes Back there.
    EnterCase{4, Focus::Page, 3}, EnterCase{4, Focus::Back, 3}));

// A page disables Next when its choice cannot go on (the disks do not fit, no backup):
// Enter must not get past it, nor end the wizard.
TEST_F(Keyboard, EnterDoesNothingWhileNextIsDisabled)
{
    wizard.GoToStep(3);
    wizard.EnableNextButton(false);
    FocusOn(Focus::Page);
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard.m_nStep, 3);
    EXPECT_TRUE(::IsWindow(wizard.m_hWnd));
    EXPECT_TRUE(boxes.shown().empty());
    // The same key moves on once Next is enabled again.
    wizard.EnableNextButton(true);
    FocusOn(Focus::Page);
    PressKey(VK_RETURN);
    EXPECT_EQ(wizard.m_nStep, 4);
}

TEST_F(Keyboard, BackIsTheDefaultAtTheLastStepAndNextAgainWhenTheUserReturns)
{
    const auto defaultId = [&] { return LOWORD(wizard.SendMessage(DM_GETDEFID)); };
    const auto looksDefault = [&](int id) {
        return (::GetWindowLongPtrW(wizard.GetDlgItem(id), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
    };
    wizard.GoToStep(4);
    EXPECT_EQ(defaultId(), IDC_BACK);
    EXPECT_TRUE(looksDefault(IDC_BACK));
    EXPECT_FALSE(looksDefault(IDC_NEXT));
    wizard.Command(IDC_BACK);
    ASSERT_EQ(wizard.m_nStep, 3);
    EXPECT_EQ(defaultId(), IDC_NEXT);
    EXPECT_TRUE(looksDefault(IDC_NEXT));
    EXPECT_FALSE(looksDefault(IDC_BACK));
}

TEST_F(Keyboard, TabVisitsOneRadioButtonOfTheTypeGroup)
{
    FocusOn(Focus::TypeRadio);
    std::set<int> radios;
    std::set<HWND> visited;
    for (int i = 0; i < 12; ++i) {
        PressKey(VK_TAB);
        HWND focus = ::GetFocus();
        visited.insert(focus);
        const int id = ::GetDlgCtrlID(focus);
        if (::GetParent(focus) == wizard.m_typePage.m_hWnd &&
            (id == IDC_TYPE_ENTIRE || id == IDC_TYPE_DISK || id == IDC_TYPE_PARTITION)) {
            radios.insert(id);
        }
    }
    EXPECT_TRUE(visited.count(wizard.GetDlgItem(IDC_NEXT))) << "Tab reaches the wizard's buttons";
    EXPECT_TRUE(visited.count(wizard.GetDlgItem(IDC_WIZARD_CANCEL)));
    EXPECT_EQ(radios, (std::set<int>{IDC_TYPE_ENTIRE})) << "one tab stop for the group, on its checked button";
}

}  // namespace
