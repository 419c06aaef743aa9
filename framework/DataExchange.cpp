#include "framework/DataExchange.h"

#include "framework/CWnd.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    // Every exchange attaches anew: a dialog object that runs twice gets new controls.
    control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(id);
}
