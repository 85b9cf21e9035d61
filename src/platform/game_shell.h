// The game on screen: start-up in order, the event loop, one frame per turn, and the exit status.
#pragma once

#include "platform/shell_options.h"

namespace krello {

// Runs a whole session and returns the process's exit status: 0 after Escape or a closed
// window, 1 when the video, window or renderer cannot be set up, 2 when a demo file is bad.
int runGame(const ShellOptions& options);

}  // namespace krello
