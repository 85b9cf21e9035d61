// Replaying a demo: a platform that serves the recorded clock and key answers and notices
// the first moment the game goes out of step with the recording.
#pragma once

#include <cstdint>
#include <string>

#include "game/platform_seam.h"
#include "replay/demo.h"
#include "world/game_state.h"

namespace krello {

// Use it as the game's platform from the level start-up on; after each update call
// endUpdate(game). Once diverged() is true the replay is out of step: error() says at which
// update and how, and further answers are meaningless (keys answer "not held").
class DemoReplayer final : public PlatformSeam {
public:
    explicit DemoReplayer(const Demo& demo) : demo_(demo) {}

    uint32_t readClock() override;
    bool keyHeld(GameKey key) override;
    void tintPalette(int) override { ++tints_; }

    // Checks that the update asked exactly the recorded keys and, at a checkpoint, that the
    // game state matches. Returns false once the replay has diverged.
    bool endUpdate(const GameState& g);

    bool finished() const { return next_ >= demo_.updates.size(); }
    bool diverged() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    long tints() const { return tints_; }
    size_t updatesDone() const { return next_; }

private:
    void diverge(const std::string& what);

    const Demo& demo_;
    bool started_ = false;
    bool inUpdate_ = false;
    uint32_t clock_ = 0;
    size_t next_ = 0;        // updates completed
    size_t checkpoint_ = 0;  // next checkpoint to compare
    uint8_t asked_ = 0;
    long tints_ = 0;
    std::string error_;
};

}  // namespace krello
