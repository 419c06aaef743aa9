// Process-wide state of the dialog framework: the application object, the main
// window and the module that resources (strings, dialog templates, icons) come from.
#pragma once

#include <windows.h>

class CWinApp;
class CWnd;

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Every resource lookup of the framework goes to this module; it starts as the
// executable and is replaced by the localized resource module at start-up.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
