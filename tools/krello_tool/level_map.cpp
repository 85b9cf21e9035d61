// Rasterises the level's sectors, walls and markers into a top-down RGB map.
#include "krello_tool/level_map.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "krello_tool/digit_font.h"
#include "level/own_walls.h"
#include "world/portable_trig.h"

namespace krello::tool {
namespace {

constexpr int kMargin = 16;
constexpr int kLabelScale = 2;
constexpr uint8_t kBackground[3] = {16, 16, 20};
constexpr uint8_t kSolid[3] = {235, 235, 235};
constexpr uint8_t kPortal[3] = {40, 150, 150};
constexpr uint8_t kLabel[3] = {255, 255, 255};
constexpr uint8_t kLabelBox[3] = {0, 0, 0};
constexpr uint8_t kStart[3] = {60, 230, 60};
constexpr uint8_t kEnemy[3] = {240, 40, 40};
constexpr uint8_t kShot[3] = {250, 150, 30};

// Far outside any picture, yet far from int's limits: a position a damaged table puts anywhere
// is brought within this before it is turned into an int and offset, so nothing overflows.
constexpr double kFarOff = 1 << 20;

// The nearest pixel to a picture position, saturated to +-kFarOff (NaN lands far off too).
int pixel(double v) {
    if (!(v > -kFarOff)) return -static_cast<int>(kFarOff);
    if (!(v < kFarOff)) return static_cast<int>(kFarOff);
    // std::lround's rounding (halves away from zero) without its call: v - trunc(v) is exact here.
    const double whole = std::trunc(v);
    const int n = static_cast<int>(whole);
    if (v - whole >= 0.5) return n + 1;
    if (whole - v >= 0.5) return n - 1;
    return n;
}

// World to picture: a uniform scale keeps the level's proportions.
struct View {
    double minX = 0, minY = 0, scale = 1;
    double px(double x) const { return (x - minX) * scale + kMargin; }
    double py(double y) const { return (y - minY) * scale + kMargin; }
};

class Canvas {
public:
    explicit Canvas(MapPicture& p) : p_(p) {}

    void put(int x, int y, const uint8_t c[3]) {
        if (x < 0 || y < 0 || x >= p_.width || y >= p_.height) return;
        uint8_t* d = p_.rgb.data() + (static_cast<size_t>(y) * p_.width + x) * 3;
        d[0] = c[0], d[1] = c[1], d[2] = c[2];
    }

    void line(double x0, double y0, double x1, double y1, const uint8_t c[3]) {
        const double steps = std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)));
        if (!(steps < 1e5)) return;  // off any sane picture (or not a number)
        for (int i = 0; i <= static_cast<int>(steps); ++i) {
            const double t = steps == 0 ? 0 : i / steps;
            put(pixel(x0 + (x1 - x0) * t), pixel(y0 + (y1 - y0) * t), c);
        }
    }

    void disc(double cx, double cy, int radius, const uint8_t c[3], bool ring = false) {
        const int x = pixel(cx), y = pixel(cy);
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int d2 = dx * dx + dy * dy;
                if (d2 > radius * radius || (ring && d2 < (radius - 1) * (radius - 1))) continue;
                put(x + dx, y + dy, c);
            }
    }

    void label(int x, int y, int number, int scale) {
        drawNumber(p_.rgb.data(), p_.width, p_.height, x, y, number, scale, kLabel);
    }

    // Clipped to the picture first: most sector numbers of a small map lie mostly off it.
    void box(int x0, int y0, int x1, int y1, const uint8_t c[3]) {
        x0 = std::max(x0, 0), y0 = std::max(y0, 0);
        x1 = std::min(x1, p_.width - 1), y1 = std::min(y1, p_.height - 1);
        for (int y = y0; y <= y1; ++y) {
            uint8_t* d = p_.rgb.data() + (static_cast<size_t>(y) * p_.width + x0) * 3;
            for (int x = x0; x <= x1; ++x, d += 3) d[0] = c[0], d[1] = c[1], d[2] = c[2];
        }
    }

