// The three integer distance metrics: shifted differences, 32-bit sums, truncated square root.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace krello {

// Planar distance from the player to an object, in quarter units.
int32_t playerDistance2D(const PlayerState& player, const GameObject& o);
// Distance from the player to an object, height included (heights weigh 1/16).
int32_t playerDistance3D(const PlayerState& player, const GameObject& o);
// Distance between two objects, height included.
int32_t objectDistance3D(const GameObject& a, const GameObject& b);

}  // namespace krello
