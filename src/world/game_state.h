// One game: the level's tables and every variable the update and renderer carry between frames.
#pragma once

#include <array>
#include <cstdint>

#include "world/records.h"

namespace krello {

// Everything a running game owns. One instance per game, passed by reference; nothing of a
// game lives anywhere else, so two instances never interfere and a fresh one is a fresh game.
// The tables start as the level image (see level_image.h); the rest starts at zero, except
// the random state, which the generator defines to start at 1.
struct GameState {
    // --- the level's tables, changed in place while the game runs ---
    PlayerState player{};                            // camera and body
    std::array<Sector, SECTOR_COUNT> sectors{};      // floor plans
    std::array<Wall, WALL_COUNT> walls{};            // stored sector by sector, in closed loops
    std::array<GameObject, OBJECT_COUNT> objects{};  // re-sorted far to near every frame
    std::array<SpawnPoint, SPAWN_COUNT> spawnPoints{};  // filled once by start-up from the enemies
    std::array<uint8_t, TEXTURE_BANK_BYTES> textures{};  // 14 slots of 128x128 shades
    std::array<uint8_t, ENEMY_PICTURE_BYTES> enemyPicture{};  // 4-bit art, low nibble = left pixel

    // --- the random generator ---
    uint32_t randomState = 1;  // the one sequence: textures, enemy bounces and respawns draw from it

    // --- frame clock and player motion ---
    int16_t frameDt = 0;        // ms since the previous update, 1..200 once the clock step ran
    uint32_t lastTime = 0;      // the clock reading of the previous update
    PlayerState prevPlayer{};   // the player as the current update found it
    int16_t turnSpeed = 0;      // -200..200; heading changes by turnSpeed * 0.006 units a ms
    int16_t moveSpeed = 0;      // -200..200; forward speed in hundredths of a unit a ms
    int16_t fallSpeed = 0;      // z units per update, positive falls (z grows downward)
    int32_t onGround = 0;       // 1 when the previous update held the player at the floor

    // --- firing, score, game over ---
    int16_t fireCooldown = 0;  // ms until Space may fire again
    int32_t score = 0;         // 10 per enemy hit
    int32_t gameOver = 0;      // set once an enemy shot reaches the player, never cleared

    // --- texture animation ---
    int16_t spriteFlipTimer = 0;  // ms since the enemy pictures last swapped
    int16_t fireballTimer = 0;    // ms since the shot pictures last rotated
    std::array<uint8_t, TEXTURE_BYTES> textureScratch{};  // holds one texture during a swap
};

}  // namespace krello
