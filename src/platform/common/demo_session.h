// Where a game's clock and keys come from: the player live, the player recorded, or a demo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "io/atomic_file.h"
#include "platform/common/shell_options.h"
#include "replay/demo.h"
#include "replay/demo_recorder.h"
#include "replay/demo_replayer.h"
#include "world/game_state.h"

namespace krello {

// A demo holds one game: a recording ends with the game it recorded (a restart or the end of the
// session), a replay with its last update.
class DemoSession {
    // A replay answers the clock and keys; the tint it is asked for must also reach the screen,
    // in the same update, as it does in a live game.
    class ReplaySeam final : public PlatformSeam {
    public:
        ReplaySeam(DemoReplayer& replay, PlatformSeam& live) : replay_(replay), live_(live) {}
        uint32_t readClock() override { return replay_.readClock(); }
        bool keyHeld(GameKey key) override { return replay_.keyHeld(key); }
        void tintPalette(int startRed) override {
            replay_.tintPalette(startRed);
            live_.tintPalette(startRed);
        }

    private:
        DemoReplayer& replay_;
        PlatformSeam& live_;
    };

public:
    // live is the shell's own platform: the player's keys, the real clock, the screen's palette.
    DemoSession(const ShellOptions& options, PlatformSeam& live)
        : mode_(options.demoMode), file_(options.demoFile), overwrite_(options.overwrite), live_(live) {}
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    // Opens the demo file the options name (none when neither recording nor replaying), for a
    // game on `level`. A recording goes to a temporary file beside FILE until it is finished.
    // Returns an empty string, or one line naming the file and what is wrong with it.
    std::string open(const DemoLevel& level);

    // What the game asks for its clock and keys, from the level start-up on.
    PlatformSeam& platform();

    // After every frame's update. Returns false when the session should end: a replay has run
    // its last update or gone out of step (see finish()).
    bool afterUpdate(const GameState& g);

    // How many milliseconds of recorded game time the replay has used so far.
    uint64_t replayedMillis() const { return replayedMillis_; }
    bool replaying() const { return replayer_ != nullptr; }
    bool recording() const { return recorder_ != nullptr; }
    size_t replayUpdates() const { return demo_.updates.size(); }

    // Ends the demo: a recording is completed and takes its name (replacing a file there only
    // with --overwrite); from then on the game runs on the live platform, unrecorded. Returns an
    // empty string, or why the demo is not sound (a replay out of step, a recording that could
    // not be written, whose bytes are then kept under a name the message gives).
    std::string finish();

    // The session never started (no window): a recording begun for it is removed.
    void abandon();

private:
    DemoMode mode_;
    std::string file_;
    bool overwrite_;
    PlatformSeam& live_;
    io::AtomicFile recordFile_;             // the recording, under a temporary name until finished
    std::unique_ptr<DemoRecorder> recorder_;
    Demo demo_;
    std::unique_ptr<DemoReplayer> replayer_;
    std::unique_ptr<ReplaySeam> replaySeam_;
    uint64_t replayedMillis_ = 0;
};

}  // namespace krello
