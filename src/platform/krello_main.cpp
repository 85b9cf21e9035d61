// krello: the game.
#include "platform/game_shell.h"
#include "platform/shell_options.h"

int main(int argc, char** argv) {
    const krello::ParsedOptions parsed = krello::parseShellOptions(argc, argv);
    if (!parsed.run) return parsed.exitStatus;
    return krello::runGame(parsed.options);
}
