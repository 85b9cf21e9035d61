// The effects the game can play, one name each, in the order the bank holds them.
#pragma once

#include <cstdint>
#include <string_view>

namespace krello::sound {

enum class SoundId : uint8_t {
    PlayerFire,   // the player's shot leaves
    ShotOnWall,   // a player shot dies on a wall, a floor or a ceiling
    EnemyHit,     // a player shot hits an enemy: the score rises
    EnemyFire,    // an enemy's shot leaves
    ShotPassing,  // an enemy shot flies close past the player
    PlayerHit,    // an enemy shot reaches the player: game over
    Jump,
    Land,
    StepA,        // four footsteps, taken in turn so walking does not tick like a clock
    StepB,
    StepC,
    StepD,
    Respawn,      // an enemy comes back at a spawn point
    Pause,
    Unpause,
    QuitPrompt,
};
constexpr int SOUND_COUNT = 16;

// The effect's name in files and reports ("player-fire").
std::string_view soundName(SoundId id);

constexpr int soundIndex(SoundId id) { return static_cast<int>(id); }

}  // namespace krello::sound
