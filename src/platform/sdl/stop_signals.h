// SIGINT, SIGTERM and SIGHUP as a request to end the session cleanly, instead of killing the game.
#pragma once

namespace krello {

// Installs the handlers (and keeps SDL from installing its own, which would turn the signal
// into a plain quit with status 0). Call before SDL starts.
void watchStopSignals();

// 0, or the number of the signal that asked the game to stop.
int stopSignal();

}  // namespace krello
