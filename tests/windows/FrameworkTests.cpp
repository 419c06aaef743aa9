// The behaviour of the dialog framework that the wizard relies on, with real windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Framework.h"

namespace {

constexpr UINT kModal = 1000;
constexpr UINT kPage = 1001;
constexpr int kCombo = 200;
constexpr int kOther = 201;
constexpr int kPageEdit = 300;
constexpr UINT WM_TEST_START = WM_APP + 10;

// A modal test dialog whose OnInitDialog posts WM_TEST_START, so that `onStart` runs
// inside its own modal loop.
class ScriptedDialog : public CDialog {
public:
    std::function<void(ScriptedDialog&)> onStart;
    explicit ScriptedDialog(CWnd* parent = nullptr) : CDialog(kModal, parent) {}

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(WM_TEST_START);
        return TRUE;
    }

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnStart(WPARAM, LPARAM)
    {
        if (onStart) onStart(*this);
        return 0;
    }
};

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_MESSAGE(WM_TEST_START, &ScriptedDialog::OnStart)
END_MESSAGE_MAP()

TEST(DoModal, EndsWithEndDialogAndReturnsItsCode)
{
    ScriptedDialog dialog;
    HWND seen = nullptr;
    dialog.onStart = [&](ScriptedDialog& d) {
        seen = d.m_hWnd;
        d.EndDialog(42);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(seen != nullptr);
    EXPECT_FALSE(::IsWindow(seen)) << "the dialog's window is destroyed when DoModal returns";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DoModal, DisablesItsOwnerWhileItRunsAndEnablesItAfter)
{
    ScriptedDialog owner;
    ScriptedDialog inner(&owner);
    BOOL ownerEnabledDuring = TRUE;
    inner.onStart = [&](ScriptedDialog& d) {
        ownerEnabledDuring = ::IsWindowEnabled(owner.m_hWnd);
        d.EndDialog(IDOK);
    };
    BOOL ownerEnabledAfter = FALSE;
    owner.onStart = [&](ScriptedDialog& d) {
        inner.DoModal();
        ownerEnabledAfter = ::IsWindowEnabled(d.m_hWnd);
        d.EndDialog(IDOK);
    };
    owner.DoModal();
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(ownerEnabledAfter);
}

TEST(DoModal, AnOwnerDisabledBeforehandStaysDisabled)
{
    ScriptedDialog owner;
    ScriptedDialog inner(&owner);
    inner.onStart = [](ScriptedDialog& d) { d.EndDialog(IDOK); };
    BOOL ownerEnabledAfter = TRUE;
    owner.onStart = [&](ScriptedDialog& d) {
        d.EnableWindow(FALSE);  // as the wizard does while a worker thread runs
        inner.DoModal();
        ownerEnabledAfter = d.IsWindowEnabled();
        d.EndDialog(IDOK);
    };
    owner.DoModal();
    EXPECT_FALSE(ownerEnabledAfter);
}

TEST(DoModal, OkAndCancelCommandsEndTheDialogByDefault)
{
    for (int command : {IDOK, IDCANCEL}) {
        ScriptedDialog dialog;
        dialog.onStart = [command](ScriptedDialog& d) { d.PostMessage(WM_COMMAND, command); };
        EXPECT_EQ(dialog.DoModal(), command);
    }
}

TEST(DoModal, AQuitMessageEndsEveryNestedModalLoop)
{
    ScriptedDialog outer;
    ScriptedDialog inner(&outer);
    inner.onStart = [](ScriptedDialog&) { ::PostQuitMessage(7); };
    INT_PTR innerResult = 0;
    outer.onStart = [&](ScriptedDialog&) { innerResult = inner.DoModal(); };
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);

    // The quit is passed on outwards, to whoever runs the outermost loop.
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST(DoModal, FailsWithoutTheTemplate)
{
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

// Message maps: a derived class's entry wins, an unmapped message reaches the base's
// entry, and a private message sent with SendMessageW returns its handler's result.
class BaseDialog : public CDialog {
public:
    BaseDialog() : CDialog(kModal) {}
    std::vector<int> clicks;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnFirst(WPARAM, LPARAM) { return 1; }
    LRESULT OnSecond(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    void OnComboChanged() { clicks.push_back(kCombo); }
    void OnOtherClicked() { clicks.push_back(kOther); }
    void OnThrowing() { throw std::runtime_error("handler failure"); }
};

BEGIN_MESSAGE_MAP(BaseDialog, CDialog)
    ON_MESSAGE(WM_APP + 1, &BaseDialog::OnFirst)
    ON_MESSAGE(WM_APP + 2, &BaseDialog::OnSecond)
    ON_CBN_SELCHANGE(kCombo, &BaseDialog::OnComboChanged)
    ON_BN_CLICKED(kOther, &BaseDialog::OnOtherClicked)
    ON_COMMAND(999, &BaseDialog::OnThrowing)
END_MESSAGE_MAP()

class DerivedDialog : public BaseDialog {
protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnFirstAgain(WPARAM, LPARAM) { return 10; }
};

BEGIN_MESSAGE_MAP(DerivedDialog, BaseDialog)
    ON_MESSAGE(WM_APP + 1, &DerivedDialog::OnFirstAgain)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntryWinsAndOtherMessagesReachTheBase)
{
    DerivedDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_APP + 1, 0, 0), 10);
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_APP + 2, 30, 12), 42);
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_APP + 3, 0, 0), 0) << "unmapped: the dialog default";
    dialog.DestroyWindow();
}

