// Extra exports of the stand-in engine for tests; the wizard never uses them.
#pragma once

#include "engine/Halvex.h"

extern "C" {

// How many blocks the engine has handed out and not yet had back.
HALVEX_API unsigned long long HalvexSimOutstandingAllocations();

// Starts the engine afresh: stops a restore task (call it while no callback of the
// task waits for the calling thread), reads HALVEX_SIM_CATALOG, the catalog and
// HALVEX_SIM_JOURNAL again, and forgets registrations, answered media requests and
// call counts. Blocks handed out before stay outstanding until freed.
HALVEX_API void HalvexSimReset();

// Copies into `buffer` (of `chars` characters, zero-terminated, cut to fit) where the
// catalog came from: a file's path or "built-in sample". False when it could not be used.
HALVEX_API bool HalvexSimCatalogSource(wchar_t* buffer, unsigned long chars);
}
