// A top-down picture of a level: sectors shaded by floor height, walls, numbers, start and objects.
#pragma once

#include <cstdint>
#include <vector>

#include "world/game_state.h"

namespace krello::tool {

// An RGB picture, three bytes a pixel, row-major.
struct MapPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    // Where the world lies in the picture, for drawing over it: a world x is at pixel
    // (x - originX) * scale + margin, a world y likewise.
    double originX = 0.0;
    double originY = 0.0;
    double scale = 1.0;
    int margin = 0;
};

// Draws the level with +x to the right and +y downward, the longer side `size` pixels.
// Sectors are filled by floor height (dark blue low, pale yellow high; inner loops are holes),
// solid walls white, portals teal, sector numbers at their outer loop's middle, the player's
// start as a green ring with its heading, enemies red and shot slots orange. Any table contents
// are drawn without harm: indices are checked, walks are bounded and positions saturate far
// outside the picture before any integer arithmetic.
MapPicture drawLevelMap(const GameState& g, int size = 1800);

}  // namespace krello::tool
