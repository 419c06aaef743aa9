// The engine's notifications during a restore: the task's end, the engine's messages and
// its media requests. The callbacks are registered with a run's token, not with an
// address: a callback looks the run up, so one that arrives after the page has withdrawn
// them, or that the engine had already set off when it did, finds nothing and answers
// without a window.
#pragma once

#include <memory>

#include "engine/HalvexRecords.h"
#include "restore/RestoreRun.h"

// Registers the three callbacks for `run` with the engine (ids 1, 2 and 3, in that order).
// Returns 0, or the code of the engine's first refusal: a restore whose end would never
// be heard must not start. WithdrawRestoreNotifications undoes it either way.
int RegisterRestoreNotifications(const std::shared_ptr<RestoreRun>& run);

// Withdraws them (null function, null context) when they are still `run`'s, and forgets
// the run: from now on no callback reaches it.
void WithdrawRestoreNotifications(const RestoreRun& run);

// The callbacks, called by the engine on threads of its own with the registered context.
// Without a run or without its window nobody can be asked: an engine message is answered
// 0 (nothing shown) and a media request Cancel; a task end goes nowhere.
void TaskEndCallback(void* context, void* record);
void EngineMessageCallback(void* context, void* record);
void MediaRequestCallback(void* context, void* record);

// Asks the user for the medium of a media request, on the engine's thread, in a box
// owned by the page; progress is not polled meanwhile. OK answers 0, anything else 1.
void OnMediaRequest(const RestoreRun& run, _MediaRequestNotifyData& request);
