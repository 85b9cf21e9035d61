// krello.exe: the game on Windows.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/common/shell_options.h"
#include "platform/win32/console_output.h"
#include "platform/win32/game_shell.h"
#include "platform/win32/stop_requests.h"

namespace {

int play(int argc, char** argv, HINSTANCE instance, int showCommand) {
    // The settings live in %APPDATA%\krello\krello.ini.
    const krello::ParsedOptions parsed =
        krello::parseShellOptions(argc, argv, krello::SettingsPlace{std::getenv("APPDATA"), nullptr});
    if (!parsed.run) return parsed.exitStatus;
    krello::watchStopRequests();
    return krello::runGame(parsed.options, instance, showCommand);
}

}  // namespace

// The program's entry: the instance and the show command (how a shortcut asks the window to be
// shown) are used; the command line is read from the C run-time's own split of it, as main's.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    krello::useParentConsole();
    // Drawn at the screen's own pixels: without this a scaled desktop would blur the frame again.
    SetProcessDPIAware();
    // Nothing may end in std::terminate: whatever is thrown is one line and status 2.
    try {
        return play(__argc, __argv, instance, showCommand);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krello: the game stopped: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "krello: the game stopped on an unknown error\n");
    }
    return 2;
}
