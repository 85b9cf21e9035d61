// Enemies: wandering, bouncing, firing at the player, vanishing when far away, and respawning.
#pragma once

#include "world/game_state.h"

namespace krello {

// Moves every enemy in play, lets it fire when its cooldown runs out, and takes it out of play
// when it is farther than 4000 from the player.
void moveEnemies(GameState& g);

// Puts every enemy out of play back at a random spawn point (three draws each).
void respawnEnemies(GameState& g);

// Brings an enemy into play where it stands, walking slowly along x; its cooldown, position and
// sector are the caller's (an awake enemy of the level starts so, a respawned one too).
void wakeEnemy(GameObject& e);

}  // namespace krello
