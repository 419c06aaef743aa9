// The wizard's private window messages, numbered as the engine notifications and the
// pages expect them.
#pragma once

#include <windows.h>

// To the progress page: the engine reported the end of the restore task.
constexpr UINT WM_RESTORE_END = 2024;
// To the progress page: an engine message to show or a question to ask.
constexpr UINT WM_ENGINE_MESSAGE = 2025;
// To the main window: the archive query of the restore launch has ended (lParam: the
// query's id, ArchiveQuery.h).
constexpr UINT WM_ARCHIVE_QUERIED = 2027;
// To the main window: a page accepted its step after a background check; the wizard
// moves one step on without asking the page again.
constexpr UINT WM_STEP_FORWARD = 3027;
// To the source page, from its own worker: the check of the backup has ended (lParam:
// the check's id, ArchiveQuery.h; wParam: the engine's code, as a signed value).
constexpr UINT WM_ARCHIVE_OPENED = WM_APP + 1;
// To the progress page, from its restore worker: the worker is done with the restore
// info; wParam TRUE when the restore runs, FALSE when it was cancelled before it began.
// (A restore that could not start is reported with WM_RESTORE_END, wParam 1.)
constexpr UINT WM_RESTORE_WORKER_DONE = WM_APP + 2;
// To the progress page, sent while the engine asks for a medium: wParam FALSE before the
// prompt (the result is TRUE when the page lets it be shown: polling stops meanwhile and
// the page does not end under it), TRUE after it (polling goes on).
constexpr UINT WM_RESTORE_POLLING = WM_APP + 3;
