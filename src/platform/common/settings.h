// The settings file: display, screenshots, play and key and gamepad bindings, read with inih.
#pragma once

#include <string>
#include <vector>

#include "platform/common/bindings.h"

namespace krello {

// What the settings file can set; the command line overrides it. Defaults keep the game as it
// was made: full screen, Escape quits at once, losing focus does not pause.
struct Settings {
    bool fullscreen = true;          // else a window of `scale` times the frame's shape
    int scale = 3;                   // 1..16
    bool fourByThree = true;         // 4:3 as the old display mode showed 320x200; else square pixels
    bool integerScale = false;       // whole multiples only
    int fps = 70;                    // frame-rate cap, 0 for none
    bool vsync = true;               // wait for the display's refresh
    std::string shotDir = ".";       // where screenshots go
    bool confirmQuit = false;        // Escape during play asks "Quit? Y/N" first
    bool pauseOnFocusLoss = false;   // losing the window's focus pauses
    bool showFps = false;            // the frame-rate counter in the corner
    Bindings bindings = defaultBindings();
};

// Where the file lives: $XDG_CONFIG_HOME/krello/krello.ini, else ~/.config/krello/krello.ini;
// empty when neither variable is set. The values are passed in so tests need no environment; the
// Windows shell passes %APPDATA% as the first.
std::string settingsPath(const char* xdgConfigHome, const char* home);

// The file as first written: every setting at its default, each with a comment.
std::string defaultSettingsText();

// Applies the settings in `text` (the file `file`) over `settings`. A line that is not a setting,
// names an unknown one or has a bad value changes nothing and gets one warning naming the file and
// line and the default kept: "FILE:LINE: scale = abc: expected a whole number from 1 to 16; using 3".
std::vector<std::string> applySettingsText(const std::string& file, const std::string& text, Settings& settings);

// What reading the settings did, for the shell to say: a file written, warnings, or a failure.
struct SettingsLoad {
    Settings settings;
    std::vector<std::string> warnings;  // bad lines; the game still starts
    std::string note;                   // "wrote the default settings to PATH", or empty
    std::string error;                  // the file named on the command line cannot be read
};

// Reads `path`. When the file does not exist and `createIfMissing` is set (the default place),
// it is written with the defaults; failing that is a warning, not an error.
SettingsLoad loadSettings(const std::string& path, bool createIfMissing);

}  // namespace krello
