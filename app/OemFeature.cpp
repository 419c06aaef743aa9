#include <string>

#include "app/ConfigFile.h"
#include "app/PaltoApp.h"
#include "app/ProgramPath.h"

bool QueryOemOnlyFeature()
{
    // A wide path: the folder's name may hold characters the ANSI code page lacks.
    const std::wstring folder = FolderOf(ExecutablePath());
    if (folder.empty()) return false;

    const palto::ConfigFile config(folder + L"\\pconfig.dcf");
    const std::string& value = config.GetValue("All", "ZAVOnlyFeature");
    return !value.empty() && value.front() != '0';
}