TEST(MessageMap, ControlNotificationsReachTheHandlerOfTheirControl)
{
    DerivedDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    HWND combo = dialog.GetDlgItem(kCombo);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    ::SendMessageW(dialog.GetDlgItem(kOther), BM_CLICK, 0, 0);
    // Other notifications of those controls, and other ids, reach no handler.
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(kCombo, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo));
    ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(kOther + 50, BN_CLICKED), 0);
    EXPECT_EQ(dialog.clicks, (std::vector<int>{kCombo, kOther}));
    dialog.DestroyWindow();
}

TEST(MessageMap, AnExceptionInAHandlerStaysInTheProgram)
{
    DerivedDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    EXPECT_EQ(::SendMessageW(dialog.m_hWnd, WM_COMMAND, 999, 0), 0);
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
    dialog.DestroyWindow();
}

// A modeless child page inside a dialog, as the wizard's pages are.
class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(kModal) {}
    int cancels = 0;
    void OnCancel() override { ++cancels; }
};

class EscapeFilteringPage : public CDialog {
public:
    EscapeFilteringPage() : CDialog(kPage) {}
    int escapes = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
            ++escapes;
            return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }
};

MSG EscapeKeyFor(HWND hWnd)
{
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    return msg;
}

TEST(PreTranslate, APageSeesEscapeBeforeIsDialogMessage)
{
    HostDialog host;
    ASSERT_TRUE(host.Create(kModal));
    EscapeFilteringPage page;
    ASSERT_TRUE(page.Create(kPage, &host));
    EXPECT_EQ(CWnd::FromHandlePermanent(page.m_hWnd), &page);

    MSG msg = EscapeKeyFor(page.GetDlgItem(kPageEdit));
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&msg));
    EXPECT_EQ(page.escapes, 1);
    EXPECT_EQ(host.cancels, 0) << "the key went no further than the page";
    host.DestroyWindow();
    EXPECT_EQ(page.m_hWnd, nullptr) << "the page is unbound when its window goes with its parent";
}

TEST(PreTranslate, WithoutAFilterIsDialogMessageTurnsEscapeIntoCancel)
{
    HostDialog host;
    ASSERT_TRUE(host.Create(kModal));
    CDialog page(kPage);
    ASSERT_TRUE(page.Create(kPage, &host));

    MSG msg = EscapeKeyFor(page.GetDlgItem(kPageEdit));
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&msg));
    EXPECT_EQ(host.cancels, 1) << "IsDialogMessageW sends IDCANCEL to the dialog that holds the page";
    EXPECT_TRUE(::IsWindow(page.m_hWnd)) << "ending a modeless page is not how it goes away";
    host.DestroyWindow();
}

