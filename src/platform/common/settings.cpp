// The settings file: display, screenshots, play and key and gamepad bindings, read with inih.
#include "platform/common/settings.h"

#include <ini.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <functional>

#include "io/file_bytes.h"

namespace krello {
namespace {

// One setting: its section and name, its comment for the first-run file, how to show its value
// and how to read one (an empty string, or what was expected).
struct SettingRule {
    std::string section;
    std::string name;
    std::string comment;
    std::function<std::string(const Settings&)> show;
    std::function<std::string(const std::string&, Settings&)> read;
};

std::string yesNo(bool v) { return v ? "yes" : "no"; }

std::string readBool(const std::string& text, bool& out) {
    for (const char* yes : {"yes", "true", "on", "1"})
        if (text == yes) return out = true, std::string();
    for (const char* no : {"no", "false", "off", "0"})
        if (text == no) return out = false, std::string();
    return "expected yes or no";
}

std::string readInt(const std::string& text, int lo, int hi, int& out) {
    int v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || v < lo || v > hi)
        return "expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    out = v;
    return {};
}

SettingRule boolRule(const char* section, const char* name, const char* comment, bool Settings::*field) {
    return {section, name, comment, [field](const Settings& s) { return yesNo(s.*field); },
            [field](const std::string& t, Settings& s) { return readBool(t, s.*field); }};
}

SettingRule intRule(const char* section, const char* name, const char* comment, int Settings::*field, int lo, int hi) {
    return {section, name, comment, [field](const Settings& s) { return std::to_string(s.*field); },
            [field, lo, hi](const std::string& t, Settings& s) { return readInt(t, lo, hi, s.*field); }};
}

std::vector<SettingRule> makeRules() {
    std::vector<SettingRule> r;
    r.push_back(boolRule("display", "fullscreen", "yes: full screen at the desktop's size; no: a window", &Settings::fullscreen));
    r.push_back(intRule("display", "scale", "window size in multiples of 320x240 (320x200 with square pixels), 1 to 16",
                        &Settings::scale, 1, 16));
    r.push_back({"display", "aspect", "4:3 shows the 320x200 frame as the old display mode did; square: square pixels",
                 [](const Settings& s) { return std::string(s.fourByThree ? "4:3" : "square"); },
                 [](const std::string& t, Settings& s) -> std::string {
                     if (t != "4:3" && t != "square") return "expected 4:3 or square";
                     s.fourByThree = t == "4:3";
                     return {};
                 }});
    r.push_back(boolRule("display", "integer_scale", "whole multiples only: crisp pixels, wider black bars",
                         &Settings::integerScale));
    r.push_back(intRule("display", "fps", "frame-rate cap, 0 for none (a jump's height depends on the frame rate)",
                        &Settings::fps, 0, 1000));
    r.push_back(boolRule("display", "vsync", "wait for the display's refresh", &Settings::vsync));
    r.push_back({"files", "shot_dir", "where F12 saves screenshots (. is the folder the game starts in)",
                 [](const Settings& s) { return s.shotDir; },
                 [](const std::string& t, Settings& s) -> std::string {
                     if (t.empty()) return "expected a folder";
                     s.shotDir = t;
                     return {};
                 }});
    r.push_back(boolRule("play", "confirm_quit", "the quit key during play asks \"Quit? Y/N\" first",
                         &Settings::confirmQuit));
    r.push_back(boolRule("play", "pause_on_focus_loss", "pause when the window loses the keyboard",
                         &Settings::pauseOnFocusLoss));
    r.push_back(boolRule("play", "show_fps", "show frames per second and the frame time in the top right corner",
                         &Settings::showFps));
    for (int a = 0; a < ACTION_COUNT; ++a) {
        const auto action = static_cast<size_t>(a);
        r.push_back({"keys", std::string(actionName(static_cast<Action>(a))), "",
                     [action](const Settings& s) { return formatKeyList(s.bindings.keys[action]); },
                     [action](const std::string& t, Settings& s) { return parseKeyList(t, s.bindings.keys[action]); }});
    }
    for (int a = 0; a < ACTION_COUNT; ++a) {
        const auto action = static_cast<size_t>(a);
        if (static_cast<Action>(a) == Action::Fullscreen) continue;  // a gamepad has no window to resize
        r.push_back({"gamepad", std::string(actionName(static_cast<Action>(a))), "",
                     [action](const Settings& s) { return formatPadList(s.bindings.pad[action]); },
                     [action](const std::string& t, Settings& s) { return parsePadList(t, s.bindings.pad[action]); }});
    }
    r.push_back({"gamepad", "stick_dead_zone", "how far (of 32767) the left stick may lean and still count as centred",
                 [](const Settings& s) { return std::to_string(s.bindings.stickDeadZone); },
                 [](const std::string& t, Settings& s) { return readInt(t, 0, 32000, s.bindings.stickDeadZone); }});
    return r;
}

const std::vector<SettingRule>& rules() {
    static const std::vector<SettingRule> all = makeRules();
    return all;
}

const char* SECTION_COMMENTS[][2] = {
    {"display", "The window. Command-line options override these."},
    {"files", "Files the game writes."},
    {"play", "How the game behaves beyond the game itself."},
    {"keys", "Keys, up to four for each action, separated by commas: Left, Keypad4. Letters and digits\n"
             "by their symbol (A, 7), others by name: Left Right Up Down Space Enter Escape Tab Backspace\n"
             "Insert Delete Home End PageUp PageDown Pause F1..F12 Keypad0..Keypad9 KeypadEnter Minus\n"
             "Comma Period Slash Semicolon ... Shell keys may need modifiers: Alt+Enter. none binds nothing.\n"
             "The game keys: turn_left turn_right forward back jump fire. After game over, restart plays\n"
             "the level again from the start; a key bound to both pause and restart restarts then."},
    {"gamepad", "Gamepad buttons: A B X Y Back Guide Start LeftStick RightStick LeftShoulder RightShoulder\n"
                "DpadUp DpadDown DpadLeft DpadRight LeftTrigger RightTrigger. The left stick always moves\n"
                "as the d-pad does."},
};

// inih reads through this, a line at a time, so the line number of each setting is known.
struct Reader {
    const std::string& file;
    const std::string& text;
    Settings& settings;
    std::vector<std::string>& warnings;
    size_t pos = 0;
    int line = 0;
    Settings defaults{};
};

std::string trimmed(std::string s) {
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

void warn(Reader& r, const std::string& what) {
    r.warnings.push_back(r.file + ":" + std::to_string(r.line) + ": " + what);
}

// Lines inih would only count as errors are named here, one warning each.
void checkLineShape(Reader& r, const std::string& line) {
    const std::string t = trimmed(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return;
    if (t.find('=') == std::string::npos && t.find(':') == std::string::npos)
        warn(r, "'" + t + "' is not a setting (expected NAME = VALUE); ignored");
}

char* readLine(char* out, int size, void* stream) {
    Reader& r = *static_cast<Reader*>(stream);
    if (r.pos >= r.text.size() || size < 2) return nullptr;
    size_t end = r.text.find('\n', r.pos);
    end = end == std::string::npos ? r.text.size() : end + 1;
    std::string line = r.text.substr(r.pos, end - r.pos);
    r.pos = end;
    ++r.line;
    if (line.size() > static_cast<size_t>(size - 1)) {
        warn(r, "the line is longer than " + std::to_string(size - 2) + " characters; the rest is ignored");
        line.resize(static_cast<size_t>(size - 2));
        line += '\n';
    }
    checkLineShape(r, line);
    std::memcpy(out, line.c_str(), line.size() + 1);
    return out;
}

int onSetting(void* user, const char* section, const char* name, const char* value) {
    Reader& r = *static_cast<Reader*>(user);
    for (const SettingRule& rule : rules()) {
        if (rule.section != section || rule.name != name) continue;
        const std::string problem = rule.read(value, r.settings);
        if (!problem.empty())
            warn(r, std::string(name) + " = " + value + ": " + problem + "; using " + rule.show(r.defaults));
        return 1;
    }
    warn(r, "unknown setting '" + std::string(name) + "' in [" + section + "]; ignored");
    return 1;
}

}  // namespace

std::string settingsPath(const char* xdgConfigHome, const char* home) {
    namespace fs = std::filesystem;
    // Only an absolute folder counts (the Windows shell passes %APPDATA%, which starts with a drive).
    const bool absolute = xdgConfigHome != nullptr && (xdgConfigHome[0] == '/' || fs::path(xdgConfigHome).is_absolute());
    if (absolute) return (fs::path(xdgConfigHome) / "krello" / "krello.ini").string();
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".config" / "krello" / "krello.ini").string();
    return {};
}

std::string defaultSettingsText() {
    const Settings defaults;
    std::string text = "; Krello 32K settings. Lines starting with ; are comments. A bad line is reported when the\n"
                       "; game starts, and its default is used. Delete this file to get the defaults back.\n";
    std::string section;
    for (const SettingRule& rule : rules()) {
        if (rule.section != section) {
            section = rule.section;
            text += "\n";
            for (const auto& c : SECTION_COMMENTS) {
                if (section != c[0]) continue;
                std::string comment = c[1];
                for (size_t at = 0, nl; at < comment.size(); at = nl + 1) {
                    nl = comment.find('\n', at);
                    if (nl == std::string::npos) nl = comment.size();
                    text += "; " + comment.substr(at, nl - at) + "\n";
                }
            }
            text += "[" + section + "]\n";
        }
        if (!rule.comment.empty()) text += "; " + rule.comment + "\n";
        text += rule.name + " = " + rule.show(defaults) + "\n";
    }
    return text;
}

std::vector<std::string> applySettingsText(const std::string& file, const std::string& text, Settings& settings) {
    std::vector<std::string> warnings;
    Reader reader{file, text, settings, warnings};
    ini_parse_stream(readLine, &reader, onSetting, &reader);
    return warnings;
}

SettingsLoad loadSettings(const std::string& path, bool createIfMissing) {
    namespace fs = std::filesystem;
    SettingsLoad load;
    std::error_code e;
    if (!fs::exists(path, e)) {
        if (!createIfMissing) {
            load.error = path + ": no such settings file";
            return load;
        }
        fs::create_directories(fs::path(path).parent_path(), e);
        const std::string failed = io::writeFile(path, defaultSettingsText());
        if (failed.empty()) load.note = "wrote the default settings to " + path;
        else load.warnings.push_back(failed + "; playing with the defaults");
        return load;
    }
    std::string text, error;
    if (!io::readFile(path, "the settings", text, error)) {
        if (createIfMissing) load.warnings.push_back(error + "; playing with the defaults");
        else load.error = error;
        return load;
    }
    load.warnings = applySettingsText(path, text, load.settings);
    return load;
}

}  // namespace krello
