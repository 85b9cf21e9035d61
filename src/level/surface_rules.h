// Which surfaces the renderer draws, and the texture slots such a surface may use.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace krello {

// Whether an attribute byte names a surface texture, as every drawn surface must.
constexpr bool isSurfaceSlot(uint8_t attribute) { return textureSlot(attribute) <= LAST_SURFACE_SLOT; }

// A portal shows an upper part where the sector behind has a lower ceiling, and a lower part
// where it has a higher floor (z grows downward); then the portal's own texture is drawn.
constexpr bool portalShowsWallPart(const Sector& here, const Sector& behind) {
    return behind.ceilingZ > here.ceilingZ || behind.floorZ < here.floorZ;
}

}  // namespace krello
