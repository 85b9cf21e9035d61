// krello: the game.
#include <SDL.h>

#include <cstdio>
#include <exception>

#include "platform/common/shell_options.h"
#include "platform/sdl/game_shell.h"
#include "platform/sdl/stop_signals.h"

namespace {

int play(int argc, char** argv) {
    const krello::ParsedOptions parsed = krello::parseShellOptions(argc, argv);
    if (!parsed.run) return parsed.exitStatus;
    krello::watchStopSignals();
    return krello::runGame(parsed.options);
}

}  // namespace

int main(int argc, char** argv) {
    int status = 2;
    // Nothing may end in std::terminate: whatever is thrown is one line and status 2.
    try {
        status = play(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krello: the game stopped: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "krello: the game stopped on an unknown error\n");
    }
    SDL_Quit();  // whatever SDL started on the way (timers, D-Bus, gamepads) is shut down too
    return status;
}
