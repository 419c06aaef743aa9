#include <string>

#include "app/ConfigFile.h"
#include "app/PaltoApp.h"

bool QueryOemOnlyFeature()
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;  // failed, or the path was cut
    std::string file(path, length);
    const size_t slash = file.rfind('\\');
    if (slash == std::string::npos || slash == 0) return false;
    file.resize(slash);
    file += "\\pconfig.dcf";

    const palto::ConfigFile config(file);
    const std::string& value = config.GetValue("All", "ZAVOnlyFeature");
    return !value.empty() && value.front() != '0';
}
