// The localized resource module "Mainr<code>.dll" beside the executable, and the
// choice of its language.
#pragma once

#include <windows.h>

#include <string>

// Loads the resource module for the user's language from `folder` (no trailing
// backslash): the boot image's language, else the system's default language, else
// English. On success it is the source of every string, dialog template and icon, and
// `langId` holds its language.
bool LoadResourceModule(const wchar_t* folder, LANGID& langId);

// Loads "<folder>\Mainr<code>.dll" as data and makes it the resource source; false
// changes nothing.
bool TryLoadResourceModule(const wchar_t* folder, const wchar_t* code, LANGID& langId);

// Loads the module of the system's default language, or the English one when that
// language has no module.
bool LoadResourceModuleForSystemLanguage(const wchar_t* folder, LANGID& langId);

// The language of the boot image named in the registry value "SystemStartOptions" of
// HKLM\SYSTEM\CurrentControlSet\Control. True when a boot image name was found; `code`
// is "ENU" otherwise.
bool LanguageFromBootOptions(std::wstring& code);

// The language id of a language code (letter case ignored), or the system's default
// language for a code that is not in the table.
LANGID LangIdForCode(const wchar_t* code);
