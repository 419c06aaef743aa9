// The base of every page of the wizard: a modeless child dialog that the main window
// creates once and tells when the user presses Next or Back and when it is shown.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AnswerFile.h"
#include "frame/WizardHost.h"
#include "framework/Framework.h"

class CWizardPage : public CDialog {
public:
    CWizardPage(UINT templateId, CWnd* parent = nullptr) : CDialog(templateId, parent) {}

    // Next at this page's step: check the input and store the choice in the wizard
    // context; false keeps the wizard on the step (the page has said why).
    virtual bool OnNextStep() { return true; }
    // Back at this page's step; it cannot stop the wizard going back.
    virtual void OnPrevStep() {}
    // The page is about to be shown: refresh it from the wizard context.
    virtual void OnEnterStep() {}
    // The answer file's choice for this page, made as a person makes it (the page's own
    // handlers and checks run), on the page shown: nothing when the page now holds what
    // the file asks for, else the first thing it found instead.
    virtual std::optional<palto::AnswerDifference> ApplyAnswers(const palto::Answers&) { return std::nullopt; }

protected:
    // What a click does: checks radio button `id` of the group `first` to `last`, or
    // selects entry `index` of drop-down list `id`, and notifies the page as the control would.
    void ClickRadio(int first, int last, int id)
    {
        ::CheckRadioButton(m_hWnd, first, last, id);
        SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id)));
    }
    void ChooseEntry(int id, int index)
    {
        ::SendMessageW(GetDlgItem(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(id)));
    }
    // The entries of drop-down list `id`, as it shows them, and its selection (-1: none).
    std::vector<std::wstring> EntriesOf(int id) const
    {
        const HWND list = GetDlgItem(id);
        std::vector<std::wstring> entries;
        const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = ::SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
            if (length > 0) ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.resize(text.find(L'\0'));
            entries.push_back(std::move(text));
        }
        return entries;
    }
    int SelectionOf(int id) const { return static_cast<int>(::SendMessageW(GetDlgItem(id), CB_GETCURSEL, 0, 0)); }

    // The wizard window this page lives in (its parent); null before the page has a
    // window or when its parent is not a wizard.
    IWizardHost* Host() const { return dynamic_cast<IWizardHost*>(GetParent()); }
    // Swallows Escape, so that no page closes the wizard by accident (Cancel asks first).
    BOOL PreTranslateMessage(MSG* pMsg) override;
};

// The Escape key, which the main window and the pages swallow.
inline bool IsEscapeKey(const MSG* msg)
{
    return msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE;
}

inline BOOL CWizardPage::PreTranslateMessage(MSG* pMsg)
{
    if (IsEscapeKey(pMsg)) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}