TEST(PreTranslate, WindowsThatAreNotOursAreSkipped)
{
    MSG msg = EscapeKeyFor(::GetDesktopWindow());
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&msg));
}

class BoundControlsDialog : public CDialog {
public:
    BoundControlsDialog() : CDialog(kModal) {}
    CComboBox combo;
    CButton other;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kCombo, combo);
        DDX_Control(pDX, kOther, other);
    }
};

TEST(DataExchange, DdxControlAttachesTheControlsOfTheTemplate)
{
    BoundControlsDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    EXPECT_EQ(dialog.combo.m_hWnd, dialog.GetDlgItem(kCombo));
    EXPECT_EQ(dialog.other.m_hWnd, dialog.GetDlgItem(kOther));
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.combo.m_hWnd), nullptr) << "controls are not subclassed";

    dialog.combo.AddString(L"first");
    dialog.combo.SetItemData(dialog.combo.AddString(L"second"), 77);
    dialog.combo.SetCurSel(1);
    EXPECT_EQ(dialog.combo.GetLBText(1), L"second");
    EXPECT_EQ(dialog.combo.GetItemData(dialog.combo.GetCurSel()), 77u);
    EXPECT_EQ(dialog.combo.GetLBText(5), L"");
    dialog.DestroyWindow();
}

TEST(DataExchange, ASecondRunOfOneDialogObjectUsesItsNewControls)
{
    class RunTwice : public BoundControlsDialog {
    public:
        std::vector<HWND> seen;
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            seen.push_back(combo.m_hWnd);
            combo.AddString(L"entry");  // acts on the control of this run, or fails
            EXPECT_EQ(combo.GetCount(), 1);
            EndDialog(IDOK);
            return TRUE;
        }
    } dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(dialog.seen.size(), 2u);
    EXPECT_NE(dialog.seen[0], nullptr);
    EXPECT_NE(dialog.seen[1], nullptr);
    EXPECT_FALSE(::IsWindow(dialog.seen[0]));
}

// A dialog that maps WM_SYSCOMMAND for the close command alone, as the progress page
// does: every other command goes on to the default processing.
class CloseCommandDialog : public CDialog {
public:
    CloseCommandDialog() : CDialog(kModal) {}
    std::vector<UINT> commands;
    int cancels = 0;
    void OnCancel() override { ++cancels; }

protected:
    DECLARE_MESSAGE_MAP()
    void OnSysCommand(UINT id, LPARAM)
    {
        commands.push_back(id & 0xFFF0);
        if ((id & 0xFFF0) != SC_CLOSE) DeclineMessage();
    }
};

BEGIN_MESSAGE_MAP(CloseCommandDialog, CDialog)
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

TEST(MessageMap, AHandlerCanDeclineItsMessageToTheDefaultProcessing)
{
    CloseCommandDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    dialog.ShowWindow(SW_SHOW);
    dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(::IsIconic(dialog.m_hWnd)) << "declined: the system minimized the window";
    dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(::IsIconic(dialog.m_hWnd));
    dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(dialog.commands, (std::vector<UINT>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}));
    EXPECT_EQ(dialog.cancels, 0) << "the close command was taken by its handler";
    dialog.DestroyWindow();
}

// A dialog that destroys its own window from inside a handler, while a message of the
// same window is still being handled further out.
class SelfDestroyingDialog : public CDialog {
public:
    SelfDestroyingDialog() : CDialog(kModal) {}
    std::vector<std::string> events;

protected:
    DECLARE_MESSAGE_MAP()
    void PostNcDestroy() override { events.push_back("final"); }
    LRESULT OnOuter(WPARAM, LPARAM)
    {
        SendMessage(WM_APP + 21);
        // Still bound after the inner handler destroyed the window.
        events.push_back(m_hWnd ? "outer: bound" : "outer: unbound");
        return 0;
    }
    LRESULT OnInner(WPARAM, LPARAM)
    {
        DestroyWindow();
        events.push_back(m_hWnd ? "inner: bound" : "inner: unbound");
        return 0;
    }
};

