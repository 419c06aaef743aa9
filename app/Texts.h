// The texts of the resource module, the application title, message boxes and dates.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/CString.h"

// The text of a string of the resource module; IDS_APP_TITLE is the application title
// (GetAppTitle); a string the module does not hold gives an empty text.
CString LoadText(UINT id);

// The application title: the OEM title when the OEM feature is on and the module has
// one, else the ordinary one. Kept once found; an empty title is looked up again.
CString GetAppTitle();

// Tests that change the resource module or the configuration file start the title anew.
void ForgetAppTitle();

// A message box owned by `owner`, captioned with the application title, in the language
// of the resource module; returns the button chosen (IDOK, IDYES, ...).
int ShowMessage(HWND owner, const CString& text, UINT style);

// The same box, ended as if OK were clicked once `seconds` have passed without an answer:
// for the end of a restore that nobody may be watching.
int ShowMessageClosingItself(HWND owner, const CString& text, UINT style, UINT seconds);

// Tests answer message boxes with a handler: it receives what would be shown and returns
// the button "chosen". An empty handler restores real message boxes.
using MessageHandler = std::function<int(HWND owner, const CString& text, UINT style)>;
void SetMessageHandler(MessageHandler handler);

// The message the user sees for an engine result code (app/EngineErrors.h), in the
// language of the resource module.
CString EngineErrorMessage(int code);

// A FILETIME value (100-ns units since 1601, UTC) as local "YYYY-MM-DD hh:mm:ss".
CString FormatFileTime(std::uint64_t fileTime);
