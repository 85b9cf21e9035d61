// Small hand-built worlds and a key-logging platform for the game update's tests.
#pragma once

#include <array>
#include <vector>

#include "game/platform_seam.h"
#include "game/update_game.h"
#include "world/game_state.h"

namespace krello::test {

// A row of `rooms` rectangular sectors along +x, each `width` by `height`, joined by portals:
// sector i spans x from i * width to (i + 1) * width and y from 0 to height. Its walls are
// 4i (bottom), 4i + 1 (right, the portal to i + 1), 4i + 2 (top) and 4i + 3 (left, the portal
// to i - 1), wound so the inside lies on the left-hand normal of each wall.
inline void buildRooms(GameState& g, int rooms, int32_t width, int32_t height,
                       int32_t floorZ = 0, int32_t ceilingZ = -100000) {
    for (int i = 0; i < rooms; ++i) {
        Sector& s = g.sectors[static_cast<size_t>(i)];
        s.firstWall = static_cast<int16_t>(4 * i);
        s.wallCount = 4;
        s.floorZ = floorZ;
        s.ceilingZ = ceilingZ;
        const int32_t x0 = i * width;
        const int32_t x1 = x0 + width;
        const int32_t xs[4] = {x0, x1, x1, x0};
        const int32_t ys[4] = {0, 0, height, height};
        for (int k = 0; k < 4; ++k) {
            Wall& w = g.walls[static_cast<size_t>(4 * i + k)];
            w.x = xs[k];
            w.y = ys[k];
            w.point2 = static_cast<int16_t>(4 * i + (k + 1) % 4);
            w.otherWall = -1;
            w.nextSector = -1;
            w.mark = -1;
        }
        if (i + 1 < rooms) {
            g.walls[static_cast<size_t>(4 * i + 1)].otherWall = static_cast<int16_t>(4 * (i + 1) + 3);
            g.walls[static_cast<size_t>(4 * i + 1)].nextSector = static_cast<int16_t>(i + 1);
        }
        if (i > 0) {
            g.walls[static_cast<size_t>(4 * i + 3)].otherWall = static_cast<int16_t>(4 * (i - 1) + 1);
            g.walls[static_cast<size_t>(4 * i + 3)].nextSector = static_cast<int16_t>(i - 1);
        }
    }
}

// Puts the player standing in `sector` at (x, y), facing `angle`.
inline void placePlayer(GameState& g, int32_t x, int32_t y, int16_t angle, int16_t sector) {
    g.player = PlayerState{x, y, g.sectors[static_cast<size_t>(sector)].floorZ - EYE_HEIGHT, angle, sector};
    g.prevPlayer = g.player;
}

// Makes object i a record of the given flags at (x, y, z) in sector.
inline GameObject& placeObject(GameState& g, int i, int16_t flags, int32_t x, int32_t y, int32_t z,
                               int16_t sector) {
    GameObject& o = g.objects[static_cast<size_t>(i)];
    o = GameObject{};
    o.flags = flags;
    o.x = x;
    o.y = y;
    o.z = z;
    o.sector = sector;
    o.size = 64;
    return o;
}

// A platform whose keys are set by the test, which logs every key question in order.
class LoggingPlatform final : public PlatformSeam {
public:
    uint32_t clock = 0;
    std::array<bool, GAME_KEY_COUNT> held{};
    std::vector<GameKey> asked;
    int tints = 0;

    uint32_t readClock() override { return clock; }
    bool keyHeld(GameKey key) override {
        asked.push_back(key);
        return held[static_cast<size_t>(key)];
    }
    void tintPalette(int startRed) override {
        if (startRed == 255) ++tints;
    }
    void hold(GameKey key, bool down = true) { held[static_cast<size_t>(key)] = down; }
};

// One update as a frame runs it (marks cleared first), dt ms after the previous one.
inline void step(GameState& g, LoggingPlatform& p, uint32_t dt) {
    p.clock += dt;
    for (Wall& w : g.walls) w.mark = -1;
    updateGame(g, p);
}

inline int countActive(const GameState& g, int16_t kindBit) {
    int n = 0;
    for (const GameObject& o : g.objects) n += (o.flags & kindBit) && (o.flags & OBJ_ACTIVE);
    return n;
}

}  // namespace krello::test
