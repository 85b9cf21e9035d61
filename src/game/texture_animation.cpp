// The texture animation: the enemy pictures change places, the shot pictures rotate.
#include "game/texture_animation.h"

#include <algorithm>

#include "game/game_math.h"

namespace krello {

namespace {

constexpr int16_t FLIP_AFTER_MS = 500;
constexpr int16_t ROTATE_AFTER_MS = 100;
constexpr int ENEMY_SLOT = 9;
constexpr int ENEMY_MIRROR_SLOT = 10;
constexpr int SHOT_SLOT = 11;

uint8_t* slot(GameState& g, int k) { return g.textures.data() + k * TEXTURE_BYTES; }

void copyTexture(uint8_t* to, const uint8_t* from) { std::copy_n(from, TEXTURE_BYTES, to); }

}  // namespace

void animateTextures(GameState& g) {
    uint8_t* scratch = g.textureScratch.data();
    // A timer that runs over restarts from 0; the overshoot is dropped.
    g.spriteFlipTimer = add16(g.spriteFlipTimer, g.frameDt);
    if (g.spriteFlipTimer > FLIP_AFTER_MS) {
        g.spriteFlipTimer = 0;
        copyTexture(scratch, slot(g, ENEMY_SLOT));
        copyTexture(slot(g, ENEMY_SLOT), slot(g, ENEMY_MIRROR_SLOT));
        copyTexture(slot(g, ENEMY_MIRROR_SLOT), scratch);
    }
    g.fireballTimer = add16(g.fireballTimer, g.frameDt);
    if (g.fireballTimer > ROTATE_AFTER_MS) {
        g.fireballTimer = 0;
        copyTexture(scratch, slot(g, SHOT_SLOT + 2));
        copyTexture(slot(g, SHOT_SLOT + 2), slot(g, SHOT_SLOT + 1));
        copyTexture(slot(g, SHOT_SLOT + 1), slot(g, SHOT_SLOT));
        copyTexture(slot(g, SHOT_SLOT), scratch);
    }
}

}  // namespace krello
