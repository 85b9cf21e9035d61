// The automap: the walls the player has seen, drawn around the player over the frame on screen.
#include "platform/common/automap.h"

#include <algorithm>
#include <cmath>

#include "world/angle.h"
#include "world/screen.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

constexpr double CENTRE_X = SCREEN_WIDTH / 2;
constexpr double CENTRE_Y = SCREEN_HEIGHT / 2;

// Cuts the segment to the frame (Liang and Barsky's clip); false when nothing of it is inside.
bool clipToFrame(MapPoint& a, MapPoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x, SCREEN_WIDTH - 1 - a.x, a.y, SCREEN_HEIGHT - 1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const MapPoint from = a;
    a = {from.x + t0 * dx, from.y + t0 * dy};
    b = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

// Bresenham's line between the clipped end points, both drawn.
void drawLine(uint8_t* frame, MapPoint a, MapPoint b, uint8_t colour) {
    if (!clipToFrame(a, b)) return;
    int x0 = static_cast<int>(std::lround(a.x));
    int y0 = static_cast<int>(std::lround(a.y));
    const int x1 = static_cast<int>(std::lround(b.x));
    const int y1 = static_cast<int>(std::lround(b.y));
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (true) {
        frame[y0 * SCREEN_WIDTH + x0] = colour;
        if (x0 == x1 && y0 == y1) return;
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

// A portal shows on the map only where the floor or the ceiling steps across it: an opening
// between rooms of one height is no edge a player bumps into.
bool portalSteps(const GameState& g, int sector, const Wall& w) {
    if (w.nextSector < 0 || w.nextSector >= SECTOR_COUNT) return true;  // nothing behind: solid
    const Sector& a = g.sectors[static_cast<size_t>(sector)];
    const Sector& b = g.sectors[static_cast<size_t>(w.nextSector)];
    return a.floorZ != b.floorZ || a.ceilingZ != b.ceilingZ;
}

}  // namespace

// A column marks the wall it finds, which its search took from the walk of a sector it looked
// in, and a portal's back side. So the marks of a frame are those of the walls of the sectors
// looked in and their back sides, and only those need reading: a few dozen walls a frame, where
// the whole table holds 1,138.
void Automap::noteDrawn(const RenderThreads& threads, const GameState& g) {
    for (int part = 0; part < threads.count(); ++part) {
        const ColumnScratch& scratch = threads.scratch(part);
        for (uint16_t s = 0; s < SECTOR_COUNT; ++s) {
            if (!scratch.spans.visited(s)) continue;
            walkSectorWalls(g, s, [&](uint16_t w) {
                if (scratch.marks[w] < 0) return;
                seen_.set(w);
                const uint16_t other = static_cast<uint16_t>(g.walls[w].otherWall);
                if (other < WALL_COUNT && scratch.marks[other] >= 0) seen_.set(other);
            });
        }
    }
}

MapPoint Automap::place(const GameState& g, int32_t x, int32_t y) const {
    const double scale = 1.0 / static_cast<double>(1 << zoom_);
    const double dx = static_cast<double>(static_cast<int64_t>(x) - g.player.x) * scale;
    const double dy = static_cast<double>(static_cast<int64_t>(y) - g.player.y) * scale;
    double sx = dx;
    double sy = dy;
    if (turns_) {
        // Ahead is up and the player's right is right: the heading is (c, s), the right (-s, c).
        const double a = g.player.angle * RADIANS_PER_ANGLE_UNIT;
        const double c = std::cos(a);
        const double s = std::sin(a);
        sx = -dx * s + dy * c;
        sy = -(dx * c + dy * s);
    }
    if (fourByThree_) sy *= SCREEN_HEIGHT / 240.0;  // 200 rows shown as tall as 240 would be
    return {CENTRE_X + sx, CENTRE_Y + sy};
}

void Automap::draw(uint8_t* frame, const GameState& g) const {
    // A quarter of each shade, in its own ramp: the world stays faintly visible behind the map.
    for (int i = 0; i < FRAME_BYTES; ++i) frame[i] = static_cast<uint8_t>((frame[i] & 0xC0) | ((frame[i] & 63) >> 2));

    for (int s = 0; s < SECTOR_COUNT; ++s) {
        const Sector& sector = g.sectors[static_cast<size_t>(s)];
        const int first = static_cast<uint16_t>(sector.firstWall);
        const int end = std::min<int>(first + sector.wallCount, WALL_COUNT);
        for (int w = first; w < end; ++w) {
            const Wall& wall = g.walls[static_cast<size_t>(w)];
            if (!seen(w) || !isWall(wall.point2)) continue;
            const bool solid = wall.otherWall < 0;
            if (!solid && !portalSteps(g, s, wall)) continue;
            const Wall& next = g.walls[static_cast<size_t>(wall.point2)];
            drawLine(frame, place(g, wall.x, wall.y), place(g, next.x, next.y), solid ? SOLID_COLOUR : STEP_COLOUR);
        }
    }

    // The arrow: a tip 7 pixels along the heading, two barbs back and aside, and the shaft.
    const double a = g.player.angle * RADIANS_PER_ANGLE_UNIT;
    double fx = turns_ ? 0.0 : std::cos(a);
    double fy = turns_ ? -1.0 : std::sin(a);
    const double squeeze = fourByThree_ ? SCREEN_HEIGHT / 240.0 : 1.0;
    const auto at = [&](double ahead, double right) {
        return MapPoint{CENTRE_X + ahead * fx - right * fy, CENTRE_Y + (ahead * fy + right * fx) * squeeze};
    };
    const MapPoint tip = at(7, 0);
    drawLine(frame, at(-5, 0), tip, PLAYER_COLOUR);
    drawLine(frame, at(1, -4), tip, PLAYER_COLOUR);
    drawLine(frame, at(1, 4), tip, PLAYER_COLOUR);
}

}  // namespace krello
