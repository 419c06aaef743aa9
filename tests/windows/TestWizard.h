// The wizard window as the tests drive it: its step, its pages by dialog id, and its
// buttons pressed through the messages a click sends.
#pragma once

#include "frame/PaltoDlg.h"

namespace palto::test {

class TestWizard : public CPaltoDlg {
public:
    using CPaltoDlg::m_nStep;

    HWND Page(int id) const { return m_pages.at(id)->m_hWnd; }
    void Command(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(id))); }
};

}  // namespace palto::test
