// The 49,180-byte level image: decoding it into a game's tables and encoding the tables back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "world/game_state.h"

namespace krello {

constexpr size_t LEVEL_IMAGE_BYTES = 49180;
constexpr size_t IMAGE_PLAYER_OFFSET = 0;
constexpr size_t IMAGE_SECTORS_OFFSET = 16;
constexpr size_t IMAGE_WALLS_OFFSET = 7656;
constexpr size_t IMAGE_OBJECTS_OFFSET = 44072;
constexpr size_t IMAGE_PICTURE_OFFSET = 45084;

static_assert(IMAGE_SECTORS_OFFSET == IMAGE_PLAYER_OFFSET + sizeof(PlayerState));
static_assert(IMAGE_WALLS_OFFSET == IMAGE_SECTORS_OFFSET + SECTOR_COUNT * sizeof(Sector));
static_assert(IMAGE_OBJECTS_OFFSET == IMAGE_WALLS_OFFSET + WALL_COUNT * sizeof(Wall));
static_assert(IMAGE_PICTURE_OFFSET == IMAGE_OBJECTS_OFFSET + OBJECT_COUNT * sizeof(GameObject));
static_assert(LEVEL_IMAGE_BYTES == IMAGE_PICTURE_OFFSET + ENEMY_PICTURE_BYTES);

// Copies the image into player, sectors, walls, objects and enemyPicture, little-endian whatever
// the host (field by field, or a table at a time where the host's order is the image's),
// reserved bytes included. Nothing else of g is touched.
// The span must hold exactly LEVEL_IMAGE_BYTES bytes; returns false (and changes nothing) if not.
bool decodeLevelImage(std::span<const uint8_t> image, GameState& g);

// Writes those tables back out as an image; decode followed by encode gives the same bytes.
void encodeLevelImage(const GameState& g, std::span<uint8_t, LEVEL_IMAGE_BYTES> image);

}  // namespace krello
