// The keyboard as a user presses it on the real program: Escape never closes the
// wizard, Enter at the last step goes Back, Tab stops once in a radio group.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Automation.h"
#include "E2eSupport.h"
#include "resources/ids.h"

using namespace palto::e2e;

namespace {


class KeyboardE2e : public testing::Test {
protected:
    void SetUp() override
    {
        wizard = WaitForTopWindow(palto.id(), MatchSelector(L"wizard"), kWait);
        ASSERT_TRUE(wizard);
    }
    void TearDown() override
    {
        if (!wizard || !::IsWindow(wizard)) return;
        Click(FindControl(wizard, IDC_WIZARD_CANCEL));
        if (HWND box = WaitForTopWindow(palto.id(), MatchSelector(L"box"), kWait)) Click(FindControl(box, IDYES));
        EXPECT_EQ(palto.WaitForExit(kWait), 0u);
    }
    bool CaptionBecomes(const wchar_t* text) { return WaitForText(FindControl(wizard, IDC_STEP_CAPTION), text, kWait); }
    // The focus after it has moved away from `from`, or null when it does not move in time.
    HWND FocusMovesFrom(HWND from)
    {
        const ULONGLONG end = ::GetTickCount64() + kWait;
        do {
            HWND focus = FocusedWindow(palto.id());
            if (focus && focus != from) return focus;
            ::Sleep(20);
        } while (::GetTickCount64() < end);
        return nullptr;
    }

    bool FocusBecomes(HWND target)
    {
        const ULONGLONG end = ::GetTickCount64() + kWait;
        do {
            if (FocusedWindow(palto.id()) == target) return true;
            ::Sleep(20);
        } while (::GetTickCount64() < end);
        return false;
    }

    // Test mode: every step can be walked without backups.
    Process palto{BinFolder() + L"\\Palto.exe", L"-test"};
    HWND wizard = nullptr;
};

TEST_F(KeyboardE2e, EscapeOnATypeRadioButtonLeavesTheWizardOpenAndAsksNothing)
{
    HWND radio = FindControl(wizard, IDC_TYPE_ENTIRE);
    Click(radio);
    PressKey(radio, VK_ESCAPE);
    // Enter after it is acted on, so the Escape before it was handled and did nothing.
    PressKey(radio, VK_RETURN);
    ASSERT_TRUE(CaptionBecomes(L"Step 2 of 4")) << "the keys after Escape are still acted on";
    EXPECT_FALSE(FindTopWindow(palto.id(), MatchSelector(L"box"))) << "nothing is asked";
    EXPECT_TRUE(::IsWindow(wizard));
}

TEST_F(KeyboardE2e, EnterAtTheLastStepGoesBack)
{
    for (const wchar_t* caption : {L"Step 2 of 4", L"Step 3 of 4", L"Step 4 of 4"}) {
        Click(FindControl(wizard, IDC_NEXT));
        ASSERT_TRUE(CaptionBecomes(caption));
    }
    // The focus on something other than a push button: Enter presses the dialog's default.
    HWND caption = FindControl(wizard, IDC_STEP_CAPTION);
    ::PostMessageW(wizard, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(caption), TRUE);
    ASSERT_TRUE(FocusBecomes(caption));
    PressKey(caption, VK_RETURN);
    EXPECT_TRUE(CaptionBecomes(L"Step 3 of 4")) << "Enter pressed Back, the default button of the last step";
}

TEST_F(KeyboardE2e, TabStopsOnceInTheRadioGroup)
{
    HWND radio = FindControl(wizard, IDC_TYPE_ENTIRE);
    Click(radio);
    ASSERT_TRUE(FocusBecomes(radio));
    std::set<int> radios;
    bool reachedNext = false;
    HWND focus = radio;
    for (int i = 0; i < 6; ++i) {
        PressKey(focus, VK_TAB);
        focus = FocusMovesFrom(focus);
        ASSERT_TRUE(focus) << "Tab moved the focus";
        const int id = ::GetDlgCtrlID(focus);
        if (id == IDC_TYPE_ENTIRE || id == IDC_TYPE_DISK || id == IDC_TYPE_PARTITION) radios.insert(id);
        reachedNext = reachedNext || id == IDC_NEXT;
    }
    EXPECT_TRUE(reachedNext);
    EXPECT_EQ(radios, (std::set<int>{IDC_TYPE_ENTIRE}));
}

}  // namespace
