// Small hand-built worlds for the renderer's tests: rooms, portals, textures with readable texels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "render/render_state.h"
#include "render/render_view.h"

namespace krello::test {

struct Point {
    int32_t x;
    int32_t y;
};

// A fresh game: every sector and wall zero, marks clear, the player at the origin facing +x
// with the eye at z 0 in sector 0.
inline std::unique_ptr<GameState> emptyWorld() {
    auto g = std::make_unique<GameState>();
    for (Wall& w : g->walls) {
        w.mark = -1;
        w.otherWall = -1;
        w.nextSector = -1;
    }
    g->player = {0, 0, 0, 0, 0};
    return g;
}

// Appends one closed loop of solid walls from firstWall, one wall per point, and returns the
// index after the last. Every wall gets texture attribute `texture`, repeatU 1, repeatV 8.
inline int addLoop(GameState& g, int firstWall, const std::vector<Point>& points,
                   uint8_t texture = 0) {
    const int n = static_cast<int>(points.size());
    for (int i = 0; i < n; ++i) {
        Wall& w = g.walls[firstWall + i];
        w.x = points[i].x;
        w.y = points[i].y;
        w.point2 = static_cast<int16_t>(i + 1 < n ? firstWall + i + 1 : firstWall);
        w.otherWall = -1;
        w.nextSector = -1;
        w.texture = texture;
        w.repeatU = 1;
        w.repeatV = 8;
        w.mark = -1;
    }
    return firstWall + n;
}

// Sets a sector's walls and heights; surfaces use slot 0, shades and falloff 0.
inline void setSector(GameState& g, int index, int firstWall, int wallCount, int32_t ceilingZ,
                      int32_t floorZ) {
    Sector& s = g.sectors[index];
    s.firstWall = static_cast<int16_t>(firstWall);
    s.wallCount = static_cast<uint16_t>(wallCount);
    s.ceilingZ = ceilingZ;
    s.floorZ = floorZ;
}

// Joins wall a (in sector sa) and wall b (in sector sb) into one portal.
inline void joinPortal(GameState& g, int a, int sa, int b, int sb) {
    g.walls[a].nextSector = static_cast<int16_t>(sb);
    g.walls[a].otherWall = static_cast<int16_t>(b);
    g.walls[b].nextSector = static_cast<int16_t>(sa);
    g.walls[b].otherWall = static_cast<int16_t>(a);
}

// Fills a slot so that a texel tells where it came from: value = row / 2 (0..63).
inline void fillRowTexture(GameState& g, int slot) {
    for (int r = 0; r < TEXTURE_SIDE; ++r)
        for (int c = 0; c < TEXTURE_SIDE; ++c)
            g.textures[slot * TEXTURE_BYTES + r * TEXTURE_SIDE + c] = static_cast<uint8_t>(r / 2);
}

// Fills a slot with one value.
inline void fillTexture(GameState& g, int slot, uint8_t value) {
    for (int i = 0; i < TEXTURE_BYTES; ++i) g.textures[slot * TEXTURE_BYTES + i] = value;
}

using Frame = std::array<uint8_t, FRAME_BYTES>;
// Written nowhere by the tests' worlds: ramp 3 shade 46 (their ramp-3 surfaces are plain).
constexpr uint8_t UNTOUCHED = 0xEE;

inline std::unique_ptr<Frame> blankFrame() {
    auto f = std::make_unique<Frame>();
    f->fill(UNTOUCHED);
    return f;
}

inline uint8_t pixel(const Frame& f, int row, int column) { return f[row * SCREEN_WIDTH + column]; }

// The renderer alone over a whole frame, on this thread.
inline void drawView(GameState& g, Frame& frame) { krello::drawView(g, frame.data(), nullptr); }

// One column of a frame being drawn: the renderer's state at the column, with the ray stepped
// there by addition as the driver does, and the thread scratch and object lists it refers to.
struct TestColumn {
    const GameState& game;
    ColumnScratch scratch;   // this column's marks and flat shades
    SectorObjects objects;   // the world's objects as listed at the last start
    RenderState rs;

    TestColumn(const GameState& g, Frame& frame, int column) : game(g), rs{g, scratch, objects} {
        restart();
        rs.frameBuffer = frame.data();
        setUpViewRays(rs);
        for (int c = 0; c < column; ++c) {
            rs.rayDirX = rs.rayDirX + rs.rayStepX;
            rs.rayDirY = rs.rayDirY + rs.rayStepY;
        }
        rs.screenColumn = static_cast<int16_t>(column);
    }

    // As a new frame would: no wall marked, no shade kept, the objects listed afresh.
    void restart() {
        scratch.startFrame();
        listSectorObjects(game, objects);
    }
};

inline std::unique_ptr<TestColumn> columnAt(const GameState& g, Frame& frame, int column) {
    return std::make_unique<TestColumn>(g, frame, column);
}

}  // namespace krello::test
