// The settings a player can change, in one table: each one's place in the settings file, its
// command-line flags, its range, its default and its help.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace krello {

enum class SettingId : int {
    Fullscreen, Scale, Aspect, IntegerScale, Fps, Vsync,  // [display]
    ShotDir,                                               // [files]
    ConfirmQuit, PauseOnFocusLoss, ShowFps, AutomapTurns,  // [play]
    Sound, Volume,                                         // [sound]
    Keys,                                                  // [keys]: one list of keys per action
    Buttons, StickDeadZone,                                // [gamepad]: one list per action but fullscreen
    Count
};

enum class SettingType {
    YesNo,    // yes or no (true/false, on/off and 1/0 are read too)
    Choice,   // one of two words, the first counting as yes: aspect is 4:3 or square
    Whole,    // a whole number from low to high
    Folder,   // a folder's path
    Keys,     // up to four keys for each action
    Buttons,  // up to four gamepad buttons for each action
};

// One row of the table. The settings file, the command line (--help and the manual page) and the
// page's settings panel are written from these rows, so each fact about a setting is stated once.
struct SettingInfo {
    SettingId id;
    const char* section;         // the settings file's [section]
    const char* name;            // its name there; Keys and Buttons rows stand for one name per action
    SettingType type;
    const char* help;            // what it does, in a few lower-case words
    int low = 0;                 // a whole number's range
    int high = 0;
    int fallback = 0;            // the default: the number, or 1 for yes (the first word)
    const char* fallbackText = "";  // a folder's default
    const char* yes = "yes";     // YesNo and Choice: the words for the two values
    const char* no = "no";
    const char* flag = nullptr;      // the command line's option: it takes the value, or means yes
    const char* flagHelp = nullptr;  // what a yes flag does, when not just `help`
    const char* offFlag = nullptr;   // the option that means no
    const char* offHelp = nullptr;
};

