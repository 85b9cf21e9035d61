// The game's command line: display, pacing, screenshots and demos.
#include "platform/shell_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>

namespace krello {
namespace {

constexpr const char* VERSION_TEXT = "krello " KRELLO_VERSION;

void addDemoOptions(CLI::App& app, std::string& record, std::string& play, std::string& timedemo) {
    CLI::Option* rec = app.add_option("--record", record, "Record this session as a demo in FILE")
                           ->type_name("FILE");
    CLI::Option* pl = app.add_option("--play", play, "Replay the demo in FILE on screen")
                          ->type_name("FILE")
                          ->check(CLI::ExistingFile);
    CLI::Option* td = app.add_option("--timedemo", timedemo,
                                     "Replay the demo in FILE as fast as possible and print the frame rate")
                          ->type_name("FILE")
                          ->check(CLI::ExistingFile);
    rec->excludes(pl)->excludes(td);
    pl->excludes(td);
}

void applyDemoChoice(ShellOptions& o, const std::string& record, const std::string& play,
                     const std::string& timedemo) {
    if (!record.empty()) {
        o.demoMode = DemoMode::Record;
        o.demoFile = record;
    } else if (!play.empty()) {
        o.demoMode = DemoMode::Play;
        o.demoFile = play;
    } else if (!timedemo.empty()) {
        o.demoMode = DemoMode::Timedemo;
        o.demoFile = timedemo;
    }
}

}  // namespace

ParsedOptions parseShellOptions(int argc, const char* const* argv) {
    ParsedOptions parsed;
    ShellOptions& o = parsed.options;
    CLI::App app{"Krello 32K: a small first-person action game.\n"
                 "Keys: arrows turn and walk, A jumps, Space fires, Alt+Enter toggles full screen,\n"
                 "F12 saves a screenshot, Escape quits."};
    app.name("krello");
    app.set_version_flag("--version", VERSION_TEXT);
    bool noAspect = false;
    bool noVsync = false;
    std::string record, play, timedemo;
    app.add_flag("--windowed", o.windowed, "Run in a window instead of full screen");
    app.add_option("--scale", o.scale, "Window size in multiples of 320x240 (1 to 16)")
        ->check(CLI::Range(1, 16));
    app.add_flag("--no-aspect", noAspect, "Square pixels (320x200 shape) instead of 4:3");
    app.add_flag("--integer-scale", o.integerScale, "Scale by whole multiples only");
    app.add_option("--fps", o.fps, "Frame-rate cap, 0 for none (default 70)")->check(CLI::Range(0, 1000));
    app.add_flag("--no-vsync", noVsync, "Do not wait for the display's vertical blank");
    app.add_option("--shot-dir", o.shotDir, "Folder for F12 screenshots (default: current folder)")
        ->type_name("DIR")
        ->check(CLI::ExistingDirectory);
    app.add_option("--threads", o.threads,
                   "Threads drawing each frame (default: the machine's cores, at most " +
                       std::to_string(MAX_RENDER_THREADS) + ")")
        ->check(CLI::Range(1, MAX_RENDER_THREADS));
    addDemoOptions(app, record, play, timedemo);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        parsed.run = false;
        parsed.exitStatus = app.exit(e);
        return parsed;
    } catch (const CLI::CallForVersion& e) {
        parsed.run = false;
        parsed.exitStatus = app.exit(e);
        return parsed;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "krello: %s\n", e.what());
        parsed.run = false;
        parsed.exitStatus = 2;
        return parsed;
    }
    o.fourByThree = !noAspect;
    o.vsync = !noVsync;
    applyDemoChoice(o, record, play, timedemo);
    return parsed;
}

}  // namespace krello
