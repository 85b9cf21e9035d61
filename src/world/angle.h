// The angle unit: 2048 units make a full turn, 0 faces +x and 512 faces +y.
#pragma once

namespace krello {

constexpr int ANGLE_UNITS_PER_TURN = 2048;

// Radians per angle unit: pi / 1024, the double nearest it. Every heading becomes radians
// through this one constant, so cos and sin see the same bits everywhere.
constexpr double RADIANS_PER_ANGLE_UNIT = 0.0030679615757712823;

// Angle units per radian: 1024 / pi, as 1024 times the double nearest 1 / pi (scaling by a
// power of two is exact, so this is also the double nearest 1024 / pi).
constexpr double ANGLE_UNITS_PER_RADIAN = 1024.0 * 0.3183098861837907;

}  // namespace krello
