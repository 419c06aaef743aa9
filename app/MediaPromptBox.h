// Answering the engine's media request (notification 3) with a message box: the one
// prompt of every window that reads a backup.
#pragma once

#include <windows.h>

#include "engine/HalvexRecords.h"

// Asks for the medium `request` names in a box owned by `owner` and writes the answer
// into the request: OK continues (kMediaAnswerOk), Cancel gives up (kMediaAnswerCancel).
// Returns the button chosen, or 0 when there was nothing to ask (the module has no text
// for it, or the owner has gone) or the box could not be shown: the answer then stays as
// the engine set it.
// Runs on whichever thread the engine calls from; `owner` must outlive the box.
int AskForMedium(HWND owner, _MediaRequestNotifyData& request);
