// The renderer's working state: what one column reads, and what each column thread keeps to itself.
#pragma once

#include <array>
#include <cstdint>

#include "render/column_tile.h"
#include "render/flat_shades.h"
#include "render/path_kernels.h"
#include "render/shade_tables.h"
#include "render/texture_columns.h"
#include "render/wall_spans.h"
#include "world/angle.h"
#include "world/game_state.h"
#include "world/screen.h"

namespace krello {

// Each sector's active objects in table order, listed once a frame after the sort, so a sector
// visit looks at its own objects only. Objects whose sector is past the table are in no list.
struct SectorObjects {
    // What does not change from column to column: where the object stands from the eye and the
    // rows its picture spans before any window cuts it.
    struct Seen {
        double dx = 0.0;     // the object's offsets from the eye (32-bit wrapped differences)
        double dy = 0.0;
        double depth = 0.0;  // along the heading
        int32_t top = 0;     // first and end screen rows of the picture, not yet clipped
        int32_t bottom = 0;
        uint16_t vStep = 0;  // per-row step of the texture-row accumulator
    };
    std::array<uint8_t, SECTOR_COUNT + 1> first{};  // sector s holds entries first[s]..first[s+1]-1
    std::array<uint8_t, OBJECT_COUNT> object{};     // object indices, grouped by sector
    std::array<Seen, OBJECT_COUNT> seen{};          // per entry: the object as this frame sees it
};

// Fills the lists from the object table and the player as they stand.
void listSectorObjects(const GameState& g, SectorObjects& lists);
// The same with the heading's cos and sin the frame has worked out already (sinCosOfAngle of
// the player's angle, nothing else), so a frame takes them once.
void listSectorObjects(const GameState& g, double headingCos, double headingSin, SectorObjects& lists);

// What one column thread keeps to itself during a frame. Every thread has its own, so what one
// stamps never reaches another and the frame cannot depend on how the threads are scheduled.
// The game's own wall marks (the collision's) are neither read nor written by the renderer.
struct ColumnScratch {
    std::array<int16_t, WALL_COUNT> marks;  // per wall: a column that found it, or -1
    FlatShades shades;                      // shade offsets of the flat rows drawn so far
    ShadeTables wallShades;                 // shaded pixels by texel, for wall rows
    WallSpans spans;                        // the columns of the walls of the sectors visited
    ColumnTile tile;                        // the columns being drawn, each one's rows side by side
    TextureColumns textureColumns;          // texture slots column by column, for the vector wall rows
    // Bit i: object i of the frame's table put at least one pixel of its picture into this
    // thread's columns. What a player can see, for the playtest's eyes; drawing never reads it.
    uint32_t spritesDrawn = 0;

    // A frame starts with no wall found, no flat shade worked out, no wall projected and no
    // picture drawn (the wall tables hold for any frame).
    void startFrame() {
        marks.fill(-1);
        shades.clear();
        spans.clear();
        textureColumns.startFrame();
        spritesDrawn = 0;
    }
};
static_assert(OBJECT_COUNT <= 32, "spritesDrawn has a bit per object");

// What the column renderer reads and stamps while it draws one column. The game is only read.
struct RenderState {
    const GameState& game;
    ColumnScratch& scratch;        // this thread's marks and flat shades
    const SectorObjects& objects;  // who stands in which sector this frame
    uint8_t* frameBuffer = nullptr;  // 320 x 200 palette indices, rows 320 bytes apart
    // The current column's row 0 in the thread's tile (rows side by side), or null to draw
    // straight into frameBuffer. A tile is copied into the frame when its columns are drawn.
    uint8_t* tileColumn = nullptr;
    const PathKernels* kernels = &pathKernels(RenderPath::Scalar);  // the path's flat rows and search
    int16_t screenColumn = 0;        // the column being drawn; also the stamp put into marks
    double rayDirX = 0.0;            // the current column's ray, not of unit length
    double rayDirY = 0.0;
    double rayStepX = 0.0;  // added to the ray from one column to the next
    double rayStepY = 0.0;
    double firstRayX = 0.0;  // column 0's ray: column c's is this with the step added c times
    double firstRayY = 0.0;
    double headingCos = 1.0;  // cos and sin of the player's heading, the same for the whole frame
    double headingSin = 0.0;
};

// Where the current column's pixels go: row r at top[r * stride].
struct PixelColumn {
    uint8_t* top;
    int32_t stride;
};
inline PixelColumn pixelColumn(const RenderState& rs) {
    if (rs.tileColumn) return {rs.tileColumn, 1};
    return {rs.frameBuffer + rs.screenColumn, SCREEN_WIDTH};
}

// Rows from..to-1 of the current column keep the pixels the frame held before: nothing in them
// is drawn. Straight into the frame that is nothing to do; a tile takes them from the frame.
void keepFramePixels(const RenderState& rs, int32_t from, int32_t to);

// A texture slot of the bank as an attribute byte names it. Only slots 0..13 exist; the two
// numbers past the bank (14, 15) read an all-zero texture instead of memory beyond it.
// Called for every run of rows drawn, so it is inline.
extern const std::array<uint8_t, TEXTURE_BYTES> kBlankTexture;
inline const uint8_t* textureOf(const GameState& g, uint8_t attribute) {
    const int slot = textureSlot(attribute);
    if (slot >= TEXTURE_COUNT) return kBlankTexture.data();
    return g.textures.data() + static_cast<size_t>(slot) * TEXTURE_BYTES;
}

// shaded(t): t minus the shade offset in signed 16-bit arithmetic, clamped to 0..63.
inline uint8_t shadeTexel(uint8_t texel, int16_t shadeOffset) {
    const int16_t v = static_cast<int16_t>(static_cast<uint16_t>(texel - shadeOffset));
    if (v < 0) return 0;
    if (v > 63) return 63;
    return static_cast<uint8_t>(v);
}

}  // namespace krello
