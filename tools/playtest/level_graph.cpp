// The playtest bot's map of the level: portals, solid walls and the shortest walks between sectors.
#include "playtest/level_graph.h"

#include <cmath>
#include <limits>

#include "world/wall_walk.h"

namespace krello::playtest {
namespace {

// How far into a sector a corner is moved to make a point to walk by: clear of both walls.
constexpr double CORNER_INSET = 160.0;
// The way back into a sector crosses a wall square to it from this far before its middle, to
// this far past it, and not within the margin of its ends.
constexpr double WAY_BACK_FRONT = 150.0;
constexpr double WAY_BACK_INSET = 60.0;
constexpr double WAY_BACK_MARGIN = 30.0;
// What a wall to avoid adds to a route: longer than any walk through the level.
constexpr double AVOIDED_COST = 1.0e6;

double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

// Where the line from + t d meets the line a + u (b - a); false when they are parallel.
bool meets(Vec2 from, Vec2 d, Vec2 a, Vec2 b, double& t, double& u) {
    const Vec2 e = b - a;
    const double den = cross(d, e);
    if (std::fabs(den) < 1e-9) return false;
    const Vec2 q = a - from;
    t = cross(q, e) / den;
    u = cross(q, d) / den;
    return true;
}

Vec2 unit(Vec2 v) {
    const double n = length(v);
    return n > 0.0 ? v * (1.0 / n) : Vec2{};
}

// Whether p lies inside the closed segments (even-odd rule, so inner loops are holes).
bool inside(const std::vector<std::pair<Vec2, Vec2>>& edges, Vec2 p) {
    bool in = false;
    for (const auto& [a, b] : edges) {
        if ((a.y > p.y) == (b.y > p.y)) continue;
        const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
        if (x > p.x) in = !in;
    }
    return in;
}

}  // namespace

double length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }
double distance(Vec2 a, Vec2 b) { return length(a - b); }

LevelGraph::LevelGraph(const GameState& level) {
    std::vector<std::pair<Vec2, Vec2>> edges;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        portalStart_[static_cast<size_t>(s)] = static_cast<uint32_t>(portals_.size());
        solidStart_[static_cast<size_t>(s)] = static_cast<uint32_t>(solids_.size());
        wallStart_[static_cast<size_t>(s)] = static_cast<uint32_t>(walls_.size());
        cornerStart_[static_cast<size_t>(s)] = static_cast<uint32_t>(corners_.size());
        outsideStart_[static_cast<size_t>(s)] = static_cast<uint32_t>(outside_.size());
        inUse_[static_cast<size_t>(s)] = level.sectors[static_cast<size_t>(s)].wallCount != 0;
        if (!inUse_[static_cast<size_t>(s)]) continue;
        edges.clear();
        // Per wall walked: its end, its inward normal and the next wall of its loop.
        struct WallEnd {
            uint16_t wall;
            Vec2 end;
            Vec2 inward;
            uint16_t next;
        };
        std::vector<WallEnd> ends;
        double bestArea = -1.0;
        Vec2 sum;
        int count = 0;
        Vec2 loopSum;
        int loopCount = 0;
        double loopArea = 0.0;
        uint16_t loopStart = static_cast<uint16_t>(level.sectors[static_cast<size_t>(s)].firstWall);
        walkSectorWalls(level, static_cast<uint16_t>(s), [&](uint16_t w) {
            const Wall& wall = level.walls[w];
            const uint16_t next = static_cast<uint16_t>(wall.point2);
            if (next >= WALL_COUNT) return;
            const Vec2 a{static_cast<double>(wall.x), static_cast<double>(wall.y)};
            const Vec2 b{static_cast<double>(level.walls[next].x), static_cast<double>(level.walls[next].y)};
            edges.emplace_back(a, b);
            walls_.push_back({a, b, w});
            // The sector's inside lies on the side of (-(y2 - y1), x2 - x1), for outer and inner loops alike.
            const Vec2 inward = unit({-(b.y - a.y), b.x - a.x});
            ends.push_back({w, b, inward, next});
            const int16_t to = wall.nextSector;
            if (to >= 0 && to < SECTOR_COUNT && level.sectors[static_cast<size_t>(to)].wallCount != 0) {
                Portal p;
                p.wall = w;
                p.to = to;
                p.mid = (a + b) * 0.5;
                p.inward = inward;
                p.width = distance(a, b);
                p.rise = level.sectors[static_cast<size_t>(s)].floorZ - level.sectors[static_cast<size_t>(to)].floorZ;
                portals_.push_back(p);
            } else {
                solids_.push_back({a, b, w});
            }
            loopSum = loopSum + a;
            ++loopCount;
            loopArea += cross(a, b);
            if (next == loopStart) {  // the loop closes: the outer loop is the one of largest area
                if (loopArea > bestArea) {
                    bestArea = loopArea;
                    sum = loopSum;
                    count = loopCount;
                }
                loopSum = {};
                loopCount = 0;
                loopArea = 0.0;
                loopStart = static_cast<uint16_t>(w + 1);
            }
        });
        centre_[static_cast<size_t>(s)] = count > 0 ? sum * (1.0 / count) : Vec2{};
        // A corner is where a wall ends and the next wall of its loop begins: moved inward
        // along the middle of the two walls' inward normals.
        for (const WallEnd& e : ends) {
            Vec2 nextInward = e.inward;
            for (const WallEnd& f : ends)
                if (f.wall == e.next) nextInward = f.inward;
            const Vec2 both = e.inward + nextInward;
            const Vec2 along = length(both) < 0.1 ? e.inward : unit(both);
            const Vec2 corner = e.end + along * CORNER_INSET;
            if (inside(edges, corner)) corners_.push_back(corner);
            const Vec2 out = e.end - along * CORNER_INSET;
            if (!inside(edges, out)) outside_.push_back(out);
        }
    }
    portalStart_[SECTOR_COUNT] = static_cast<uint32_t>(portals_.size());
    solidStart_[SECTOR_COUNT] = static_cast<uint32_t>(solids_.size());
    wallStart_[SECTOR_COUNT] = static_cast<uint32_t>(walls_.size());
    cornerStart_[SECTOR_COUNT] = static_cast<uint32_t>(corners_.size());
    outsideStart_[SECTOR_COUNT] = static_cast<uint32_t>(outside_.size());
}

