// Wall collision: the scan for the first wall a move crosses, and what the player or an object does then.
#include "game/collision.h"

#include <cmath>

#include "game/game_math.h"
#include "game/object_motion.h"
#include "game/object_pool.h"
#include "world/portable_trig.h"
#include "world/random.h"
#include "world/wall_walk.h"

namespace krello {

namespace {

constexpr int16_t CROSSED = -2;
constexpr double FARTHEST_CROSSING = 100000.0;
constexpr double PUSH_BACK = 50.0;
// A bounced enemy leaves at this speed along its new heading.
constexpr int ENEMY_BOUNCE_SPEED = 40;

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The distance along the heading from P to where the move crosses wall w, or a negative
// value when the move does not cross it.
double crossingDistance(const GameState& g, uint16_t w, double px, double py, double dx,
                        double dy, double cosH, double sinH, double& ex, double& ey) {
    const Wall& wall = g.walls[w];
    const int32_t p2 = wall.point2;
    if (!isWall(p2)) return -1.0;  // a loop pointing outside the table has no end point
    const Wall& end = g.walls[static_cast<size_t>(p2)];
    ex = static_cast<double>(end.x) - static_cast<double>(wall.x);
    ey = static_cast<double>(end.y) - static_cast<double>(wall.y);
    const double qx = static_cast<double>(wall.x) - px;
    const double qy = static_cast<double>(wall.y) - py;
    const double den = cross(dx, dy, ex, ey);
    if (std::fabs(den) <= 0.0001) return -1.0;  // no move, or parallel to the wall
    const double u = cross(qx, qy, dx, dy) / den;
    if (!(u >= 0.0 && u <= 1.0)) return -1.0;
    // A move ending exactly on the wall's line does not cross it; one starting there does.
    const double t = cross(qx, qy, ex, ey) / den;
    if (!(t >= 0.0 && t < 1.0)) return -1.0;
    const double ix = px + t * dx;
    const double iy = py + t * dy;
    return std::fabs((ix - px) * cosH + (iy - py) * sinH);
}

// Sets (x, y) about 50 units from the previous position, across from the wall toward the
// inside of its sector; the attempted move is dropped, not slid along the wall.
void pushBack(const WallCrossing& c, int32_t prevX, int32_t prevY, int32_t& x, int32_t& y) {
    const double k = PUSH_BACK / (std::sqrt(c.edgeX * c.edgeX + c.edgeY * c.edgeY) + 0.01);
    x = truncToInt32(static_cast<double>(prevX) - c.edgeY * k);
    y = truncToInt32(static_cast<double>(prevY) + c.edgeX * k);
}

// Both sides of a crossed portal are closed to every later scan of this update.
void markCrossed(GameState& g, int32_t wall) {
    Wall& w = g.walls[static_cast<size_t>(wall)];
    w.mark = CROSSED;
    if (isWall(w.otherWall)) g.walls[static_cast<size_t>(w.otherWall)].mark = CROSSED;
}

// The sector behind a crossed wall, or -1 when it is solid. A portal naming a sector outside
// the table is treated as solid, so nothing is moved into a sector that does not exist.
int32_t sectorBehind(const GameState& g, int32_t wall) {
    const int32_t next = g.walls[static_cast<size_t>(wall)].nextSector;
    return isSector(next) ? next : -1;
}

void bounceEnemy(GameState& g, GameObject& o, const WallCrossing& c, int32_t prevX, int32_t prevY) {
    pushBack(c, prevX, prevY, o.x, o.y);
    const int r = drawRandom(g);
    // The heading keeps growing without being reduced; 65536 is a whole number of turns.
    o.angle = add16(o.angle, 924 + r % 200);
    setHeadingVelocity(o, o.angle, ENEMY_BOUNCE_SPEED);
}

}  // namespace

WallCrossing scanSectorWalls(const GameState& g, int16_t sector, int32_t prevX, int32_t prevY,
                             int32_t newX, int32_t newY, int16_t heading) {
    WallCrossing best;
    if (!isSector(sector)) return best;
    const double px = prevX;
    const double py = prevY;
    const double dx = static_cast<double>(newX) - px;
    const double dy = static_cast<double>(newY) - py;
    const SinCos h = sinCosOfAngle(heading);
    const double cosH = h.cos;
    const double sinH = h.sin;
    double bestDistance = FARTHEST_CROSSING;
    walkSectorWalls(g, static_cast<uint16_t>(sector), [&](uint16_t w) {
        if (g.walls[w].mark == CROSSED) return;
        double ex = 0.0;
        double ey = 0.0;
        const double d = crossingDistance(g, w, px, py, dx, dy, cosH, sinH, ex, ey);
        // Strict: on a tie the wall tested first stays.
        if (d >= 0.0 && d < bestDistance) {
            bestDistance = d;
            best.wall = w;
            best.edgeX = ex;
            best.edgeY = ey;
        }
    });
    return best;
}

void collidePlayer(GameState& g, int16_t sector) {
    PlayerState& p = g.player;
    const PlayerState& prev = g.prevPlayer;
    int16_t s = sector;
    // Every portal crossed is marked before the next scan, so this ends after at most one
    // crossing per wall.
    for (;;) {
        const WallCrossing c = scanSectorWalls(g, s, prev.x, prev.y, p.x, p.y, p.angle);
        if (c.wall < 0) return;
        const int32_t next = sectorBehind(g, c.wall);
        if (next < 0) {
            pushBack(c, prev.x, prev.y, p.x, p.y);
            return;
        }
        p.sector = static_cast<int16_t>(next);
        markCrossed(g, c.wall);
        s = static_cast<int16_t>(next);
    }
}

void collideObject(GameState& g, int16_t sector, int32_t prevX, int32_t prevY, int16_t index) {
    if (index < 0 || index >= OBJECT_COUNT) return;
    GameObject& o = g.objects[static_cast<size_t>(index)];
    int16_t s = sector;
    for (;;) {
        const WallCrossing c = scanSectorWalls(g, s, prevX, prevY, o.x, o.y, o.angle);
        if (c.wall < 0) return;
        // Enemies treat portals as walls, so they never leave their sector.
        if (o.flags & OBJ_ENEMY) {
            bounceEnemy(g, o, c, prevX, prevY);
            return;
        }
        const int32_t next = sectorBehind(g, c.wall);
        if (next < 0) {
            // A dead shot stays where its move ended, beyond the wall.
            takeOutOfPlay(g, o);
            return;
        }
        o.sector = static_cast<int16_t>(next);
        markCrossed(g, c.wall);
        changeObjectCount(g, s, -1);
        changeObjectCount(g, next, +1);
        s = static_cast<int16_t>(next);
    }
}

}  // namespace krello