private:
    MapPicture& p_;
};

// Each of a sector's own walls with its end point, in the order the game's wall walk reaches them.
template <typename Visit>
void sectorSegments(const GameState& g, int s, Visit&& visit) {
    if (g.sectors[static_cast<size_t>(s)].wallCount == 0) return;  // a table entry a small level left empty
    walkOwnWalls(g, static_cast<uint16_t>(s), [&](uint16_t w) {
        const uint16_t p2 = static_cast<uint16_t>(g.walls[w].point2);
        if (p2 < WALL_COUNT) visit(w, g.walls[w], g.walls[p2]);
    });
}

View fitView(const GameState& g, int size, int& width, int& height) {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (int s = 0; s < SECTOR_COUNT; ++s)
        sectorSegments(g, s, [&](uint16_t, const Wall& a, const Wall&) {
            minX = std::min<double>(minX, a.x), maxX = std::max<double>(maxX, a.x);
            minY = std::min<double>(minY, a.y), maxY = std::max<double>(maxY, a.y);
        });
    if (minX > maxX) minX = maxX = minY = maxY = 0;
    const double extent = std::max({maxX - minX, maxY - minY, 1.0});
    const double scale = (size - 2 * kMargin) / extent;
    width = static_cast<int>((maxX - minX) * scale) + 2 * kMargin + 1;
    height = static_cast<int>((maxY - minY) * scale) + 2 * kMargin + 1;
    return {minX, minY, scale};
}

// Floors coloured by rank among the level's distinct floor heights, so small steps show too.
// z grows downward: the largest floorZ is the lowest floor and gets t = 0.
void floorColour(const std::vector<int32_t>& floors, int32_t z, uint8_t out[3]) {
    const auto rank = std::lower_bound(floors.begin(), floors.end(), z) - floors.begin();
    const double t = floors.size() > 1 ? 1.0 - static_cast<double>(rank) / (floors.size() - 1) : 0.5;
    out[0] = static_cast<uint8_t>(30 + 200 * t);
    out[1] = static_cast<uint8_t>(40 + 170 * t);
    out[2] = static_cast<uint8_t>(110 - 40 * t);
}

