// The player's firing and the flight of every shot.
#pragma once

#include "game/platform_seam.h"
#include "world/game_state.h"

namespace krello {

// Both kinds of shot fly at this speed along their heading, and live this long (observers such as
// the sound recognise a fresh shot by its full life).
constexpr int SHOT_SPEED = 40;
// A shot moves (v × frameDt) >> SHOT_SHIFT a frame.
constexpr int SHOT_SHIFT = 4;
constexpr int16_t SHOT_LIFE_MS = 5000;
// An accepted press of Space sets the fire wait to this; it runs down by the frame time.
constexpr int16_t FIRE_INTERVAL_MS = 700;

// Runs the fire cooldown down; once it is out, asks Space and fires the first idle player shot.
void firePlayerShot(GameState& g, PlatformSeam& platform);

// Moves every shot in flight, passes it through portals or kills it on walls, and expires it by
// time or height.
void moveShots(GameState& g);

// Puts an idle shot record into play at (x, y, z), flying along the heading at the one speed of
// every shot, with the one life of every shot, counted into its sector. Every field a previous
// flight left behind is overwritten.
void launchShot(GameState& g, GameObject& shot, int32_t x, int32_t y, int32_t z, int16_t angle,
                int16_t kindBit, int16_t sector);

}  // namespace krello
