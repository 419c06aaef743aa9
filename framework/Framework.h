// Everything of the dialog framework in one include.
#pragma once

#include "framework/Afx.h"
#include "framework/CButton.h"
#include "framework/CComboBox.h"
#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CProgressCtrl.h"
#include "framework/CStatic.h"
#include "framework/CString.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
