// Billboards: one sector's pictures in one column.
#pragma once

#include <cstdint>

#include "render/render_state.h"

namespace krello {

// One object's picture in the current column, before the depth and column tests.
struct SpriteColumn {
    double depth = 0.0;      // the object's depth along the heading
    uint16_t column = 0;     // texture column; only 1..63 are drawn
    int32_t top = 0;         // first screen row, clipped to the window
    int32_t bottom = 0;      // end screen row, clipped to the window
    uint16_t v = 0;          // texture-row accumulator at top, 9 fraction bits
    uint16_t vStep = 0;      // per-row step of v
};

// A billboard's rows in one column as the path kernels draw them: texel row v >> 9 of the
// picture's texture column at each row, v stepping by vStep modulo 2^16; a texel of 0 is a hole
// that keeps the pixel beneath, any other is drawn plus the ramp (wrapping in 8 bits).
struct SpriteRows {
    const uint8_t* texture;  // the picture's texture slot in the bank
    int32_t slot;            // its number as the attribute names it (0..15)
    uint16_t column;         // texture column, 1..63
    uint8_t ramp;
    int32_t top;             // first and end screen rows, top < bottom, inside the screen
    int32_t bottom;
    uint16_t v;              // accumulator at top, 9 fraction bits
    uint16_t vStep;
};

// The reference: two rows a step, straight into the frame or into the thread's tile. Returns
// whether any texel was not a hole (whether the picture shows in this column).
bool drawSpriteRowsScalar(RenderState& rs, const SpriteRows& rows);

// What of object o the frame sees in every column alike: offsets, depth, unclipped rows.
SectorObjects::Seen seeObject(const PlayerState& eye, double headingCos, double headingSin, const GameObject& o);

// Object o's texture column and depth in the current column (rows left at 0).
SpriteColumn placeSprite(const RenderState& rs, const GameObject& o);
// Fills in the rows and texture accumulators of a placed sprite, clipped to the window.
void projectSpriteRows(const RenderState& rs, const GameObject& o, SpriteColumn& sc,
                       int32_t windowTop, int32_t windowBottom);

// Draws, in table order (the frame sorts it far to near first), the active objects of the sector
// whose depth lies strictly between nearLimit and wallDepth, taking them from the frame's list of
// the sector's objects. Nothing is looked at when the sector's object count is 0.
void drawSectorSprites(RenderState& rs, uint16_t sector, int32_t windowTop, int32_t windowBottom,
                       double nearLimit, double wallDepth);

}  // namespace krello
