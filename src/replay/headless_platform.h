// A platform for tools and tests: a clock and keys set by hand, and a count of the tints asked for.
#pragma once

#include <array>
#include <cstdint>

#include "game/platform_seam.h"
#include "replay/input_script.h"

namespace krello {

// Answers the update's questions from plain fields the caller sets between updates.
class HeadlessPlatform final : public PlatformSeam {
public:
    uint32_t clock = 0;                      // what readClock returns
    std::array<bool, GAME_KEY_COUNT> held{};  // what keyHeld answers, per key
    int tintCount = 0;                       // palette tints asked for so far
    int lastTint = 0;                        // the startRed of the last tint
    std::array<int, GAME_KEY_COUNT> queries{};  // how often each key was asked

    uint32_t readClock() override { return clock; }
    bool keyHeld(GameKey key) override {
        const int k = static_cast<int>(key);
        ++queries[k];
        return held[k];
    }
    void tintPalette(int startRed) override {
        ++tintCount;
        lastTint = startRed;
    }

    // One update of an input script: the clock steps on and these keys are held.
    void apply(const ScriptStep& step) {
        clock += step.dt;
        for (int k = 0; k < GAME_KEY_COUNT; ++k) held[static_cast<size_t>(k)] = (step.keys >> k) & 1u;
    }
};

}  // namespace krello