BEGIN_MESSAGE_MAP(SelfDestroyingDialog, CDialog)
    ON_MESSAGE(WM_APP + 20, &SelfDestroyingDialog::OnOuter)
    ON_MESSAGE(WM_APP + 21, &SelfDestroyingDialog::OnInner)
END_MESSAGE_MAP()

TEST(Teardown, AWindowDestroyedInsideItsOwnHandlerStaysBoundUntilTheOutermostReturns)
{
    SelfDestroyingDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    HWND hWnd = dialog.m_hWnd;
    ::SendMessageW(hWnd, WM_APP + 20, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"inner: bound", "outer: bound", "final"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(Teardown, AWindowDestroyedFromOutsideIsUnboundAtOnce)
{
    SelfDestroyingDialog dialog;
    ASSERT_TRUE(dialog.Create(kModal));
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"final"}));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

// A handler that frees its own object while the message is still being handled: the
// framework touches the object no more, and counts the fault for the tests to see.
class SelfDeletingDialog : public CDialog {
public:
    SelfDeletingDialog() : CDialog(kModal) {}

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnDelete(WPARAM, LPARAM)
    {
        delete this;
        return 7;
    }
};

BEGIN_MESSAGE_MAP(SelfDeletingDialog, CDialog)
    ON_MESSAGE(WM_APP + 22, &SelfDeletingDialog::OnDelete)
END_MESSAGE_MAP()

TEST(Teardown, AnObjectFreedUnderItsOwnHandlerIsNotTouchedAgainAndIsCounted)
{
    auto* dialog = new SelfDeletingDialog;
    ASSERT_TRUE(dialog->Create(kModal));
    HWND hWnd = dialog->m_hWnd;
    const unsigned long before = CWnd::StrayMessages();
    ::SendMessageW(hWnd, WM_APP + 22, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd)) << "the object took its window with it";
    EXPECT_EQ(CWnd::StrayMessages(), before + 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

// A handler that frees its own object and makes another in the very same storage, as
// the heap does when it hands a freed address to the next object.
class ReplacedDialog : public CDialog {
public:
    ReplacedDialog() : CDialog(kModal) {}

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnReplace(WPARAM, LPARAM)
    {
        void* storage = this;
        this->~ReplacedDialog();
        new (storage) SelfDestroyingDialog;
        return 0;
    }
};

BEGIN_MESSAGE_MAP(ReplacedDialog, CDialog)
    ON_MESSAGE(WM_APP + 23, &ReplacedDialog::OnReplace)
END_MESSAGE_MAP()

TEST(Teardown, AnObjectMadeAtTheAddressOfAFreedOneIsNotTakenForIt)
{
    alignas(std::max_align_t) unsigned char storage[std::max(sizeof(ReplacedDialog), sizeof(SelfDestroyingDialog))];
    auto* first = new (storage) ReplacedDialog;
    ASSERT_TRUE(first->Create(kModal));
    HWND firstWindow = first->m_hWnd;
    const unsigned long before = CWnd::StrayMessages();
    ::SendMessageW(firstWindow, WM_APP + 23, 0, 0);
    EXPECT_FALSE(::IsWindow(firstWindow)) << "the first object took its window with it";
    EXPECT_EQ(CWnd::StrayMessages(), before + 1) << "the message's end met the successor as if it were the first";

    // The successor starts clean: its own window destroyed inside its own handler stays
    // bound until the outermost handler returns, as for any other object.
    auto* successor = std::launder(reinterpret_cast<SelfDestroyingDialog*>(storage));
    ASSERT_TRUE(successor->Create(kModal));
    HWND hWnd = successor->m_hWnd;
    ::SendMessageW(hWnd, WM_APP + 20, 0, 0);
    EXPECT_EQ(successor->events, (std::vector<std::string>{"inner: bound", "outer: bound", "final"}));
    EXPECT_EQ(CWnd::FromHandlePermanent(firstWindow), nullptr);
    successor->~SelfDestroyingDialog();
}

TEST(CString, FormatTakesCStringsAndNumbers)
{
    CString name(L"Data");
    CString text;
    text.Format(L"%s: %d (%.1f GB)", name, 3, 1.5);
    EXPECT_EQ(text, L"Data: 3 (1.5 GB)");
}

}  // namespace
