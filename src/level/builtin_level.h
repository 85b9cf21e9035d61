// The level image compiled into the program from the level source.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "world/level_image.h"

namespace krello {

// The 49,180 bytes the build compiled from the level source.
std::span<const uint8_t, LEVEL_IMAGE_BYTES> builtinLevelImage();

// The golden list of the built-in level's figures (level/krello.stats), for levelFigures.
std::string_view builtinLevelFigures();

// A fresh game's tables: the built-in image decoded into g (start-up has not run yet).
void loadBuiltinLevel(GameState& g);

}  // namespace krello
