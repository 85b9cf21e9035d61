// The demo file a session's first game is recorded into or replayed from.
#pragma once

#include <cstdint>
#include <string>

#include "io/atomic_file.h"
#include "platform/common/shell_options.h"
#include "replay/game_run.h"

namespace krello {

// A demo holds one game: a recording ends with the game it recorded (a restart or the end of the
// session), a replay with its last update. The run does the recording and the replaying; this
// keeps the file.
class DemoSession {
public:
    explicit DemoSession(const ShellOptions& options)
        : mode_(options.demoMode), file_(options.demoFile), overwrite_(options.overwrite) {}
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    // Opens the demo file the options name (none when neither recording nor replaying) for the
    // run's next game, on the run's level: a recording goes to a temporary file beside FILE until
    // it is finished; a replay is read whole. Returns an empty string, or one line naming the
    // file and what is wrong with it.
    std::string open(GameRun& run);

    // The session replays a demo (--play or --timedemo): the player's keys do not reach the game.
    bool replaying() const { return mode_ == DemoMode::Play || mode_ == DemoMode::Timedemo; }

    // Ends the run's demo: a recording is completed and takes its name (replacing a file there
    // only with --overwrite); from then on the game runs on the live platform, unrecorded.
    // Returns an empty string, or why the demo is not sound (a replay out of step, a recording
    // that could not be written, whose bytes are then kept under a name the message gives).
    std::string finish(GameRun& run);

    // The session never started (no window): a recording begun for it is removed.
    void abandon(GameRun& run);

private:
    DemoMode mode_;
    std::string file_;
    bool overwrite_;
    io::AtomicFile recordFile_;  // the recording, under a temporary name until finished
};

// What a replay on screen ends with, once it ran its last update: "demo ended after N updates;
// final state checksum 0x1234abcd", the checksum as krello-tool and a timedemo print it.
std::string demoEndLine(long updates, uint32_t stateChecksum);

}  // namespace krello
