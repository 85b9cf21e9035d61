// The frame driver: mark reset, the frame's update, the object sort, the view rays, 320 columns.
#pragma once

#include <array>
#include <cstdint>

#include "render/render_state.h"
#include "world/game_state.h"

namespace krello {

class RenderThreads;

// The per-frame game update, plugged into the frame at its fixed place (after the mark reset,
// before the sort). The renderer knows nothing of what it does.
class FrameUpdate {
public:
    virtual void run(GameState& g) = 0;

protected:
    ~FrameUpdate() = default;
};

// Sets the heading's cos and sin and column 0's ray and the per-column step from the player's
// angle: a 90-degree view, rays spaced evenly along the chord between its two edges.
void setUpViewRays(RenderState& rs);

// What every column of one frame shares, worked out before the first column is drawn. It only
// reads the game, so any number of threads may draw columns from it at once.
struct FrameView {
    FrameView(const GameState& g, uint8_t* frameBuffer, RenderPath renderPath);

    const GameState& game;
    uint8_t* frameBuffer;  // 320 x 200 palette indices, rows 320 bytes apart
    RenderPath renderPath;  // the reference or a vector path (flats, wall search)
    double headingCos;     // cos and sin of the player's heading
    double headingSin;
    // Each column's ray. Column c's is column 0's with the step added c times, one addition at
    // a time, so its exact sums are the ones a single left-to-right pass makes.
    std::array<double, SCREEN_WIDTH> rayX;
    std::array<double, SCREEN_WIDTH> rayY;
    SectorObjects objects;  // each sector's active objects, listed after the sort
};

// Draws columns first..end-1 of a frame with one thread's scratch (started for this frame).
void drawColumns(const FrameView& view, ColumnScratch& scratch, int first, int end);

// The frame's work before drawing: every wall's mark cleared (for the update's collision
// scans), the update (if not null), the object sort. renderView starts with it; a frame that is
// not drawn runs it alone.
void prepareFrame(GameState& g, FrameUpdate* update);

// Draws the game as it stands into frameBuffer (320x200 palette indices, rows 320 bytes apart).
// With threads, the columns are shared among them and drawn with their render path; without, all
// are drawn on this thread with the best render path this machine has.
void drawView(const GameState& g, uint8_t* frameBuffer, RenderThreads* threads);

// One whole frame: prepareFrame (running update at its place), then drawView.
void renderView(GameState& g, uint8_t* frameBuffer, FrameUpdate* update, RenderThreads* threads = nullptr);

}  // namespace krello
