// The game's command line and settings file: display, pacing, screenshots, demos, the level, keys.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/common/settings.h"
#include "render/render_threads.h"

namespace krello {

enum class DemoMode { None, Record, Play, Timedemo };

// What a session runs with: the settings file's values with the command line's over them, and
// what only the command line says.
struct ShellOptions : Settings {
    DemoMode demoMode = DemoMode::None;
    std::string demoFile;
    bool overwrite = false;                // --record may replace an existing file
    std::string levelFile;                 // a level source or image; empty: the built-in level
    int threads = defaultRenderThreads();  // threads drawing each frame's columns
};

// The outcome of reading the command line: run the game, or stop with this status (help and
// version print and stop with 0; a bad argument prints one line on stderr and stops with 2).
struct ParsedOptions {
    ShellOptions options;
    bool run = true;
    int exitStatus = 0;
};

// What the command line says on its own, before the settings file is read: read without touching
// a file but to ask whether a named one exists, and without printing.
struct ShellCommandLine {
    std::array<std::string, SETTINGS.size()> settings;  // a setting's value as given, by SettingId; empty if not
    std::string record, play, timedemo, level, config;  // the files named
    bool overwrite = false;                              // --overwrite
    int threads = 0;                                     // --threads; 0: the machine's cores
    bool run = true;       // false: stop now with exitStatus
    int exitStatus = 0;    // 0 after help, the version or the manual page; 2 for a bad argument
    std::string out;       // what help, --version or --manpage print on stdout
    std::string error;     // a bad argument's one line for stderr: "krello: ..."
};
ShellCommandLine readShellCommandLine(int argc, const char* const* argv);

// Reads command lines with one option table, made when the reader is: making it is most of what
// reading a line costs, which matters to a caller that reads thousands (the fuzz harness). Each
// line is read afresh, exactly as readShellCommandLine reads it.
class ShellCommandLineReader {
public:
    ShellCommandLineReader();
    ~ShellCommandLineReader();
    ShellCommandLineReader(const ShellCommandLineReader&) = delete;
    ShellCommandLineReader& operator=(const ShellCommandLineReader&) = delete;
    ShellCommandLine read(int argc, const char* const* argv);

private:
    struct Table;
    std::unique_ptr<Table> table_;  // the options, bound to the line being read
};

// The session's options: the settings with what the command line gives laid over them.
ShellOptions shellOptionsOver(const ShellCommandLine& line, const Settings& settings);

// Where the settings file is looked for when --config does not name one (either may be null):
// XDG_CONFIG_HOME (%APPDATA% on Windows) and HOME.
struct SettingsPlace {
    const char* configHome = nullptr;
    const char* home = nullptr;
};

// Reads the command line, then the settings file (--config FILE, else the default place, where
// it is written with its defaults when missing), and lays the command line over the file. Bad
// lines of the file are warned about on stderr and the game still starts; a file named by
// --config that cannot be read, a screenshot folder that cannot be written and a --record file
// that exists (without --overwrite) stop with status 2.
ParsedOptions parseShellOptions(int argc, const char* const* argv, const SettingsPlace& place);
// The same, with the place from the environment.
ParsedOptions parseShellOptions(int argc, const char* const* argv);

// krello(6), written from the same option table that --help prints.
std::string shellManPage();

}  // namespace krello
