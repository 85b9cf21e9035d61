// The level image compiled into the program from the level source.
#pragma once

#include <cstdint>
#include <span>

#include "world/level_image.h"

namespace krello {

// The 49,180 bytes the build compiled from the level source.
std::span<const uint8_t, LEVEL_IMAGE_BYTES> builtinLevelImage();

// A fresh game's tables: the built-in image decoded into g (start-up has not run yet).
void loadBuiltinLevel(GameState& g);

}  // namespace krello
