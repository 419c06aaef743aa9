// The engine client: the one Caller of the process, through which every part of the
// wizard reaches the engine. Created once and never destroyed.
#pragma once

#include "engine/Halvex.h"

// Starts the engine as it expects to be started and makes the client: the
// communicator is fetched and dropped, fetched again and initialized, then the Caller
// is made. The main window calls this while it initializes; later calls do nothing.
void CreateEngineClient();

// The engine client, made by CreateEngineClient (which this calls if nobody has yet).
Caller& GetEngineClient();
