// The game state as text: the player, the game variables, every object and the sector counts.
#include "replay/state_dump.h"

#include <cstdio>

namespace krello {

namespace {

void appendLine(std::string& out, const char* format, auto... values) {
    char line[512];
    const int n = std::snprintf(line, sizeof line, format, values...);
    if (n > 0) out.append(line, static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1);
}

}  // namespace

void appendStateDump(std::string& out, const GameState& g, long update, long tints) {
    const PlayerState& p = g.player;
    appendLine(out, "update %ld\n", update);
    appendLine(out, "player %d %d %d %d %d\n", p.x, p.y, p.z, p.angle, p.sector);
    appendLine(out, "game %d %u %d %d %d %d %d %d %d %d %d %u\n", g.frameDt, g.lastTime,
               g.turnSpeed, g.moveSpeed, g.fallSpeed, g.onGround, g.fireCooldown, g.score,
               g.gameOver, g.spriteFlipTimer, g.fireballTimer, g.randomState);
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        const GameObject& o = g.objects[static_cast<size_t>(i)];
        appendLine(out, "object %d %d %d %d %d %u %u %d %d %d %d %d %d %d\n", i, o.x, o.y, o.z,
                   o.timer, static_cast<unsigned>(o.sprite), static_cast<unsigned>(o.size),
                   o.sector, o.flags, o.angle, o.cooldown, o.vx, o.vy, o.vz);
    }
    out += "counts";
    for (const Sector& s : g.sectors) appendLine(out, " %d", s.objectCount);
    out += '\n';
    appendLine(out, "tint %ld\n", tints);
}

void StateDumps::started(const GameRun& run) {
    text_.clear();
    if (last_ == 0) dump(run);  // the state as the start-up left it
}

void StateDumps::stepped(const GameRun& run) {
    const long update = run.updates();
    if ((every_ > 0 && update % every_ == 0) || update == last_) dump(run);
}

void StateDumps::dump(const GameRun& run) {
    if (out_ != nullptr) text_.clear();
    appendStateDump(text_, run.game(), run.updates(), run.tints());
    if (out_ != nullptr && std::fwrite(text_.data(), 1, text_.size(), out_) != text_.size()) written_ = false;
}

}  // namespace krello
