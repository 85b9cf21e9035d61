// Enemies: wandering, bouncing, firing at the player, vanishing when far away, and respawning.
#pragma once

#include "world/game_state.h"

namespace krello {

// An enemy moves (v × frameDt) >> ENEMY_SHIFT a frame.
constexpr int ENEMY_SHIFT = 6;
// A woken enemy walks along x at this speed, heading 0 (observers such as the sound recognise a
// respawned enemy by it and by its first wait).
constexpr int16_t WAKING_SPEED = 10;
constexpr int16_t RESPAWN_COOLDOWN_MS = 250;
// A respawned enemy lands (random & MASK) + LOW from its spawn point on each axis.
constexpr int32_t SPAWN_SPREAD_MASK = 15;
constexpr int32_t SPAWN_SPREAD_LOW = -7;

// Moves every enemy in play, lets it fire when its cooldown runs out, and takes it out of play
// when it is farther than 4000 from the player.
void moveEnemies(GameState& g);

// Puts every enemy out of play back at a random spawn point (three draws each).
void respawnEnemies(GameState& g);

// Brings an enemy into play where it stands, walking slowly along x; its cooldown, position and
// sector are the caller's (an awake enemy of the level starts so, a respawned one too).
void wakeEnemy(GameObject& e);

}  // namespace krello