std::span<const Portal> LevelGraph::portals(int sector) const {
    if (sector < 0 || sector >= SECTOR_COUNT) return {};
    const uint32_t from = portalStart_[static_cast<size_t>(sector)];
    return {portals_.data() + from, portalStart_[static_cast<size_t>(sector) + 1] - from};
}

bool LevelGraph::contains(int sector, Vec2 p) const {
    if (!inUse(sector)) return false;
    bool in = false;
    for (uint32_t i = wallStart_[static_cast<size_t>(sector)]; i < wallStart_[static_cast<size_t>(sector) + 1]; ++i) {
        const Segment& s = walls_[i];
        if ((s.a.y > p.y) == (s.b.y > p.y)) continue;
        if (s.a.x + (p.y - s.a.y) * (s.b.x - s.a.x) / (s.b.y - s.a.y) > p.x) in = !in;
    }
    return in;
}

int LevelGraph::sectorAt(Vec2 p, int hint) const {
    if (contains(hint, p)) return hint;
    for (const Portal& portal : portals(hint))
        if (contains(portal.to, p)) return portal.to;
    for (int s = 0; s < SECTOR_COUNT; ++s)
        if (contains(s, p)) return s;
    return -1;
}

bool LevelGraph::walkable(int sector, Vec2 from, Vec2 to, int through) const {
    if (sector < 0 || sector >= SECTOR_COUNT) return true;
    const Vec2 d = to - from;
    for (uint32_t i = wallStart_[static_cast<size_t>(sector)]; i < wallStart_[static_cast<size_t>(sector) + 1]; ++i) {
        const Segment& s = walls_[i];
        double t = 0.0, u = 0.0;
        if (s.wall != through && meets(from, d, s.a, s.b, t, u) && t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0)
            return false;
    }
    return true;
}

bool LevelGraph::detour(int sector, Vec2 from, Vec2 to, int through, Vec2& via) const {
    if (sector < 0 || sector >= SECTOR_COUNT) return false;
    double best = std::numeric_limits<double>::infinity();
    double nearest = best;
    Vec2 fallback;
    for (uint32_t i = cornerStart_[static_cast<size_t>(sector)]; i < cornerStart_[static_cast<size_t>(sector) + 1]; ++i) {
        const Vec2 c = corners_[i];
        if (distance(from, c) < 48.0 || !walkable(sector, from, c)) continue;
        if (walkable(sector, c, to, through)) {
            const double cost = distance(from, c) + distance(c, to);
            if (cost < best) {
                best = cost;
                via = c;
            }
        } else if (distance(c, to) < nearest) {
            nearest = distance(c, to);
            fallback = c;
        }
    }
    if (best < std::numeric_limits<double>::infinity()) return true;
    if (nearest < std::numeric_limits<double>::infinity()) {
        via = fallback;
        return true;
    }
    return false;
}

