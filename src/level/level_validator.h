// Checks a level's decoded tables against every rule the renderer and the simulation rely on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "level/level_source.h"
#include "world/game_state.h"

namespace krello {

// Where the tables came from. For an image, `source` is null and messages name the record
// ("file: wall 830: ..."); for a compiled source they also name its line ("file:12: wall 830: ...").
struct LevelOrigin {
    std::string file;
    const LevelSourceMap* source = nullptr;
};

// How far a level may reach. The renderer looks for walls up to 1,000,000 units along the view
// and the player and objects measure distances as 32-bit sums of squared quarter units, both
// exact only within a bounded level; the enemies' aim is proven equal to the C library's
// arctangent for differences up to 2^25. Walls spanning at most 100,000 units in x and in y
// keep every wall within 141,422 units of any point inside, every planar distance sum below
// 1.25 x 10^9 and every difference 335 times inside the aim's proof. Heights spanning at most
// 2^20 keep the height term of a distance below 2^28, so the whole sum stays below 2^31.
constexpr int64_t LEVEL_MAX_SPAN = 100000;
constexpr int64_t LEVEL_MAX_HEIGHT_SPAN = int64_t{1} << 20;

// Returns one line per violation, empty when the level is sound. With LevelSize::Full the level
// must fill the tables exactly (191 sectors, 1138 walls, 23 objects, 10 enemies); with
// LevelSize::Playable or Partial only the records a source defined are checked; Playable (a
// level of a player's own) still needs exactly 10 enemies, Partial (small test levels) at most 10.
// Every index is range-checked first, so any bytes at all can be validated without harm.
//
// The checks: the walls' x and y each within a span of LEVEL_MAX_SPAN and the ceilings and
// floors within LEVEL_MAX_HEIGHT_SPAN; walls stored sector by sector with no gaps, at least 3 to a sector, adding up to
// the table; each sector's walls closed loops of consecutive indices; exactly one outer loop
// (positive x(i)*y(i+1) - x(i+1)*y(i) sum), inner loops negative and inside it, none inside
// another, no zero-length wall; portals paired both ways over the same edge in opposite
// directions, never into their own sector, nextSector and otherWall both set or both -1, and
// showing an opening (the heights of the two sectors overlap); every
// sector with a portal and reachable from the start; ceilings above floors, heights multiples
// of 1024; the start (angle 0..2047) and every object inside its sector, objects on the floor,
// kinds 9..12 and no more enemies than spawn points; texture slots 0..8 on every surface that
// can be drawn; objectCount, mark and flags holding their image values.
//
// Loops may not cross, overlap or touch themselves. Two different loops of a sector may meet
// only at a point that is a corner of both (a pillar touching the outer wall at a corner);
// a corner lying on the middle of another wall is a fault, because it splits that wall's
// edge without a matching corner on the other side.
//
// With `listed`, only the first `listed` faults are worded and the rest counted in a closing
// line, "and N more faults": the same lines listedFaults (level_file.h) makes of the whole list,
// at a small part of the cost on a corrupt table, which has thousands.
std::vector<std::string> validateLevel(const GameState& g, const LevelOrigin& origin,
                                       LevelSize size = LevelSize::Full, size_t listed = SIZE_MAX);

}  // namespace krello
