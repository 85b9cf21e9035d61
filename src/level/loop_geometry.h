// Exact geometry of a sector's wall loops: orientation, where a point lies, point in sector.
#pragma once

#include <cstdint>

#include "level/wide_int.h"
#include "world/game_state.h"

namespace krello {

// Products of coordinate differences need 66 bits; 128-bit integers (Wide) keep every test exact.

struct Pt {
    int64_t x, y;
    bool operator==(const Pt&) const = default;
};

// The turn from a to b to c: 1 left, -1 right, 0 straight on.
int orient(Pt a, Pt b, Pt c);

// p lies on segment ab, given that the three points are collinear.
bool within(Pt a, Pt b, Pt p);

// The sum of x(i)*y(i+1) - x(i+1)*y(i) over the loop of walls first..end-1, each wall ending at
// its point2: twice the enclosed area, positive for an outer loop (the inside on the right).
// A loop with a point2 outside the table has no orientation: 0.
Wide loopOrientationSum(const GameState& g, int first, int end);

enum class Side { Outside, Inside, Edge };

// Where p lies against the loop of walls first..end-1, its coordinates multiplied by `scale`
// (2 lets a caller ask about the middle of a wall exactly). Every point2 must be in the table.
Side locate(const GameState& g, int first, int end, Pt p, int64_t scale = 1);

// Whether (x, y) lies inside the sector: strictly inside its one outer loop, and neither
// inside nor on any of its inner loops. False for a sector outside the table or one whose loops
// do not close or have no single outer loop.
bool pointInSector(const GameState& g, uint16_t sector, int32_t x, int32_t y);

}  // namespace krello