// The next point on the way to cross one wall of `sector` from outside, near its middle and
// square to it: a point before the middle (round a corner of the sector if need be), then
// through. Returns the length of the way, infinity for none.
double LevelGraph::crossFromOutside(int sector, Vec2 from, Vec2 a, Vec2 b, int wall, Vec2& to) const {
    constexpr double NONE = std::numeric_limits<double>::infinity();
    const Vec2 inward = unit({-(b.y - a.y), b.x - a.x});
    const Vec2 along = unit(b - a);
    const Vec2 mid = (a + b) * 0.5;
    const double width = distance(a, b);
    if (width < 2.0 * WAY_BACK_MARGIN) return NONE;
    const Vec2 front = mid - inward * WAY_BACK_FRONT;
    const Vec2 inside = mid + inward * WAY_BACK_INSET;
    const Vec2 rel = from - mid;
    const double before = -(rel.x * inward.x + rel.y * inward.y);
    const double aside = std::fabs(rel.x * along.x + rel.y * along.y);
    if (before > 1.0 && before < WAY_BACK_FRONT + 60.0 && aside < width / 2.0 - WAY_BACK_MARGIN) {
        if (!walkable(sector, from, inside, wall)) return NONE;
        to = inside;
        return distance(from, inside);
    }
    if (walkable(sector, from, front)) {
        to = front;
        return distance(from, front) + WAY_BACK_FRONT;
    }
    double best = NONE;
    for (uint32_t k = outsideStart_[static_cast<size_t>(sector)]; k < outsideStart_[static_cast<size_t>(sector) + 1]; ++k) {
        const Vec2 via = outside_[k];
        const double around = distance(from, via) + distance(via, front) + WAY_BACK_FRONT;
        if (around < best && walkable(sector, from, via) && walkable(sector, via, front)) {
            best = around;
            to = via;
        }
    }
    return best;
}

bool LevelGraph::wayBack(int sector, Vec2 from, Vec2& to, int portals) const {
    if (!inUse(sector)) return false;
    double best = std::numeric_limits<double>::infinity();
    Vec2 step;
    for (uint32_t i = solidStart_[static_cast<size_t>(sector)]; i < solidStart_[static_cast<size_t>(sector) + 1]; ++i) {
        const Segment& s = solids_[i];
        const double cost = crossFromOutside(sector, from, s.a, s.b, s.wall, step);
        if (cost < best) {
            best = cost;
            to = step;
        }
    }
    if (best < std::numeric_limits<double>::infinity() || portals == 0) return best < std::numeric_limits<double>::infinity();
    // Through a portal from outside: the game then holds the sector behind it, and the player
    // stands just inside this one.
    for (const Portal& p : this->portals(sector)) {
        const Vec2 a = p.mid - Vec2{p.inward.y, -p.inward.x} * (p.width / 2.0);
        const Vec2 b = p.mid + Vec2{p.inward.y, -p.inward.x} * (p.width / 2.0);
        const double cost = crossFromOutside(sector, from, a, b, p.wall, step);
        Vec2 next;
        if (cost < best && wayBack(p.to, p.mid + p.inward * WAY_BACK_INSET, next, portals - 1)) {
            best = cost;
            to = step;
        }
    }
    return best < std::numeric_limits<double>::infinity();
}

double LevelGraph::room(int sector, Vec2 from, Vec2 dir, double cap) const {
    if (sector < 0 || sector >= SECTOR_COUNT) return cap;
    double nearest = cap;
    for (uint32_t i = solidStart_[static_cast<size_t>(sector)]; i < solidStart_[static_cast<size_t>(sector) + 1]; ++i) {
        const Segment& s = solids_[i];
        double t = 0.0, u = 0.0;
        if (meets(from, dir, s.a, s.b, t, u) && t >= 0.0 && u >= 0.0 && u <= 1.0 && t < nearest) nearest = t;
    }
    return nearest;
}

void planRoutes(const LevelGraph& graph, int sector, Vec2 from, std::span<const uint32_t, WALL_COUNT> avoid,
                uint32_t now, Routes& routes) {
    constexpr double NONE = std::numeric_limits<double>::infinity();
    routes.cost.fill(NONE);
    routes.first.fill(-1);
    routes.start = sector;
    if (!graph.inUse(sector)) return;
    std::array<Vec2, SECTOR_COUNT> entry{};
    std::array<bool, SECTOR_COUNT> done{};
    routes.cost[static_cast<size_t>(sector)] = 0.0;
    entry[static_cast<size_t>(sector)] = from;
    for (;;) {
        int u = -1;
        for (int s = 0; s < SECTOR_COUNT; ++s)
            if (!done[static_cast<size_t>(s)] && routes.cost[static_cast<size_t>(s)] < NONE &&
                (u < 0 || routes.cost[static_cast<size_t>(s)] < routes.cost[static_cast<size_t>(u)]))
                u = s;
        if (u < 0) return;
        done[static_cast<size_t>(u)] = true;
        const std::span<const Portal> out = graph.portals(u);
        for (size_t k = 0; k < out.size(); ++k) {
            const Portal& p = out[k];
            const size_t t = static_cast<size_t>(p.to);
            if (done[t]) continue;
            double c = routes.cost[static_cast<size_t>(u)] + distance(entry[static_cast<size_t>(u)], p.mid);
            if (avoid[p.wall] > now) c += AVOIDED_COST;
            if (c < routes.cost[t]) {
                routes.cost[t] = c;
                entry[t] = p.mid;
                routes.first[t] = u == sector ? static_cast<int16_t>(k) : routes.first[static_cast<size_t>(u)];
            }
        }
    }
}

}  // namespace krello::playtest
