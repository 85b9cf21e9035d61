// What the playtest bot knows after a frame: its own body, the score on screen, and the
// enemies and enemy shots whose pictures reached the screen.
#pragma once

#include <array>
#include <cstdint>

#include "world/game_state.h"

namespace krello::playtest {

enum class Seen : uint8_t { Enemy, EnemyShot };

// One picture on the screen, and where in the world it stands.
struct Sighting {
    Seen kind = Seen::Enemy;
    int32_t x = 0;
    int32_t y = 0;
    int16_t sector = -1;
};

struct Perception {
    uint32_t timeMs = 0;        // game time when the frame was shown
    PlayerState self{};         // where the player is and looks: a player knows that much
    int16_t turnSpeed = 0;      // how fast the view turns and the body walks: felt, not read
    int16_t moveSpeed = 0;
    bool onGround = false;
    bool gameOver = false;      // "GAME OVER!" on the screen
    int32_t score = 0;          // the score on the screen
    uint8_t count = 0;          // sightings in `seen`
    std::array<Sighting, OBJECT_COUNT> seen{};
};

// The frame's perception. `drawnObjects` has bit i set when object i of the table put at least
// one pixel on the screen in the frame just drawn (the renderer's record of its billboards); an
// enemy or enemy shot without its bit is not read at all, and the player's own shots are left out.
void perceive(const GameState& g, uint32_t drawnObjects, uint32_t timeMs, Perception& out);

}  // namespace krello::playtest
