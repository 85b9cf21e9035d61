// How much of the drawn wall shimmers: screen pixels that span more than one texel, measured over
// the tour's views and seeded random standing views, as the renderer lays the walls out.
#pragma once

#include <cstdint>
#include <vector>

#include "world/game_state.h"

namespace krello::tool {

// Drawn wall pixels (solid walls and a portal's steps; ceilings and floors are left out, so their
// grazing rows do not count) and how many of them take more than one texel per pixel.
struct ShimmerCount {
    int64_t drawn = 0;
    int64_t shimmering = 0;  // more than one texel per pixel across or down
    int64_t across = 0;      // of those, across (the texture column skips)
    int64_t down = 0;        // of those, down (the texture row skips)
};

struct WallShimmer {
    ShimmerCount total;
    std::vector<ShimmerCount> byWall;  // per wall index
    int views = 0;                     // views measured
    double steadyShare() const {       // percent of drawn wall pixels that span at most one texel
        return total.drawn ? 100.0 * static_cast<double>(total.drawn - total.shimmering) / static_cast<double>(total.drawn)
                           : 100.0;
    }
};

// The wanted share, in percent.
constexpr double kSteadyShareWanted = 98.0;
// Seeded random views measured besides the tour's.
constexpr int kShimmerRandomViews = 200;

// Measures level `g` from the tour's views that lie inside its sectors (the built-in level's
// all do; another level's may not) and `randomViews` standing views drawn from a fixed seed.
WallShimmer measureWallShimmer(const GameState& g, int randomViews = kShimmerRandomViews);

// Adds the counts of one view, the player standing as g.player says.
void measureView(const GameState& g, WallShimmer& into);

}  // namespace krello::tool
