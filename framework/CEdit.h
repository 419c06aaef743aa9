// A single-line edit control.
#pragma once

#include "framework/CWnd.h"

class CEdit : public CWnd {
public:
    void SetLimitText(UINT maxCharacters) { SendMessage(EM_LIMITTEXT, maxCharacters); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
};
