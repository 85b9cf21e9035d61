// The game state as text: the player, the game variables, every object and the sector counts.
#pragma once

#include <cstdio>
#include <string>

#include "replay/game_run.h"
#include "world/game_state.h"

namespace krello {

// Appends the state after update `update` to out, in decimal, objects in table order:
//   update N
//   player X Y Z ANGLE SECTOR
//   game frameDt lastTime turnSpeed moveSpeed fallSpeed onGround fireCooldown score gameOver
//        spriteFlipTimer fireballTimer randomState            (one line)
//   object I X Y Z timer sprite size sector flags angle cooldown vx vy vz   (23 lines)
//   counts C0 .. C190
//   tint N            (palette tints asked for so far)
void appendStateDump(std::string& out, const GameState& g, long update, long tints);

// The states a headless run reports, as `krello-tool run` prints them: after every `every`-th
// update (none when 0) and after update `last`; a run of no updates (`last` 0) reports the state
// its start-up left. Each state goes to `out` as it comes (a tool's file or stdout), or, without
// one, gathers in text() (the page's test hook).
class StateDumps final : public StepObserver {
public:
    StateDumps(long every, long last, std::FILE* out = nullptr) : every_(every), last_(last), out_(out) {}

    void started(const GameRun& run) override;
    void stepped(const GameRun& run) override;

    const std::string& text() const { return text_; }
    // Every state reached `out`.
    bool written() const { return written_; }

private:
    void dump(const GameRun& run);

    long every_;
    long last_;
    std::FILE* out_;
    std::string text_;  // the states so far, or, with out_, the one being written
    bool written_ = true;
};

}  // namespace krello
