// The procedural texture builder and its primitives, all drawing from the one random sequence.
#pragma once

#include <array>
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

// What the random sequence alone makes of an empty bank: the surfaces and the shot frames, and
// the sequence where they leave it. Only the enemy's two slots come from the level (its picture),
// so this is the same for every game, and a program that starts many games (a fuzz harness) can
// draw it once and hand it to each.
struct DrawnTextures {
    uint32_t fromState = 1;                                 // the random state the draws began at
    uint32_t toState = 1;                                   // and the state they left
    std::array<uint8_t, TEXTURE_BANK_BYTES> textures{};     // the enemy's slots empty
};

// Draws them from randomState `from` over an empty bank.
void drawTextures(DrawnTextures& out, uint32_t from = 1);

// What buildTextures makes, for a game whose bank is still empty (as at start-up): the drawn
// slots copied and the level's enemy unpacked. A game at another random state is built as usual.
void buildTextures(GameState& g, const DrawnTextures& drawn);

}  // namespace krello
