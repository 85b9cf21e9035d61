// The settings file: display, screenshots, play and key and gamepad bindings, read with inih.
#pragma once

#include <string>
#include <vector>

#include "platform/common/bindings.h"
#include "platform/common/setting_table.h"

namespace krello {

// What the settings file can set; the command line overrides it. The defaults are the table's
// (setting_table.h): full screen, the quit key quits at once, losing focus does not pause.
struct Settings {
    bool fullscreen = setting(SettingId::Fullscreen).fallback != 0;      // else a window of `scale` times the frame's shape
    int scale = setting(SettingId::Scale).fallback;                      // window size in multiples of the frame's shape
    bool fourByThree = setting(SettingId::Aspect).fallback != 0;         // 4:3 as the old display mode showed 320x200; else square pixels
    bool integerScale = setting(SettingId::IntegerScale).fallback != 0;  // whole multiples only
    int fps = setting(SettingId::Fps).fallback;                          // frame-rate cap, 0 for none
    bool vsync = setting(SettingId::Vsync).fallback != 0;                // wait for the display's refresh
    std::string shotDir = setting(SettingId::ShotDir).fallbackText;      // where screenshots go
    bool confirmQuit = setting(SettingId::ConfirmQuit).fallback != 0;    // the quit key during play asks "Quit? Y/N" first
    bool pauseOnFocusLoss = setting(SettingId::PauseOnFocusLoss).fallback != 0;  // losing the window's focus pauses
    bool showFps = setting(SettingId::ShowFps).fallback != 0;            // the frame-rate counter in the corner
    bool automapTurns = setting(SettingId::AutomapTurns).fallback != 0;  // the automap turns with the player
    bool sound = setting(SettingId::Sound).fallback != 0;                // a sound device is opened and the game heard
    int volume = setting(SettingId::Volume).fallback;                    // the sound's loudness, 0..100
    Bindings bindings = defaultBindings();                               // keys, buttons, the stick's dead zone
};

// A setting's value as the settings file writes it.
std::string showSetting(const SettingEntry& entry, const Settings& settings);
// Sets a setting from text as the settings file or the command line gives it. Returns an empty
// string, or what was expected ("expected a whole number from 1 to 16"); the value is then kept.
std::string readSetting(const SettingEntry& entry, const std::string& text, Settings& settings);

// Where the file lives: configHome/krello/krello.ini (configHome is $XDG_CONFIG_HOME, or
// %APPDATA% on Windows), else home/.config/krello/krello.ini; empty when neither is set. Only an
// absolute configHome counts. The values are passed in so tests need no environment.
std::string settingsPath(const char* configHome, const char* home);

// The file as first written: every setting at its default, each with a comment.
std::string defaultSettingsText();

// Warnings shown for one file; the rest are counted in one closing line.
constexpr size_t MAX_SETTINGS_WARNINGS = 10;

// Applies the settings in `text` (the file `file`) over `settings`. A line that is not a setting,
// names an unknown one or has a bad value (a shot_dir that is missing or not a folder included)
// changes nothing and gets one warning naming the file and line and the default kept:
// "FILE:LINE: scale = abc: expected a whole number from 1 to 16; using 3". Bad lines never stop
// the game. At most MAX_SETTINGS_WARNINGS are given, then "FILE: and N more bad lines, ignored
// as well"; text from the file is shown with control characters escaped and cut at 80
// characters. A leading UTF-8 byte-order mark is skipped.
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
