// The demo file a session's first game is recorded into or replayed from.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

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
    ~DemoSession();

    // Opens the demo file the options name (none when neither recording nor replaying) for the
    // run's next game, on the run's level: a recording is written under its own name as the game
    // goes, in whole blocks (a device, a FIFO, a folder or an existing file without --overwrite
    // is refused here, before play); a replay is read whole. Returns an empty string, or one
    // line naming the file and what is wrong with it.
    std::string open(GameRun& run);

    // The session replays a demo (--play or --timedemo): the player's keys do not reach the game.
    bool replaying() const { return mode_ == DemoMode::Play || mode_ == DemoMode::Timedemo; }

    // Empty, or the reason the demo being replayed stops before its recorder finished it (the
    // file was cut off): the replay runs to its last complete block, and demoEndLine says so.
    const std::string& cutShort() const { return cutShort_; }

    // Ends the run's demo: a recording gets its end record and is closed; from then on the game
    // runs on the live platform, unrecorded. Returns an empty string, or why the demo is not
    // sound (a replay out of step, a recording that could not be written, whose complete
    // blocks stay in the file).
    std::string finish(GameRun& run);

    // The session never started (no window): a recording begun for it is removed.
    void abandon(GameRun& run);

private:
    void close();

    DemoMode mode_;
    std::string file_;
    bool overwrite_;
    std::FILE* recordFile_ = nullptr;  // the recording, written under its name as the game goes
    bool created_ = false;             // the recording's file is new (not one --overwrite emptied)
    std::string cutShort_;
};

}  // namespace krello
