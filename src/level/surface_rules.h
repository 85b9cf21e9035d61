// How the renderer shows a level's surfaces: which are drawn, which slots they may use, the
// opening a portal leaves and the shape of a wall's texels.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "world/records.h"

namespace krello {

// Whether an attribute byte names a surface texture, as every drawn surface must.
constexpr bool isSurfaceSlot(uint8_t attribute) { return textureSlot(attribute) <= LAST_SURFACE_SLOT; }

// A portal shows an upper part where the sector behind has a lower ceiling, and a lower part
// where it has a higher floor (z grows downward); then the portal's own texture is drawn.
constexpr bool portalShowsWallPart(const Sector& here, const Sector& behind) {
    return behind.ceilingZ > here.ceilingZ || behind.floorZ < here.floorZ;
}

// The height two sectors share across a portal; 0 or less is none, and then the upper and lower
// parts fill the whole portal, which draws as a solid wall that everything walks through.
constexpr int64_t portalOpening(const Sector& here, const Sector& behind) {
    return int64_t{std::min(here.floorZ, behind.floorZ)} - std::max(here.ceilingZ, behind.ceilingZ);
}

// The repeatU that makes a wall's texels look square on a 4:3 display. A texture row spans
// 1024 / repeatV height units and a texture column length / (16 * repeatU) floor units; a floor
// unit projects 20 times larger than a height unit, and a 320x200 frame's pixels are 1.2 times
// taller than wide, so a texel is square when repeatU = length * repeatV * 125 / 122880.
inline double squareTexelRepeatU(double length, int repeatV) { return length * repeatV * 125.0 / 122880.0; }

// How many times as wide as high a wall's texel looks (a backward texture or rows counted
// upward look the same); without a repeat across, one texel stretches over the whole wall.
inline double texelRatio(double length, int repeatU, int repeatV) {
    if (repeatU == 0) return HUGE_VAL;
    return squareTexelRepeatU(length, std::abs(repeatV)) / std::abs(repeatU);
}

// The compiler's `repeatU auto`: the square texels' repeatU, rounded, within 1..127.
inline int autoRepeatU(double length, int repeatV) {
    return static_cast<int>(std::clamp(std::round(squareTexelRepeatU(length, repeatV)), 1.0, 127.0));
}

}  // namespace krello
