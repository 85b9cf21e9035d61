// The texture animation: the enemy pictures change places, the shot pictures rotate.
#include "game/texture_animation.h"

#include <algorithm>

#include "game/game_math.h"
#include "world/textures.h"

namespace krello {

namespace {

constexpr int16_t FLIP_AFTER_MS = 500;
constexpr int16_t ROTATE_AFTER_MS = 100;
static_assert(SHOT_FRAMES == 3, "the rotation below moves three frames");

void copyTexture(Texture to, std::span<const uint8_t, TEXTURE_BYTES> from) {
    std::copy(from.begin(), from.end(), to.begin());
}

}  // namespace

void animateTextures(GameState& g) {
    const Texture scratch(g.textureScratch);
    // A timer that runs over restarts from 0; the overshoot is dropped.
    g.spriteFlipTimer = add16(g.spriteFlipTimer, g.frameDt);
    if (g.spriteFlipTimer > FLIP_AFTER_MS) {
        g.spriteFlipTimer = 0;
        copyTexture(scratch, textureSlotOf(g, ENEMY_SLOT));
        copyTexture(textureSlotOf(g, ENEMY_SLOT), textureSlotOf(g, ENEMY_MIRROR_SLOT));
        copyTexture(textureSlotOf(g, ENEMY_MIRROR_SLOT), scratch);
    }
    g.fireballTimer = add16(g.fireballTimer, g.frameDt);
    if (g.fireballTimer > ROTATE_AFTER_MS) {
        g.fireballTimer = 0;
        copyTexture(scratch, textureSlotOf(g, SHOT_SLOT + 2));
        copyTexture(textureSlotOf(g, SHOT_SLOT + 2), textureSlotOf(g, SHOT_SLOT + 1));
        copyTexture(textureSlotOf(g, SHOT_SLOT + 1), textureSlotOf(g, SHOT_SLOT));
        copyTexture(textureSlotOf(g, SHOT_SLOT), scratch);
    }
}

}  // namespace krello
