// A level file for a game: read, checked by the level's validator and turned into the image a game starts from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/level_image.h"

namespace krello {

using LevelImageBytes = std::array<uint8_t, LEVEL_IMAGE_BYTES>;

// Reads a level source (LevelSize::Playable: it may be smaller than the tables) or a 49,180-byte
// level image (which must fill them), checks it with every rule of the level, and writes its image.
// Returns false with one line per problem, each naming the file (and line), when it cannot be
// read, does not parse or breaks a rule; the image is then left unspecified.
bool readPlayableLevel(const std::string& path, LevelImageBytes& image, std::vector<std::string>& problems);

}  // namespace krello
