// Shade offsets of ceiling and floor rows, worked out once per surface and row in a frame.
#include "render/flat_shades.h"

#include "render/flat_rows.h"

namespace krello {
namespace {

static_assert(FlatShades::ROWS == SCREEN_HEIGHT);

// Fills shade[from..to-1] for one surface.
void fill(int16_t* shade, const Sector& s, int32_t eyeZ, bool floor, int32_t from, int32_t to) {
    const int32_t planeZ = floor ? s.floorZ : s.ceilingZ;
    const int8_t bias = floor ? s.floorShade : s.ceilingShade;
    for (int32_t r = from; r < to; ++r) {
        const int32_t d = floor ? floorRowDistance(r) : ceilingRowDistance(r);
        shade[r] = flatShadeOffset(bias, eyeZ, planeZ, d, s.shadeFalloff);
    }
}

}  // namespace

void FlatShades::clear() {
    for (Slot& slot : slots_) slot.surface = NO_SURFACE;
}

const int16_t* FlatShades::workOut(const GameState& g, uint16_t sector, bool floor, int32_t from, int32_t to) {
    const uint16_t surface = static_cast<uint16_t>(sector * 2 + (floor ? 1 : 0));
    Slot& slot = slots_[surface % SLOTS];
    const Sector& s = g.sectors[sector];
    const int32_t eyeZ = g.player.z;
    if (slot.surface != surface) {
        slot.surface = surface;
        fill(slot.shade.data(), s, eyeZ, floor, from, to);
        slot.from = static_cast<int16_t>(from);
        slot.to = static_cast<int16_t>(to);
        return slot.shade.data();
    }
    // Grow the filled rows to cover the request (and any gap between the two).
    if (from < slot.from) {
        fill(slot.shade.data(), s, eyeZ, floor, from, slot.from);
        slot.from = static_cast<int16_t>(from);
    }
    if (to > slot.to) {
        fill(slot.shade.data(), s, eyeZ, floor, slot.to, to);
        slot.to = static_cast<int16_t>(to);
    }
    return slot.shade.data();
}

}  // namespace krello
