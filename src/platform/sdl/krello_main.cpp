// krello: the game.
#include <SDL.h>

#include "platform/common/shell_options.h"
#include "platform/sdl/game_shell.h"
#include "platform/sdl/stop_signals.h"

int main(int argc, char** argv) {
    const krello::ParsedOptions parsed = krello::parseShellOptions(argc, argv);
    if (!parsed.run) return parsed.exitStatus;
    krello::watchStopSignals();
    const int status = krello::runGame(parsed.options);
    SDL_Quit();  // whatever SDL started on the way (timers, D-Bus, gamepads) is shut down too
    return status;
}