inline constexpr std::array<SettingInfo, static_cast<size_t>(SettingId::Count)> SETTINGS = {{
    {.id = SettingId::Fullscreen, .section = "display", .name = "fullscreen", .type = SettingType::YesNo,
     .help = "yes: full screen at the desktop's size; no: a window", .fallback = 1, .flag = "--fullscreen",
     .flagHelp = "full screen at the desktop's size", .offFlag = "--windowed",
     .offHelp = "a window instead of full screen"},
    {.id = SettingId::Scale, .section = "display", .name = "scale", .type = SettingType::Whole,
     .help = "window size in multiples of 320x240, or of 320x200 with square pixels", .low = 1, .high = 16,
     .fallback = 3, .flag = "--scale"},
    {.id = SettingId::Aspect, .section = "display", .name = "aspect", .type = SettingType::Choice,
     .help = "4:3 shows the 320x200 frame as the old display mode did; square: square pixels", .fallback = 1,
     .yes = "4:3", .no = "square", .flag = "--aspect", .flagHelp = "show the 320x200 frame 4:3, as the old display mode did",
     .offFlag = "--no-aspect", .offHelp = "square pixels"},
    {.id = SettingId::IntegerScale, .section = "display", .name = "integer_scale", .type = SettingType::YesNo,
     .help = "whole multiples only: crisp pixels, wider black bars", .flag = "--integer-scale",
     .flagHelp = "scale by whole multiples only", .offFlag = "--no-integer-scale", .offHelp = "scale to fill the window"},
    {.id = SettingId::Fps, .section = "display", .name = "fps", .type = SettingType::Whole,
     .help = "frame-rate cap, 0 for none; a jump's height depends on the frame rate", .low = 0, .high = 1000,
     .fallback = 70, .flag = "--fps"},
    {.id = SettingId::Vsync, .section = "display", .name = "vsync", .type = SettingType::YesNo,
     .help = "wait for the display's refresh", .fallback = 1, .flag = "--vsync", .offFlag = "--no-vsync",
     .offHelp = "do not wait for the display's refresh"},
    {.id = SettingId::ShotDir, .section = "files", .name = "shot_dir", .type = SettingType::Folder,
     .help = "where F12 saves screenshots (. is the folder the game starts in)", .fallbackText = ".",
     .flag = "--shot-dir", .flagHelp = "folder for F12 screenshots"},
    {.id = SettingId::ConfirmQuit, .section = "play", .name = "confirm_quit", .type = SettingType::YesNo,
     .help = "the quit key during play asks \"Quit? Y/N\" first"},
    {.id = SettingId::PauseOnFocusLoss, .section = "play", .name = "pause_on_focus_loss", .type = SettingType::YesNo,
     .help = "pause when the window loses the keyboard"},
    {.id = SettingId::ShowFps, .section = "play", .name = "show_fps", .type = SettingType::YesNo,
     .help = "show frames per second and the frame time in the top right corner", .flag = "--show-fps",
     .flagHelp = "show the frame rate from the start (F11 toggles it)"},
    {.id = SettingId::AutomapTurns, .section = "play", .name = "automap_turns", .type = SettingType::YesNo,
     .help = "yes: the automap (Tab) turns with the player, ahead is up; no: north is up"},
    {.id = SettingId::Sound, .section = "sound", .name = "sound", .type = SettingType::YesNo,
     .help = "on: the game is heard (M mutes it while playing); off: no sound device is opened", .fallback = 1,
     .yes = "on", .no = "off", .flag = "--sound", .flagHelp = "play the game's sound", .offFlag = "--no-sound",
     .offHelp = "no sound: no sound device is opened"},
    {.id = SettingId::Volume, .section = "sound", .name = "volume", .type = SettingType::Whole,
     .help = "loudness of the game's sound, 0 silent to 100 full", .low = 0, .high = 100, .fallback = 80,
     .flag = "--volume"},
    {.id = SettingId::Keys, .section = "keys", .name = "", .type = SettingType::Keys,
     .help = "the keys of an action: up to four, separated by commas"},
    {.id = SettingId::Buttons, .section = "gamepad", .name = "", .type = SettingType::Buttons,
     .help = "the gamepad buttons of an action: up to four, separated by commas"},
    {.id = SettingId::StickDeadZone, .section = "gamepad", .name = "stick_dead_zone", .type = SettingType::Whole,
     .help = "how far (of 32767) the left stick may lean and still count as centred", .low = 0, .high = 32000,
     .fallback = 8000},
}};

constexpr const SettingInfo& setting(SettingId id) { return SETTINGS[static_cast<size_t>(id)]; }

// The rows are in the table in the order of their ids.
constexpr bool settingsInOrder() {
    for (size_t i = 0; i < SETTINGS.size(); ++i)
        if (static_cast<size_t>(SETTINGS[i].id) != i) return false;
    return true;
}
static_assert(settingsInOrder());

// One setting of the settings file: a row of the table, and for a Keys or Buttons row the
// action it binds.
struct SettingEntry {
    const SettingInfo* info;
    int action;             // the Action bound, or -1
    std::string_view name;  // the name in the file: the row's, or the action's
};

// Every setting of the settings file in its order: the Keys and Buttons rows once for each
// action they bind (a gamepad has no full screen), every other row once.
std::vector<SettingEntry> settingEntries();

// A setting's range and default in words, as --help and the manual page add them to the help:
// "1 to 16; default 3", "default yes", "default 4:3", "default .". For the rows that are one
// setting each (not Keys or Buttons).
std::string settingRangeText(const SettingInfo& s);

// The table for the page's settings panel: a JSON array with one object per setting of the
// settings file, in the file's order (a Keys or Buttons row becomes one object per action):
//   {"section":"display","name":"scale","type":"whole","low":1,"high":16,"default":"3","help":"..."}
// with "words":["4:3","square"] for a choice or yes/no.
std::string settingsJson();

}  // namespace krello
