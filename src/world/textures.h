// The procedural texture builder and its primitives, all drawing from the one random sequence.
#pragma once

#include <cstdint>
#include <span>

#include "world/game_state.h"

namespace krello {

using Texture = std::span<uint8_t, TEXTURE_BYTES>;

// The texture of a slot in the bank.
Texture textureSlotOf(GameState& g, int slot);

void fillNoise(GameState& g, Texture tex, uint8_t base, uint8_t range);
void blurWrap(Texture tex, uint16_t n);
void setRivets(Texture tex, uint8_t value);
void addBevel(Texture tex);
void addRect(Texture tex, uint8_t x0, uint8_t x1, uint8_t y0, uint8_t y1, uint8_t delta);
void addDiamond(Texture tex, uint8_t delta);
void unpackEnemyPicture(GameState& g);
void drawFireballFrames(GameState& g);

// Builds all 14 slots from the current randomState (1 at start-up): 149,856 draws.
void buildTextures(GameState& g);

}  // namespace krello
