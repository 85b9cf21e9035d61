// The game on screen through SDL: start-up in order, events into the session, one frame per turn.
#pragma once

#include "platform/common/shell_options.h"

namespace krello {

// Runs a whole session and returns the process's exit status: 0 after quitting, a closed window
// or the end of a replay; 1 when there is no display, the video, window or renderer cannot be
// set up or a recording cannot be written; 2 when the level or a demo file is bad or a replay
// goes out of step; 128 + the signal's number after SIGINT or SIGTERM.
int runGame(const ShellOptions& options);

}  // namespace krello
