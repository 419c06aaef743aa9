// Where the catalog comes from: the file HALVEX_SIM_CATALOG names, else halvex-sim.json
// beside the DLL, else the built-in sample.
#pragma once

#include <memory>
#include <string>

#include "simengine/Catalog.h"

namespace sim {

struct LoadedCatalog {
    std::shared_ptr<const Catalog> catalog;   // null when it could not be read
    std::wstring source;                      // the file, or "built-in sample"
    std::string error;                        // why it could not be read
};

LoadedCatalog LoadCatalog();

// An environment variable of the process; empty when it is not set.
std::wstring EnvironmentText(const wchar_t* name);

}  // namespace sim
