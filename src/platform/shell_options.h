// The game's command line: display, pacing, screenshots and demos.
#pragma once

#include <string>

#include "render/render_threads.h"

namespace krello {

enum class DemoMode { None, Record, Play, Timedemo };

struct ShellOptions {
    bool windowed = false;      // else desktop full screen
    int scale = 3;              // window size in multiples of the frame's shape
    bool fourByThree = true;    // 4:3 display aspect; --no-aspect gives square pixels
    bool integerScale = false;  // whole multiples only
    int fps = 70;               // frame-rate cap
    bool vsync = true;
    std::string shotDir = ".";  // where F12 writes screenshots
    DemoMode demoMode = DemoMode::None;
    std::string demoFile;
    int threads = defaultRenderThreads();  // threads drawing each frame's columns
};

// The outcome of reading the command line: run the game, or stop with this status (help and
// version print and stop with 0; a bad argument prints one line on stderr and stops with 2).
struct ParsedOptions {
    ShellOptions options;
    bool run = true;
    int exitStatus = 0;
};

ParsedOptions parseShellOptions(int argc, const char* const* argv);

}  // namespace krello
