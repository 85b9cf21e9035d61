// The game's command line and settings file: display, pacing, screenshots, demos, the level, keys.
#include "platform/common/shell_options.h"

#include <CLI/CLI.hpp>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/man_page.h"
#include "cli/option_words.h"
#include "io/atomic_file.h"
#include "io/record_file.h"
#include "platform/common/setting_table.h"
#include "platform/common/settings.h"

namespace krello {
namespace {

constexpr const char* VERSION_TEXT = "krello " KRELLO_VERSION;

std::string sentence(const char* text) {
    std::string s = text;
    if (!s.empty()) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

// A setting's options: its value, or a flag for each way (the last one given wins).
void settingOptions(CLI::App& app, const SettingInfo& s, std::string& given) {
    const std::string help = sentence(s.flagHelp != nullptr ? s.flagHelp : s.help);
    switch (s.type) {
        case SettingType::Whole:
            app.add_option(s.flag, given, help + " (" + settingRangeText(s) + ")")
                ->type_name("N")
                ->check(cli::wholeNumber(s.low, s.high));
            return;
        case SettingType::Folder:
            app.add_option(s.flag, given, help + " (" + settingRangeText(s) + ")")
                ->type_name("DIR")
                ->check(cli::existingFolder());
            return;
        case SettingType::YesNo:
        case SettingType::Choice: {
            const char* yes = s.yes;
            const char* no = s.no;
            const bool yesByDefault = s.fallback != 0;
            app.add_flag_callback(s.flag, [&given, yes] { given = yes; }, help + (yesByDefault ? " (default)" : ""));
            if (s.offFlag != nullptr)
                app.add_flag_callback(s.offFlag, [&given, no] { given = no; },
                                      sentence(s.offHelp) + (yesByDefault ? "" : " (default)"));
            return;
        }
        case SettingType::Keys:
        case SettingType::Buttons: return;
    }
}

// The option table: --help and the manual page are both written from it.
void describeOptions(CLI::App& app, ShellCommandLine& c, bool& manPage) {
    cli::useOurHelp(app);
    app.description("Krello 32K: a small first-person action game.\n"
                    "Keys (the settings file can change them): arrows turn and walk, A jumps, Space fires,\n"
                    "P pauses, Enter plays again after game over, Tab shows the automap (+ and - zoom it),\n"
                    "F11 shows the frame rate, F12 saves a screenshot, Alt+Enter toggles full screen,\n"
                    "Escape quits.");
    app.name("krello");
    app.set_version_flag("--version", VERSION_TEXT);
    for (const SettingInfo& s : SETTINGS)
        if (s.flag != nullptr) settingOptions(app, s, c.settings[static_cast<size_t>(s.id)]);
    CLI::Option* rec = app.add_option("--record", c.record, "Record the game as a demo in FILE")->type_name("FILE");
    app.add_flag("--overwrite", c.overwrite, "Let --record replace an existing FILE");
    CLI::Option* pl = app.add_option("--play", c.play, "Replay the demo in FILE on screen")
                          ->type_name("FILE")
                          ->check(cli::existingFile());
    CLI::Option* td = app.add_option("--timedemo", c.timedemo,
                                     "Replay the demo in FILE as fast as possible and print the frame rate")
                          ->type_name("FILE")
                          ->check(cli::existingFile());
    rec->excludes(pl)->excludes(td);
    pl->excludes(td);
    app.add_option("--level", c.level, "Play the level source or 49,180-byte level image in FILE")
        ->type_name("FILE")
        ->check(cli::existingFile());
    app.add_option("--config", c.config,
                   "Read the settings from FILE instead of ~/.config/krello/krello.ini "
                   "(%APPDATA%\\krello\\krello.ini on Windows); a bad line falls back to its default with a "
                   "warning, a FILE that cannot be read ends the game with status 2")
        ->type_name("FILE")
        ->check(cli::existingFile());
    app.add_option("--threads", c.threads,
                   "Threads drawing each frame, 1 to " + std::to_string(MAX_RENDER_THREADS) +
                       " (default: the machine's cores, at most " + std::to_string(MAX_RENDER_THREADS) +
                       "); every count draws the same frames")
        ->type_name("N")
        ->check(cli::wholeNumber(1, MAX_RENDER_THREADS));
    app.add_flag("--manpage", manPage, "Print the manual page")->group("");
}

// A file can be made in the folder (and is removed again at once).
bool shotDirTakesFiles(const std::string& folder) {
    io::AtomicFile probe;
    if (!probe.open((std::filesystem::path(folder) / "krello-shot").string()).empty()) return false;
    probe.abandon();
    return true;
}

// Empty when the game may go on; else the one line that stops it.
std::string checkFiles(const ShellOptions& o) {
    namespace fs = std::filesystem;
    std::error_code e;
    if (!fs::is_directory(o.shotDir, e))
        return "screenshot folder " + o.shotDir + (fs::exists(o.shotDir, e) ? ": not a folder" : ": no such folder");
    // A shot folder that takes no file is refused now, not at the first F12.
    if (!shotDirTakesFiles(o.shotDir)) return "screenshot folder " + o.shotDir + ": cannot write there";
    // A target that could never take the recording is refused before any window opens.
    if (o.demoMode == DemoMode::Record)
        if (std::string problem = io::recordTargetProblem(o.demoFile, o.overwrite); !problem.empty())
            return "--record: " + problem;
    return {};
}

ParsedOptions stop(int status) {
    ParsedOptions p;
    p.run = false;
    p.exitStatus = status;
    return p;
}

std::string keysSection() {
    const Bindings b = defaultBindings();
    std::string text;
    for (int a = 0; a < ACTION_COUNT; ++a) {
        const auto action = static_cast<Action>(a);
        text += std::string(actionName(action)) + ": " + formatKeyList(b.keys[static_cast<size_t>(a)]);
        if (action != Action::Fullscreen) text += "; gamepad " + formatPadList(b.pad[static_cast<size_t>(a)]);
        text += "\n\n";
    }
    return text + "The left stick moves as the d-pad does. A key tapped between two frames still counts once. "
                  "The settings file can bind up to four keys and four gamepad buttons to each action.";
}

// Every setting of the file but the key lists, with its range and default, from the table.
std::string settingsSection() {
    std::string text = "The settings file (see FILES) holds these, a section each; the options above override "
                       "them.";
    std::string section;
    for (const SettingInfo& s : SETTINGS) {
        if (s.type == SettingType::Keys || s.type == SettingType::Buttons) continue;
        if (s.section != section) {
            section = s.section;
            text += "\n\n[" + section + "]";
        }
        text += "\n\n" + std::string(s.name) + ": " + s.help + " (" + settingRangeText(s) + ")";
    }
    return text + "\n\n[keys] and [gamepad]: a list for each action, as KEYS shows them.";
}

}  // namespace

// The option table and what it fills: the options are bound to `line` and `manPage`, which are
// set back to their defaults before each line is read (CLI11 clears its own counts as a parse starts).
struct ShellCommandLineReader::Table {
    CLI::App app;
    ShellCommandLine line;
    bool manPage = false;
};

ShellCommandLineReader::ShellCommandLineReader() : table_(std::make_unique<Table>()) {
    describeOptions(table_->app, table_->line, table_->manPage);
}

ShellCommandLineReader::~ShellCommandLineReader() = default;

ShellCommandLine ShellCommandLineReader::read(int argc, const char* const* argv) {
    CLI::App& app = table_->app;
    ShellCommandLine& c = table_->line;
    c = ShellCommandLine{};
    table_->manPage = false;
    std::ostringstream out, err;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        c.exitStatus = app.exit(e, out, err);
        c.run = false;
    } catch (const CLI::CallForVersion& e) {
        c.exitStatus = app.exit(e, out, err);
        c.run = false;
    } catch (const CLI::ParseError& e) {
        c.error = "krello: " + cli::describeParseError(app, e);
        c.exitStatus = 2;
        c.run = false;
    }
    c.out = out.str();
    if (c.run && table_->manPage) {
        c.out = shellManPage();
        c.run = false;
    }
    return c;
}

ShellCommandLine readShellCommandLine(int argc, const char* const* argv) {
    return ShellCommandLineReader().read(argc, argv);
}

ShellOptions shellOptionsOver(const ShellCommandLine& c, const Settings& s) {
    ShellOptions o;
    static_cast<Settings&>(o) = s;
    for (const SettingEntry& entry : settingEntries()) {
        const std::string& given = c.settings[static_cast<size_t>(entry.info->id)];
        if (entry.action < 0 && !given.empty()) readSetting(entry, given, o);  // checked as it was parsed
    }
    o.overwrite = c.overwrite;
    o.levelFile = c.level;
    if (c.threads > 0) o.threads = c.threads;
    if (!c.record.empty()) o.demoMode = DemoMode::Record, o.demoFile = c.record;
    if (!c.play.empty()) o.demoMode = DemoMode::Play, o.demoFile = c.play;
    if (!c.timedemo.empty()) o.demoMode = DemoMode::Timedemo, o.demoFile = c.timedemo;
    return o;
}

ParsedOptions parseShellOptions(int argc, const char* const* argv, const SettingsPlace& place) {
    const ShellCommandLine c = readShellCommandLine(argc, argv);
    std::fputs(c.out.c_str(), stdout);
    if (!c.error.empty()) std::fprintf(stderr, "%s\n", c.error.c_str());
    if (!c.run) return stop(c.exitStatus);
    const std::string path = c.config.empty() ? settingsPath(place.configHome, place.home) : c.config;
    SettingsLoad load;
    if (!path.empty()) load = loadSettings(path, c.config.empty());
    if (!load.error.empty()) {
        std::fprintf(stderr, "krello: %s\n", load.error.c_str());
        return stop(2);
    }
    if (!load.note.empty()) std::printf("krello: %s\n", load.note.c_str());
    // A screenshot folder from the file that takes no file falls back too: settings never stop the game.
    const Settings defaults;
    if (load.settings.shotDir != defaults.shotDir && !shotDirTakesFiles(load.settings.shotDir)) {
        load.warnings.push_back(path + ": shot_dir = " + load.settings.shotDir + ": cannot write there; using " +
                                defaults.shotDir);
        load.settings.shotDir = defaults.shotDir;
    }
    for (const std::string& w : load.warnings) std::fprintf(stderr, "krello: %s\n", w.c_str());
    ParsedOptions parsed;
    parsed.options = shellOptionsOver(c, load.settings);
    if (std::string problem = checkFiles(parsed.options); !problem.empty()) {
        std::fprintf(stderr, "krello: %s\n", problem.c_str());
        return stop(2);
    }
    return parsed;
}

ParsedOptions parseShellOptions(int argc, const char* const* argv) {
    return parseShellOptions(argc, argv, SettingsPlace{std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")});
}

std::string shellManPage() {
    CLI::App app;
    ShellCommandLine c;
    bool manPage = false;
    describeOptions(app, c, manPage);
    cli::ManPage page{"krello", 6, "a small first-person action game", VERSION_TEXT, {}};
    page.sections.push_back({"keys", keysSection()});
    page.sections.push_back({"settings", settingsSection()});
    page.sections.push_back(
        {"files", "~/.config/krello/krello.ini (or $XDG_CONFIG_HOME/krello/krello.ini): the settings, written with "
                  "their defaults and a comment each on the first start. Command-line options override them."});
    page.sections.push_back(
        {"exit status", "0 after quitting, closing the window or the end of a replay; 1 when there is no display to "
                        "show the game on or the video cannot start, or a recording cannot be written; 2 for a bad "
                        "argument, a --config file that cannot be read, a level or demo (bad lines in a settings "
                        "file never stop the game); 128 plus the signal's number after SIGINT, SIGTERM or SIGHUP "
                        "(a demo being recorded is finished and kept)."});
    page.sections.push_back(
        {"environment", "SDL_VIDEODRIVER chooses the video driver; without it, and without DISPLAY or "
                        "WAYLAND_DISPLAY, the game says there is no display and ends. XDG_CONFIG_HOME and HOME "
                        "locate the settings file."});
    page.sections.push_back({"see also", "krello-tool(1)"});
    return cli::writeManPage(app, page);
}

}  // namespace krello
