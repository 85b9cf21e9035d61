// Draws the playtest's routes, kills and deaths over the level map.
#include "krello_tool/playtest_map.h"

#include <algorithm>
#include <cmath>

namespace krello::tool {
namespace {

constexpr uint8_t kDeath[3] = {255, 40, 40};
constexpr uint8_t kKill[3] = {60, 240, 90};
constexpr int kHeatBrush = 1;  // the route's heat spreads this many pixels either side

struct Overlay {
    MapPicture& p;

    double px(int32_t x) const { return (x - p.originX) * p.scale + p.margin; }
    double py(int32_t y) const { return (y - p.originY) * p.scale + p.margin; }

    void put(int x, int y, const uint8_t c[3]) {
        if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
        uint8_t* d = p.rgb.data() + (static_cast<size_t>(y) * p.width + x) * 3;
        d[0] = c[0], d[1] = c[1], d[2] = c[2];
    }

    // Calls at(x, y) for every pixel of the line from one world point to another.
    template <typename At>
    void line(const playtest::MapPoint& a, const playtest::MapPoint& b, At&& at) {
        const double x0 = px(a.x), y0 = py(a.y), x1 = px(b.x), y1 = py(b.y);
        const double steps = std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)));
        if (!(steps < 1e5)) return;
        for (int i = 0; i <= static_cast<int>(steps); ++i) {
            const double t = steps == 0 ? 0 : i / steps;
            at(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)));
        }
    }

    void cross(const playtest::MapPoint& at, int arm, const uint8_t c[3], bool diagonal) {
        const int x = static_cast<int>(std::lround(px(at.x))), y = static_cast<int>(std::lround(py(at.y)));
        for (int k = -arm; k <= arm; ++k)
            for (int w = 0; w < 2; ++w) {
                if (diagonal) {
                    put(x + k + w, y + k, c);
                    put(x + k + w, y - k, c);
                } else {
                    put(x + k, y + w, c);
                    put(x + w, y + k, c);
                }
            }
    }

    void ring(const playtest::MapPoint& at, int radius, const uint8_t c[3]) {
        const int x = static_cast<int>(std::lround(px(at.x))), y = static_cast<int>(std::lround(py(at.y)));
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const int d2 = dx * dx + dy * dy;
                if (d2 <= radius * radius && d2 >= (radius - 1) * (radius - 1)) put(x + dx, y + dy, c);
            }
    }
};

// The level under the marks: darker and greyer, so the heat and the marks stand out.
void dim(MapPicture& p) {
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3) {
        const double grey = (p.rgb[i] + p.rgb[i + 1] + p.rgb[i + 2]) / 3.0;
        for (int c = 0; c < 3; ++c) p.rgb[i + c] = static_cast<uint8_t>(0.4 * (0.5 * p.rgb[i + c] + 0.5 * grey));
    }
}

// Time spent at each pixel: every step of every route adds to the pixels it passes over.
void drawHeat(Overlay& o, const std::vector<playtest::GameRecord>& games) {
    std::vector<float> heat(static_cast<size_t>(o.p.width) * o.p.height, 0.0f);
    for (const playtest::GameRecord& r : games)
        for (size_t k = 1; k < r.route.size(); ++k)
            o.line(r.route[k - 1], r.route[k], [&](int x, int y) {
                for (int dy = -kHeatBrush; dy <= kHeatBrush; ++dy)
                    for (int dx = -kHeatBrush; dx <= kHeatBrush; ++dx) {
                        const int hx = x + dx, hy = y + dy;
                        if (hx >= 0 && hy >= 0 && hx < o.p.width && hy < o.p.height)
                            heat[static_cast<size_t>(hy) * o.p.width + hx] += 1.0f;
                    }
            });
    const float most = *std::max_element(heat.begin(), heat.end());
    if (most <= 0.0f) return;
    const double scale = std::log1p(most);
    for (size_t i = 0; i < heat.size(); ++i) {
        if (heat[i] <= 0.0f) continue;
        const double t = std::log1p(heat[i]) / scale;
        const double colour[3] = {255.0, 90.0 + 165.0 * t, 20.0 + 235.0 * t * t};
        const double alpha = 0.45 + 0.55 * t;
        for (int c = 0; c < 3; ++c) {
            uint8_t& d = o.p.rgb[i * 3 + static_cast<size_t>(c)];
            d = static_cast<uint8_t>(d * (1.0 - alpha) + colour[c] * alpha);
        }
    }
}

}  // namespace

MapPicture drawPlaytestMap(const GameState& level, const std::vector<playtest::GameRecord>& games) {
    MapPicture p = drawLevelMap(level);
    dim(p);
    Overlay o{p};
    drawHeat(o, games);
    for (const playtest::GameRecord& r : games)
        for (const playtest::MapPoint& k : r.kills) o.cross(k, 4, kKill, false);
    for (const playtest::GameRecord& r : games) {
        if (!r.died) continue;
        o.line(r.death.player, r.death.shooter, [&](int x, int y) { o.put(x, y, kDeath); });
        o.ring(r.death.shooter, 5, kDeath);
    }
    for (const playtest::GameRecord& r : games)
        if (r.died) o.cross(r.death.player, 5, kDeath, true);
    return p;
}

}  // namespace krello::tool
