// The game on screen: start-up in order, the event loop, one frame per turn, and the exit status.
#pragma once

#include "platform/common/shell_options.h"

namespace krello {

// Runs a whole session and returns the process's exit status: 0 after Escape, a closed window
// or the end of a replay; 1 when the video, window or renderer cannot be set up or a recording
// cannot be written; 2 when a demo file is bad or its replay goes out of step.
int runGame(const ShellOptions& options);

}  // namespace krello
