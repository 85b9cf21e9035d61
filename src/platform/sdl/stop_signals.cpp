// SIGINT, SIGTERM and SIGHUP as a request to end the session cleanly, instead of killing the game.
#include "platform/sdl/stop_signals.h"

#include <SDL.h>

#include <csignal>

namespace krello {
namespace {

// Written by the handler, read by the loop: the one state a signal handler may touch.
volatile std::sig_atomic_t requested = 0;

extern "C" void onStopSignal(int signal) { requested = signal; }

}  // namespace

void watchStopSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGHUP, onStopSignal);  // the terminal closed: end as SIGTERM does, the demo kept
    // A closed standard output is no reason to end a game: a message to it simply goes nowhere.
    std::signal(SIGPIPE, SIG_IGN);
}

int stopSignal() { return requested; }

}  // namespace krello
