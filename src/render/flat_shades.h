// Shade offsets of ceiling and floor rows, worked out once per surface and row in a frame.
#pragma once

#include <array>
#include <cstdint>

#include "world/game_state.h"

namespace krello {

// A flat row's shade offset depends on the surface's plane and shading and on the row alone,
// not on the column, so one column thread works it out once per frame and reads it in every
// other column. A small direct-mapped table: a surface whose slot another one took is worked
// out again, which costs time but never changes a value.
class FlatShades {
public:
    static constexpr int ROWS = 200;  // the screen's rows

    // Forgets every surface: the eye or the planes may be different in the next frame.
    void clear();

    // The shade offsets of rows from..to-1 (0 <= from < to <= 200) of a sector's ceiling or
    // floor, indexed by row. Valid until the next call.
    // Called for every run of flat rows, so the usual case (rows already worked out) is inline.
    const int16_t* rows(const GameState& g, uint16_t sector, bool floor, int32_t from, int32_t to) {
        const uint16_t surface = static_cast<uint16_t>(sector * 2 + (floor ? 1 : 0));
        const Slot& slot = slots_[surface % SLOTS];
        if (slot.surface == surface && from >= slot.from && to <= slot.to) return slot.shade.data();
        return workOut(g, sector, floor, from, to);
    }

private:
    // rows() when some of the rows are not worked out yet in the surface's slot.
    const int16_t* workOut(const GameState& g, uint16_t sector, bool floor, int32_t from, int32_t to);

    static constexpr int SLOTS = 64;
    static constexpr uint16_t NO_SURFACE = 0xFFFF;

    struct Slot {
        uint16_t surface = NO_SURFACE;  // sector * 2 + 1 for a floor, sector * 2 for a ceiling
        int16_t from = 0;               // rows from..to-1 hold values
        int16_t to = 0;
        std::array<int16_t, ROWS> shade;  // per row, valid in from..to-1
    };

    std::array<Slot, SLOTS> slots_;
};

}  // namespace krello
