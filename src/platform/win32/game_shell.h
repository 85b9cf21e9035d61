// The game on Windows: start-up in order, window messages into the session, one frame per idle turn.
#pragma once

#include "platform/win32/windows_api.h"

#include "platform/common/shell_options.h"

namespace krello {

// Runs a whole session and returns the process's exit status: 0 after quitting, a closed window
// or the end of a replay; 1 when the window cannot be set up (after the "ERROR!" box) or a
// recording cannot be written; 2 when the level or a demo file is bad or a replay goes out of step.
// showCommand is WinMain's: how the window is first shown.
int runGame(const ShellOptions& options, HINSTANCE instance, int showCommand);

}  // namespace krello
