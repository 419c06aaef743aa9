// DoDataExchange support: DDX_Control attaches a control wrapper to the control of
// the dialog with that id (no subclassing: the wrapper only holds the handle).
#pragma once

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
