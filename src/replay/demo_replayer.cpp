// Replaying a demo: a platform that serves the recorded clock and key answers and notices
// the first moment the game goes out of step with the recording.
#include "replay/demo_replayer.h"

#include <cstdio>

#include "replay/state_checksum.h"

namespace krello {

namespace {

const char* keyName(int k) {
    static constexpr const char* NAMES[GAME_KEY_COUNT] = {"Left", "Right", "Up", "Down", "A", "Space"};
    return NAMES[k];
}

}  // namespace

void DemoReplayer::diverge(const std::string& what) {
    if (error_.empty()) error_ = "update " + std::to_string(next_ + 1) + ": " + what;
}

uint32_t DemoReplayer::readClock() {
    if (!started_) {
        started_ = true;
        clock_ = demo_.startClock;
        return clock_;
    }
    if (inUpdate_) {
        diverge("the clock was read twice in one update");
    } else if (finished()) {
        diverge("the game ran past the demo's last update");
    } else {
        inUpdate_ = true;
        asked_ = 0;
        clock_ += demo_.updates[next_].clockStep;
    }
    return clock_;
}

bool DemoReplayer::keyHeld(GameKey key) {
    if (!inUpdate_ || diverged()) {
        diverge(std::string("key ") + keyName(static_cast<int>(key)) + " asked outside an update");
        return false;
    }
    const DemoUpdate& u = demo_.updates[next_];
    const uint8_t bit = keyBit(key);
    if (asked_ & bit) {
        diverge(std::string("key ") + keyName(static_cast<int>(key)) + " asked twice");
    } else if (!(u.asked & bit)) {
        diverge(std::string("the game asked for key ") + keyName(static_cast<int>(key)) +
                ", which the recorded game did not (out of step)");
    }
    asked_ |= bit;
    return (u.held & bit) != 0;
}

bool DemoReplayer::endUpdate(const GameState& g) {
    if (diverged()) return false;
    if (!inUpdate_) {
        diverge("no update ran");
        return false;
    }
    const DemoUpdate& u = demo_.updates[next_];
    for (int k = 0; k < GAME_KEY_COUNT; ++k) {
        if ((u.asked & ~asked_) & (1u << k)) {
            diverge(std::string("the recorded game asked for key ") + keyName(k) +
                    ", the replay did not (out of step)");
            return false;
        }
    }
    inUpdate_ = false;
    ++next_;
    if (checkpoint_ < demo_.checkpoints.size() && demo_.checkpoints[checkpoint_].update == next_) {
        const uint32_t want = demo_.checkpoints[checkpoint_++].stateChecksum;
        const uint32_t have = gameStateChecksum(g);
        if (have != want) {
            // A checkpoint tells only that the game went out of step since the one before.
            const size_t since = checkpoint_ >= 2 ? demo_.checkpoints[checkpoint_ - 2].update + 1 : 1;
            char what[200];
            std::snprintf(what, sizeof what, "game state checksum 0x%08X differs from the recorded 0x%08X", have,
                          want);
            if (since == next_) {
                --next_;  // report the update that diverged, counted from 1
                diverge(std::string(what) + " (out of step)");
                ++next_;
            } else if (error_.empty()) {
                error_ = "diverged between update " + std::to_string(since) + " and update " +
                         std::to_string(next_) + ": the " + what;
            }
            return false;
        }
    }
    return true;
}

}  // namespace krello
