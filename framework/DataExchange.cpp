#include "framework/DataExchange.h"

#include "framework/CWnd.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!control.m_hWnd) control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(id);
}
