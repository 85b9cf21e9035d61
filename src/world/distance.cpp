// The three integer distance metrics: shifted differences, 32-bit sums, truncated square root.
#include "world/distance.h"

#include <cmath>
#include <limits>

namespace krello {
namespace {

// A 32-bit difference as the game's registers hold it: taken in 64 bits, then wrapped to 32 bits,
// so coordinates far apart wrap instead of overflowing.
int32_t wrappedDifference(int64_t a, int64_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(a - b)));
}

// A square modulo 2^32, as a 32-bit multiply leaves it.
uint32_t wrappedSquare(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    return u * u;
}

// The integer square root of the 32-bit sum, read as signed. A sum that wrapped negative has no
// root; such points are absurdly far apart, so they report the largest distance rather than
// letting the root's NaN turn into a value that passes every "close enough" test.
int32_t rootOfSum(uint32_t sum) {
    const int32_t s = static_cast<int32_t>(sum);
    if (s < 0) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::sqrt(static_cast<double>(s)));
}

}  // namespace

int32_t playerDistance2D(const PlayerState& player, const GameObject& o) {
    const int32_t dx = wrappedDifference(player.x, o.x) >> 2;
    const int32_t dy = wrappedDifference(player.y, o.y) >> 2;
    return rootOfSum(wrappedSquare(dx) + wrappedSquare(dy));
}

int32_t playerDistance3D(const PlayerState& player, const GameObject& o) {
    const int32_t dx = wrappedDifference(player.x, o.x) >> 2;
    const int32_t dy = wrappedDifference(player.y, o.y) >> 2;
    // The player's point is taken EYE_HEIGHT + 1000 below the eye: 1000 below the feet, near
    // the height at which enemy shots fly (they start at the enemies' feet).
    const int32_t dz = wrappedDifference(static_cast<int64_t>(player.z) + EYE_HEIGHT + 1000, o.z) >> 6;
    return rootOfSum(wrappedSquare(dx) + wrappedSquare(dy) + wrappedSquare(dz));
}

int32_t objectDistance3D(const GameObject& a, const GameObject& b) {
    const int32_t dx = wrappedDifference(a.x, b.x) >> 2;
    const int32_t dy = wrappedDifference(a.y, b.y) >> 2;
    const int32_t dz = wrappedDifference(a.z, b.z) >> 6;
    return rootOfSum(wrappedSquare(dx) + wrappedSquare(dy) + wrappedSquare(dz));
}

}  // namespace krello
