// The settings file: display, screenshots, play and key and gamepad bindings, read with inih.
#include "platform/common/settings.h"

#include <ini.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/whole_number.h"
#include "io/file_bytes.h"
#include "io/shown_text.h"

namespace krello {
namespace {

std::string readBool(const std::string& text, bool& out) {
    for (const char* yes : {"yes", "true", "on", "1"})
        if (text == yes) return out = true, std::string();
    for (const char* no : {"no", "false", "off", "0"})
        if (text == no) return out = false, std::string();
    return "expected yes or no";
}

// Where a yes-or-no setting keeps its value (S is Settings or const Settings).
template <typename S>
auto flagOf(S& s, SettingId id) -> decltype(&s.fullscreen) {
    switch (id) {
        case SettingId::Fullscreen: return &s.fullscreen;
        case SettingId::Aspect: return &s.fourByThree;
        case SettingId::IntegerScale: return &s.integerScale;
        case SettingId::Vsync: return &s.vsync;
        case SettingId::ConfirmQuit: return &s.confirmQuit;
        case SettingId::PauseOnFocusLoss: return &s.pauseOnFocusLoss;
        case SettingId::ShowFps: return &s.showFps;
        case SettingId::Sound: return &s.sound;
        case SettingId::AutomapTurns: return &s.automapTurns;
        default: return nullptr;
    }
}

// Where a whole-number setting keeps its value.
template <typename S>
auto numberOf(S& s, SettingId id) -> decltype(&s.scale) {
    switch (id) {
        case SettingId::Scale: return &s.scale;
        case SettingId::Fps: return &s.fps;
        case SettingId::Volume: return &s.volume;
        case SettingId::StickDeadZone: return &s.bindings.stickDeadZone;
        default: return nullptr;
    }
}

const char* SECTION_COMMENTS[][2] = {
    {"display", "The window. Command-line options override these."},
    {"files", "Files the game writes."},
    {"play", "How the game behaves beyond the game itself."},
    {"sound", "The game's sound. The mute key (M) silences it while playing."},
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
    long unshown = 0;  // warnings past the first MAX_SETTINGS_WARNINGS, counted only
    Settings defaults{};
    std::vector<SettingEntry> entries = settingEntries();
};

std::string trimmed(std::string s) {
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

void warn(Reader& r, const std::string& what) {
    if (r.warnings.size() >= MAX_SETTINGS_WARNINGS) {
        ++r.unshown;
        return;
    }
    r.warnings.push_back(io::shownText(r.file) + ":" + std::to_string(r.line) + ": " + what);
}

// Lines inih would only count as errors are named here, one warning each.
void checkLineShape(Reader& r, const std::string& line) {
    const std::string t = trimmed(line);
    if (t.empty() || t[0] == ';' || t[0] == '#' || t[0] == '[') return;
    if (t.find('=') == std::string::npos && t.find(':') == std::string::npos)
        warn(r, "'" + io::shownText(t) + "' is not a setting (expected NAME = VALUE); ignored");
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

// A folder named in the file that is not there, or is not a folder, falls back to the default:
// a screenshot folder left from another machine must not keep the game from starting.
std::string folderProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code e;
    const fs::file_status status = fs::status(path, e);
    if (fs::is_directory(status)) return {};
    if (fs::exists(status)) return "not a folder";
    if (e.value() == ELOOP) return "too many levels of symbolic links";
    return "no such folder";
}

int onSetting(void* user, const char* section, const char* name, const char* value) {
    Reader& r = *static_cast<Reader*>(user);
    for (const SettingEntry& entry : r.entries) {
        if (entry.info->section != std::string_view(section) || entry.name != name) continue;
        std::string problem = readSetting(entry, value, r.settings);
        if (problem.empty() && entry.info->type == SettingType::Folder) {
            problem = folderProblem(value);
            if (!problem.empty()) r.settings.shotDir = r.defaults.shotDir;
        }
        if (!problem.empty())
            warn(r, io::shownText(name) + " = " + io::shownText(value) + ": " + problem + "; using " + showSetting(entry, r.defaults));
        return 1;
    }
    warn(r, "unknown setting '" + io::shownText(name) + "' in [" + io::shownText(section) + "]; ignored");
    return 1;
}

}  // namespace

std::string showSetting(const SettingEntry& entry, const Settings& s) {
    const SettingInfo& info = *entry.info;
    const auto action = static_cast<size_t>(entry.action);
    switch (info.type) {
        case SettingType::YesNo:
        case SettingType::Choice: return *flagOf(s, info.id) ? info.yes : info.no;
        case SettingType::Whole: return std::to_string(*numberOf(s, info.id));
        case SettingType::Folder: return s.shotDir;
        case SettingType::Keys: return formatKeyList(s.bindings.keys[action]);
        case SettingType::Buttons: return formatPadList(s.bindings.pad[action]);
    }
    return {};
}

std::string readSetting(const SettingEntry& entry, const std::string& text, Settings& s) {
    const SettingInfo& info = *entry.info;
    const auto action = static_cast<size_t>(entry.action);
    switch (info.type) {
        case SettingType::YesNo: return readBool(text, *flagOf(s, info.id));
        case SettingType::Choice:
            if (text != info.yes && text != info.no) return std::string("expected ") + info.yes + " or " + info.no;
            *flagOf(s, info.id) = text == info.yes;
            return {};
        case SettingType::Whole: {
            int64_t v = 0;
            if (!cli::readWholeNumber(text, info.low, info.high, v))
                return "expected " + cli::wholeNumberRange(info.low, info.high);
            *numberOf(s, info.id) = static_cast<int>(v);
            return {};
        }
        case SettingType::Folder:
            if (text.empty()) return "expected a folder";
            s.shotDir = text;
            return {};
        case SettingType::Keys: return parseKeyList(text, s.bindings.keys[action]);
        case SettingType::Buttons: return parsePadList(text, s.bindings.pad[action]);
    }
    return {};
}

std::string settingsPath(const char* configHome, const char* home) {
    namespace fs = std::filesystem;
    // Only an absolute folder counts (on Windows, %APPDATA%, which starts with a drive).
    const bool absolute = configHome != nullptr && (configHome[0] == '/' || fs::path(configHome).is_absolute());
    if (absolute) return (fs::path(configHome) / "krello" / "krello.ini").string();
    if (home != nullptr && home[0] != '\0') return (fs::path(home) / ".config" / "krello" / "krello.ini").string();
    return {};
}

std::string defaultSettingsText() {
    const Settings defaults;
    std::string text = "; Krello 32K settings. Lines starting with ; are comments. A bad line is reported when the\n"
                       "; game starts, and its default is used. Delete this file to get the defaults back.\n";
    std::string section;
    for (const SettingEntry& entry : settingEntries()) {
        const SettingInfo& rule = *entry.info;
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
        // The key and button lists are explained once, in their section's comment.
        if (entry.action < 0) {
            text += "; " + std::string(rule.help);
            if (rule.type == SettingType::Whole)
                text += " (" + std::to_string(rule.low) + " to " + std::to_string(rule.high) + ")";
            text += "\n";
        }
        text += std::string(entry.name) + " = " + showSetting(entry, defaults) + "\n";
    }
    return text;
}

std::vector<std::string> applySettingsText(const std::string& file, const std::string& text, Settings& settings) {
    std::vector<std::string> warnings;
    // Notepad's "UTF-8 with BOM" starts the file with the mark; it is no part of the first line.
    const std::string_view bom = "\xEF\xBB\xBF";
    const std::string body = text.substr(text.starts_with(bom) ? bom.size() : 0);
    Reader reader{file, body, settings, warnings};
    ini_parse_stream(readLine, &reader, onSetting, &reader);
    if (reader.unshown > 0)
        warnings.push_back(io::shownText(file) + ": and " + std::to_string(reader.unshown) + " more bad lines, ignored as well");
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
