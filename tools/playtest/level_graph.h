// The level as the playtest bot finds its way through it: sectors, the portals between them, and
// the solid walls that stop a walk.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "world/game_state.h"

namespace krello::playtest {

struct Vec2 {
    double x = 0.0;
    double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
double length(Vec2 v);
double distance(Vec2 a, Vec2 b);

// A way out of a sector: one portal wall.
struct Portal {
    uint16_t wall = 0;   // the portal wall, in the sector it leads out of
    int16_t to = -1;     // the sector behind it
    Vec2 mid;            // the middle of the opening
    Vec2 inward;         // unit normal pointing back into the sector it leads out of
    double width = 0.0;  // the opening's length
    int32_t rise = 0;    // how much higher the floor behind it is (z grows downward)
};

// Built once from a level's tables (walls and sectors never move); then only read, so one graph
// serves every game on every thread.
class LevelGraph {
public:
    explicit LevelGraph(const GameState& level);

    std::span<const Portal> portals(int sector) const;
    // The middle of the sector's outer loop's corners: where routes are measured from and to.
    Vec2 centre(int sector) const { return centre_[static_cast<size_t>(sector)]; }
    bool inUse(int sector) const { return sector >= 0 && sector < SECTOR_COUNT && inUse_[static_cast<size_t>(sector)]; }

    // Whether the point lies inside the sector's outer loop and outside its inner loops.
    bool contains(int sector, Vec2 p) const;
    // The sector the point lies in: `hint` if it does, else one of hint's neighbours, else the
    // first in the table; -1 for none. The game keeps the player's sector by the walls crossed,
    // and a step pushed back from a wall just past a portal leaves the player outside it.
    int sectorAt(Vec2 p, int hint) const;

    // Whether a straight walk from `from` to `to` stays in the sector: it crosses none of its
    // walls but `through` (a portal to leave by, or -1). A solid wall stops the walk, and any
    // other portal leads somewhere else.
    bool walkable(int sector, Vec2 from, Vec2 to, int through = -1) const;
    // A point to walk to first, when the straight walk to `to` is not walkable: a corner of the
    // sector moved a little into it, from which `to` can be walked to (the shortest such
    // detour), or failing that the reachable corner nearest `to`. False when there is none.
    bool detour(int sector, Vec2 from, Vec2 to, int through, Vec2& via) const;
    // The first point to walk to that brings a player standing outside `sector`, though the
    // game holds it there, back inside the sector the game holds. Such a player collides with
    // that sector's walls alone: crossing one of its solid walls from outside pushes it 50 units
    // from where the step began toward the wall's sector, which is inside; crossing one of its
    // portals from outside hands the game the sector behind while the player stands inside this
    // one. So: just within the nearest solid wall it faces from outside and can walk to
    // straight or round one corner of the sector, or through such a portal first (at most
    // `portals` of them). False for none.
    bool wayBack(int sector, Vec2 from, Vec2& to, int portals = 3) const;
    // How far one can walk from `from` along the unit direction `dir` before a solid wall of
    // the sector, at most `cap`.
    double room(int sector, Vec2 from, Vec2 dir, double cap) const;

private:
    double crossFromOutside(int sector, Vec2 from, Vec2 a, Vec2 b, int wall, Vec2& to) const;

    struct Segment {
        Vec2 a, b;
        int wall = -1;
    };
    std::array<bool, SECTOR_COUNT> inUse_{};
    std::array<Vec2, SECTOR_COUNT> centre_{};
    // Per sector s, its portals are portals_[portalStart_[s] .. portalStart_[s + 1]), and
    // likewise its solid walls, all its walls and its corners moved inward.
    std::array<uint32_t, SECTOR_COUNT + 1> portalStart_{};
    std::array<uint32_t, SECTOR_COUNT + 1> solidStart_{};
    std::array<uint32_t, SECTOR_COUNT + 1> wallStart_{};
    std::array<uint32_t, SECTOR_COUNT + 1> cornerStart_{};
    std::array<uint32_t, SECTOR_COUNT + 1> outsideStart_{};
    std::vector<Portal> portals_;
    std::vector<Segment> solids_;
    std::vector<Segment> walls_;
    std::vector<Vec2> corners_;
    std::vector<Vec2> outside_;  // corners moved a little out of the sector
};

// Shortest walks over the portals from a point in a sector to every sector, measured from the
// start to a portal's middle, from portal to portal, and to the last sector's centre.
struct Routes {
    std::array<double, SECTOR_COUNT> cost{};      // infinity where no way leads
    std::array<int16_t, SECTOR_COUNT> first{};    // the index in portals(start) of the first step, -1 at the start
    int start = -1;
};

// Walls in `avoid` (a time per wall until which it is not to be used, compared with `now`)
// cost as much as a long detour. Nothing is allocated.
void planRoutes(const LevelGraph& graph, int sector, Vec2 from, std::span<const uint32_t, WALL_COUNT> avoid,
                uint32_t now, Routes& routes);

}  // namespace krello::playtest
