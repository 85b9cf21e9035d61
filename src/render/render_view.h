// The frame driver: the view rays and the 320 columns of one frame.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "render/render_state.h"
#include "world/frame_drawer.h"
#include "world/game_state.h"

namespace krello {

class RenderThreads;

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
    double rayStepX;       // added to a column's ray to give the next column's
    double rayStepY;
    // Each column's ray. Column c's is column 0's with the step added c times, one addition at
    // a time, so its exact sums are the ones a single left-to-right pass makes.
    std::array<double, SCREEN_WIDTH> rayX;
    std::array<double, SCREEN_WIDTH> rayY;
    SectorObjects objects;  // each sector's active objects, listed after the sort
};

// A column walk's state for the frame `view` describes: the heading and the view rays; the
// frame buffer and kernels are the caller's to set. aimColumn points it at one screen column.
RenderState viewColumnState(const FrameView& view, ColumnScratch& scratch);
void aimColumn(RenderState& rs, const FrameView& view, int column);

// Draws columns first..end-1 of a frame with one thread's scratch (started for this frame).
void drawColumns(const FrameView& view, ColumnScratch& scratch, int first, int end);

// Readies one thread's scratch for the game's frames, so that the first timed frame costs what
// any other does: draws the game as it stands with it into `frameBuffer` (a buffer of the caller's,
// not the frame shown) and turns every texture slot column by column. Start-up only.
void warmUpColumns(const GameState& g, RenderPath renderPath, ColumnScratch& scratch, uint8_t* frameBuffer);

// Draws the game as it stands into frameBuffer (320x200 palette indices, rows 320 bytes apart).
// Only drawing, and the game is only read: the game's frame (game/frame.h) clears the marks and
// sorts the objects first. With threads, the columns are shared among them and drawn with their
// render path; without, all are drawn on this thread with the best render path this machine has.
void drawView(const GameState& g, uint8_t* frameBuffer, RenderThreads* threads);

// The renderer as the game's FrameDrawer: on the threads given (made once by the program that
// shows frames), or on the caller's thread alone with the best path and a scratch of its own,
// kept from frame to frame (so its tables are not made again for every frame).
class ViewDrawer final : public FrameDrawer {
public:
    explicit ViewDrawer(RenderThreads* threads = nullptr);
    ~ViewDrawer();
    ViewDrawer(ViewDrawer&&) noexcept;
    ViewDrawer& operator=(ViewDrawer&&) noexcept;
    void draw(const GameState& g, uint8_t* frameBuffer) override { drawView(g, frameBuffer, threads_); }
    // Readies every drawing thread for the game's frames (RenderThreads::warmUp). Start-up only.
    void warmUp(const GameState& g);

private:
    std::unique_ptr<RenderThreads> own_;  // the caller's thread alone, when no threads were given
    RenderThreads* threads_;              // what draws: the threads given, or own_
};

}  // namespace krello
