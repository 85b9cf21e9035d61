// Each wall's columns in a frame: a conservative projection, so a column's search tests only
// the walls it can meet.
#pragma once

#include <array>
#include <cstdint>

#include "world/fixed_math.h"
#include "world/game_state.h"
#include "world/screen.h"

namespace krello {

// The frame's rays as the columns get them: column c's is first + step added c times.
struct FrameRays {
    double firstX, firstY;  // column 0's ray
    double stepX, stepY;    // added from one column to the next
    double headingCos, headingSin;
};

// Columns lo..hi of the screen in which the wall can pass the search's tests.
struct WallSpan {
    int16_t lo;
    int16_t hi;
    uint16_t wall;

    bool holds(int16_t column) const {
        return static_cast<uint16_t>(column - lo) <= static_cast<uint16_t>(hi - lo);
    }
};

// What the search reads of a wall, converted once a frame: the same doubles it would form from
// the records (integers, so each conversion is exact and the same whenever it is made).
struct WallGeometry {
    double dx, dy;            // the wall's extent to its end point, wrapped to 32 bits
    double fromEyeX, fromEyeY;  // its own point less the eye's, wrapped to 32 bits
    double x, y;              // its own point
};

// The geometry of the wall that runs from `wall` to `end`, seen from the eye at (eyeX, eyeY).
inline WallGeometry wallGeometry(const Wall& wall, const Wall& end, int32_t eyeX, int32_t eyeY) {
    return {static_cast<double>(sub32(end.x, wall.x)), static_cast<double>(sub32(end.y, wall.y)),
            static_cast<double>(sub32(wall.x, eyeX)),  static_cast<double>(sub32(wall.y, eyeY)),
            static_cast<double>(wall.x),               static_cast<double>(wall.y)};
}

// Columns that share one block mask: a tile's width.
constexpr int SPAN_BLOCK_COLUMNS = 16;
constexpr int SPAN_BLOCKS = SCREEN_WIDTH / SPAN_BLOCK_COLUMNS;
static_assert(SPAN_BLOCKS * SPAN_BLOCK_COLUMNS == SCREEN_WIDTH, "the blocks cover the screen");
// The most spans a sector may have for block masks: one bit each.
constexpr int SPANS_MASKED = 64;

// A range of spans, in the order of the sector's wall walk. With up to SPANS_MASKED spans the
// sector also has a mask per block of columns: bit i set when span begin[i] holds a column of
// the block, so a column looks only at those spans, still in the walk's order (null otherwise).
struct SpanRange {
    const WallSpan* begin;
    const WallSpan* end;
    const uint64_t* blocks = nullptr;
    const WallGeometry* geometry = nullptr;  // geometry[i]: the wall of span begin[i]
};

// One column thread's spans of the sectors it has visited in the current frame, made on the
// first visit. The spans are a pure function of the frame, so every thread makes the same ones
// and the order of visits changes nothing.
//
// Why a wall outside its span cannot be found: the search takes a wall only when its t =
// num / den lies in 0..1, that is when the ray's line has the wall's two end points on
// opposite sides (or one on it): num and num - den are the cross products of the ray with the
// vectors from the eye to the two end points. Each of them is linear in the column, because the
// rays are column 0's plus a multiple of the step, up to the rounding of the repeated
// additions. The span drops only the columns where both end points lie surely on the same side:
// by more than 2^-40 of the coordinates' magnitudes, far more than the rounding of the rays, of
// num, den and t can move them (about 2^-44), and two whole columns inside the boundary. A wall
// whose two end points lie surely behind the eye (by the same margin) is dropped altogether,
// when the eye's offsets to them are exact 32-bit values (no wrap-around), so the depth the
// search computes is the true one up to rounding. The walk's order is kept, so ties go as
// before.
class WallSpans {
public:
    // A new frame: no sector projected yet.
    void clear() { state_.fill(NOT_MADE); used_ = 0; }

    // The spans of the sector's walls, made on the first call of the frame. false when they did
    // not fit (only a level that breaks its invariants can walk that many walls); the search
    // then tests every wall.
    bool of(const GameState& g, const FrameRays& rays, uint16_t sector, SpanRange& range) {
        if (sector >= SECTOR_COUNT) return false;
        if (state_[sector] == NOT_MADE) make(g, rays, sector);
        if (state_[sector] != MADE) return false;
        range = {spans_.data() + first_[sector], spans_.data() + end_[sector],
                 masked(end_[sector] - first_[sector]) ? blocks_[sector].data() : nullptr,
                 geometry_.data() + first_[sector]};
        return true;
    }

    // Whether the frame's search has looked in the sector (its spans made or found too many):
    // every wall a column found lies in a sector looked in.
    bool visited(uint16_t sector) const { return sector < SECTOR_COUNT && state_[sector] != NOT_MADE; }

private:
    // Whether a sector with this many spans has block masks.
    static bool masked(int spans) { return spans <= SPANS_MASKED; }

    // Projects the sector's walls (state_ becomes MADE or TOO_MANY).
    void make(const GameState& g, const FrameRays& rays, uint16_t sector);

    static constexpr uint8_t NOT_MADE = 0, MADE = 1, TOO_MANY = 2;
    // A wall gives at most three spans; a level keeping its invariants walks each wall once.
    static constexpr int CAPACITY = 3 * WALL_COUNT;

    std::array<uint8_t, SECTOR_COUNT> state_{};  // per sector: NOT_MADE, MADE or TOO_MANY
    std::array<uint16_t, SECTOR_COUNT> first_{};  // per sector: its spans are first_..end_-1
    std::array<uint16_t, SECTOR_COUNT> end_{};
    std::array<WallSpan, CAPACITY> spans_{};
    std::array<WallGeometry, CAPACITY> geometry_{};  // geometry_[i]: the wall of spans_[i]
    std::array<std::array<uint64_t, SPAN_BLOCKS>, SECTOR_COUNT> blocks_{};  // per sector with few spans
    int used_ = 0;
};

}  // namespace krello
