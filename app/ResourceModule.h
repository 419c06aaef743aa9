// The localized resource module "Mainr<code>.dll" beside the executable.
#pragma once

#include <windows.h>

// Loads the resource module for the user's language from `folder` (no trailing
// backslash), falling back to English, and makes it the source of every string,
// dialog template and icon. On success `langId` holds the module's language.
bool LoadResourceModule(const wchar_t* folder, LANGID& langId);

// Loads "<folder>\Mainr<code>.dll" and makes it the resource source; false changes nothing.
bool TryLoadResourceModule(const wchar_t* folder, const wchar_t* code, LANGID& langId);