// Even-odd scanline fill of all the sector's loops: inner loops stay holes. The walls are
// walked once, not once a row. The lists are the caller's, kept from sector to sector.
using Segments = std::vector<std::pair<const Wall*, const Wall*>>;
void fillSector(const GameState& g, int s, const View& v, const uint8_t colour[3], Canvas& c,
                int height, Segments& segments, std::vector<double>& xs) {
    segments.clear();
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    sectorSegments(g, s, [&](uint16_t, const Wall& a, const Wall& b) {
        segments.emplace_back(&a, &b);
        top = std::min({top, a.y, b.y}), bottom = std::max({bottom, a.y, b.y});
    });
    for (int row = 0; row < height; ++row) {
        const double y = v.minY + (row + 0.5 - kMargin) / v.scale;
        if (!(y >= top && y < bottom)) continue;  // no wall of the sector crosses this row
        xs.clear();
        for (const auto& [a, b] : segments) {
            if ((a->y > y) == (b->y > y)) continue;
            xs.push_back(a->x + (y - a->y) * (static_cast<double>(b->x) - a->x) / (static_cast<double>(b->y) - a->y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const double from = std::max(v.px(xs[i]), -1.0), to = std::min(v.px(xs[i + 1]), 1e5);
            for (int x = static_cast<int>(std::ceil(from - 0.5)); x + 0.5 <= to; ++x) c.put(x, row, colour);
        }
    }
}

void drawWalls(const GameState& g, const View& v, Canvas& c) {
    for (int pass = 0; pass < 2; ++pass)  // portals first, so solid walls stay visible on top
        for (int s = 0; s < SECTOR_COUNT; ++s)
            sectorSegments(g, s, [&](uint16_t, const Wall& a, const Wall& b) {
                const bool portal = a.nextSector != -1;
                if (portal != (pass == 0)) return;
                c.line(v.px(a.x), v.py(a.y), v.px(b.x), v.py(b.y), portal ? kPortal : kSolid);
            });
}

// The number sits at the middle of the vertices of the sector's first loop.
void drawNumbers(const GameState& g, const View& v, Canvas& c) {
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        double sx = 0, sy = 0;
        int n = 0;
        bool open = true;
        const uint16_t first = static_cast<uint16_t>(g.sectors[s].firstWall);
        sectorSegments(g, s, [&](uint16_t, const Wall& a, const Wall&) {
            if (!open) return;
            sx += a.x, sy += a.y, ++n;
            if (static_cast<uint16_t>(a.point2) == first) open = false;
        });
        if (n == 0) continue;
        const int digits = s >= 100 ? 3 : (s >= 10 ? 2 : 1);
        const int w = (digits * (DIGIT_WIDTH + 1) - 1) * kLabelScale;
        const int h = DIGIT_HEIGHT * kLabelScale;
        const int x = pixel(std::trunc(v.px(sx / n))) - w / 2;
        const int y = pixel(std::trunc(v.py(sy / n))) - h / 2;
        c.box(x - 1, y - 1, x + w, y + h, kLabelBox);
        c.label(x, y, s, kLabelScale);
    }
}

// The start as a ring with a stroke along its heading; objects as dots by kind.
void drawMarkers(const GameState& g, const View& v, Canvas& c) {
    for (const GameObject& o : g.objects) {
        const int kind = kindCode(o);
        if (kind < KIND_ENEMY_AWAKE || kind > KIND_ENEMY_SHOT) continue;
        const bool enemy = kind <= KIND_ENEMY_DORMANT;
        c.disc(v.px(o.x), v.py(o.y), enemy ? 5 : 3, enemy ? kEnemy : kShot);
    }
    const double x = v.px(g.player.x), y = v.py(g.player.y);
    c.disc(x, y, 7, kStart, true);
    const SinCos heading = sinCosOfAngle(g.player.angle);
    c.line(x, y, x + 16 * heading.cos, y + 16 * heading.sin, kStart);
}

}  // namespace

MapPicture drawLevelMap(const GameState& g, int size) {
    MapPicture p;
    const View v = fitView(g, size, p.width, p.height);
    p.originX = v.minX;
    p.originY = v.minY;
    p.scale = v.scale;
    p.margin = kMargin;
    p.rgb.assign(static_cast<size_t>(p.width) * p.height * 3, 0);
    Canvas c(p);
    c.box(0, 0, p.width - 1, p.height - 1, kBackground);
    std::vector<int32_t> floors;  // the distinct floor heights, in order
    floors.reserve(SECTOR_COUNT);
    for (const Sector& s : g.sectors) floors.push_back(s.floorZ);
    std::sort(floors.begin(), floors.end());
    floors.erase(std::unique(floors.begin(), floors.end()), floors.end());
    std::vector<int> order(SECTOR_COUNT);
    for (int s = 0; s < SECTOR_COUNT; ++s) order[s] = s;
    // Lower floors first, so raised blocks drawn inside a hall's holes are not painted over.
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return g.sectors[a].floorZ > g.sectors[b].floorZ; });
    Segments segments;
    std::vector<double> xs;
    for (int s : order) {
        uint8_t colour[3];
        floorColour(floors, g.sectors[s].floorZ, colour);
        fillSector(g, s, v, colour, c, p.height, segments, xs);
    }
    drawWalls(g, v, c);
    drawNumbers(g, v, c);
    drawMarkers(g, v, c);
    return p;
}

}  // namespace krello::tool
