// The automap: the walls the player has seen, drawn around the player over the frame on screen.
#pragma once

#include <bitset>
#include <cstdint>

#include "render/render_threads.h"
#include "world/game_state.h"

namespace krello {

// Where a point of the world lands on the map, in frame pixels (not rounded).
struct MapPoint {
    double x = 0.0;
    double y = 0.0;
};

// The map only looks: it reads the game and the renderer's record of the walls it found, and
// draws into the shown copy of the frame, so the game, the rendered frame and its checksum are
// the same with the map on or off. It keeps what was seen in a fixed bit set, so nothing is
// allocated per frame.
class Automap {
public:
    // The palette entries the map draws with: the brightest warm white for solid walls, a dim
    // cool shade for a portal with a step, bright orange for the player.
    static constexpr uint8_t SOLID_COLOUR = 63;
    static constexpr uint8_t STEP_COLOUR = 64 + 30;
    static constexpr uint8_t PLAYER_COLOUR = 192 + 63;
    // Zoom as a shift: 2^zoom world units to a pixel; + halves it, - doubles it.
    static constexpr int CLOSEST_ZOOM = 4;
    static constexpr int FARTHEST_ZOOM = 10;
    static constexpr int DEFAULT_ZOOM = 6;

    // turns: the player's heading points up; else north (smaller y) is up. fourByThree: the frame
    // is shown 4:3, with pixels 1.2 times as tall as wide, so the map squeezes its rows to keep
    // the rooms' shapes.
    Automap(bool turns, bool fourByThree) : turns_(turns), fourByThree_(fourByThree) {}

    // A new game: nothing has been seen yet.
    void forget() { seen_.reset(); }
    // Adds the walls the renderer found in the frame it drew last of g, on any of its threads.
    void noteDrawn(const RenderThreads& threads, const GameState& g);
    void see(int wall) { seen_.set(static_cast<size_t>(wall)); }
    bool seen(int wall) const { return seen_.test(static_cast<size_t>(wall)); }

    void toggle() { shown_ = !shown_; }
    bool shown() const { return shown_; }
    void zoomIn() { zoom_ = zoom_ > CLOSEST_ZOOM ? zoom_ - 1 : zoom_; }
    void zoomOut() { zoom_ = zoom_ < FARTHEST_ZOOM ? zoom_ + 1 : zoom_; }
    int zoom() const { return zoom_; }

    // Where the world point (x, y) lands, the player at the frame's centre.
    MapPoint place(const GameState& g, int32_t x, int32_t y) const;

    // Dims the frame (320x200 palette indices), then draws the seen walls that have something to
    // show (solid ones, and portals whose floor or ceiling steps) and the player's arrow.
    void draw(uint8_t* frame, const GameState& g) const;

private:
    std::bitset<WALL_COUNT> seen_;
    bool shown_ = false;
    bool turns_;
    bool fourByThree_;
    int zoom_ = DEFAULT_ZOOM;
};

}  // namespace krello
