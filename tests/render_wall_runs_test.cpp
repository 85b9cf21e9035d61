// Every vector path draws wall runs and billboard rows exactly as the scalar reference does, and
// copies a tile into the frame as the plain copy does: runs of every length around the vector
// widths, one and two runs of a look, accumulators that wrap, extreme shades, every ramp, holes;
// a texture changed between frames is drawn as it now stands.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/column_tile.h"
#include "render/path_kernels.h"
#include "render/sprites.h"
#include "render/wall_rows.h"
#include "render_test_world.h"

namespace krello {
namespace {

using namespace krello::test;

struct Lcg {
    uint32_t state;
    uint32_t next() { return (state = state * 1664525u + 1013904223u) >> 8; }
};

std::vector<RenderPath> tilePaths() {
    std::vector<RenderPath> paths;
    for (RenderPath p : {RenderPath::Sse2, RenderPath::Avx2, RenderPath::Avx512, RenderPath::Simd128})
        if (renderPathSupported(p) && pathKernels(p).tiles) paths.push_back(p);
    return paths;
}

// Draws the runs of a look on a path into a fresh column of the scratch's tile, over a pattern.
std::vector<uint8_t> drawRuns(RenderState& rs, RenderPath path, const WallLook& look, const std::vector<WallRun>& runs) {
    rs.kernels = &pathKernels(path);
    rs.tileColumn = rs.scratch.tile.column(3);
    for (int r = 0; r < TILE_COLUMN_BYTES; ++r) rs.tileColumn[r] = static_cast<uint8_t>(0xA0 ^ r);
    rs.kernels->drawWallRuns(rs, look, runs.data(), static_cast<int>(runs.size()));
    return std::vector<uint8_t>(rs.tileColumn, rs.tileColumn + TILE_COLUMN_BYTES);
}

TEST(RenderWallRuns, EveryVectorPathMatchesTheReference) {
    const auto paths = tilePaths();
    if (paths.empty()) GTEST_SKIP() << "no vector path here";
    auto g = emptyWorld();
    Lcg rng{11};
    for (uint8_t& t : g->textures) t = static_cast<uint8_t>(rng.next());
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 0);
    RenderState& rs = column->rs;
    const std::vector<std::vector<WallRun>> shapes = {
        {{0, 200, 0}},   {{5, 16, 100}},  {{7, 19, 65000}}, {{30, 62, 1}},   {{40, 73, 7}},     {{0, 64, 300}},
        {{1, 66, 9000}}, {{99, 199, 3}},  {{50, 50, 0}},    {{180, 200, 0}}, {{0, 11, 4}},      {{3, 40, 17}, {120, 199, 40000}},
        {{10, 10, 5}, {20, 52, 6}}, {{0, 100, 65535}, {100, 200, 0}},
    };
    const uint16_t steps[] = {0, 1, 150, 511, 512, 600, 4000, 65535};
    const int16_t shades[] = {0, 5, -3, 40, 63, 64, 200, -200, 255, 256, -32768, 32767};
    for (const auto& runs : shapes)
        for (uint16_t step : steps)
            for (int16_t shade : shades)
                for (uint8_t ramp : {0x00, 0x40, 0x80, 0xC0}) {
                    const int slot = static_cast<int>(rng.next() % 16);
                    const WallLook look{textureOf(*g, static_cast<uint8_t>(slot)), slot, static_cast<int32_t>(rng.next() % 128),
                                        step, shade, ramp};
                    const auto expected = drawRuns(rs, RenderPath::Scalar, look, runs);
                    for (RenderPath p : paths)
                        ASSERT_EQ(drawRuns(rs, p, look, runs), expected)
                            << renderPathName(p) << " runs from " << runs[0].from << " step " << step << " shade " << shade
                            << " texU " << look.texU;
                }
}

TEST(RenderSpriteRows, EveryVectorPathMatchesTheReference) {
    const auto paths = tilePaths();
    if (paths.empty()) GTEST_SKIP() << "no vector path here";
    auto g = emptyWorld();
    Lcg rng{5};
    // About half the texels are holes, and a ramp added to texels near 255 wraps.
    for (uint8_t& t : g->textures) t = rng.next() % 2 ? static_cast<uint8_t>(rng.next()) : 0;
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 0);
    RenderState& rs = column->rs;
    auto draw = [&](RenderPath path, const SpriteRows& rows, bool& shown) {
        rs.kernels = &pathKernels(path);
        rs.tileColumn = rs.scratch.tile.column(5);
        for (int r = 0; r < TILE_COLUMN_BYTES; ++r) rs.tileColumn[r] = static_cast<uint8_t>(0x5C ^ r);
        shown = rs.kernels->drawSpriteRows(rs, rows);
        return std::vector<uint8_t>(rs.tileColumn, rs.tileColumn + TILE_COLUMN_BYTES);
    };
    const int spans[][2] = {{0, 200}, {5, 16}, {7, 19}, {30, 62}, {40, 73}, {0, 64}, {1, 66}, {99, 199}, {188, 200}, {0, 11}, {3, 4}, {50, 81}};
    const uint16_t starts[] = {0, 300, 65000, 65535};
    const uint16_t steps[] = {0, 1, 150, 512, 600, 4000, 65535};
    // Slot 14 is past the bank: every texel a hole, so nothing shows.
    for (int slot : {0, 3, 13, 14})
        for (const auto& span : spans)
            for (uint16_t v : starts)
                for (uint16_t step : steps)
                    for (uint8_t ramp : {0x00, 0x40, 0xC0}) {
                        const SpriteRows rows{textureOf(*g, static_cast<uint8_t>(slot)), slot, static_cast<uint16_t>(1 + rng.next() % 63),
                                              ramp, span[0], span[1], v, step};
                        bool expectedShown = false;
                        const auto expected = draw(RenderPath::Scalar, rows, expectedShown);
                        for (RenderPath p : paths) {
                            bool shown = !expectedShown;
                            ASSERT_EQ(draw(p, rows, shown), expected)
                                << renderPathName(p) << " slot " << slot << " rows " << span[0] << ".." << span[1] << " v " << v << " step " << step;
                            ASSERT_EQ(shown, expectedShown) << renderPathName(p) << " slot " << slot << " rows " << span[0];
                        }
                    }
}

TEST(RenderWallRuns, ATextureChangedBetweenFramesIsDrawnAsItNowStands) {
    const auto paths = tilePaths();
    if (paths.empty()) GTEST_SKIP() << "no vector path here";
    auto g = emptyWorld();
    fillRowTexture(*g, 2);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 0);
    RenderState& rs = column->rs;
    const WallLook look{textureOf(*g, 2), 2, 5, 512, 0, 0};
    const std::vector<WallRun> run = {{0, 128, 0}};  // texture row r on row r
    for (RenderPath p : paths) {
        column->restart();
        EXPECT_EQ(drawRuns(rs, p, look, run)[77], 77 / 2);
        g->textures[2 * TEXTURE_BYTES + 77 * TEXTURE_SIDE + 5] = 9;  // as the game moves pictures between frames
        column->restart();
        EXPECT_EQ(drawRuns(rs, p, look, run)[77], 9) << renderPathName(p);
        fillRowTexture(*g, 2);
    }
}

TEST(RenderTiles, EveryCopyPutsTheColumnsWhereTheyBelong) {
    auto tile = std::make_unique<ColumnTile>();
    for (int i = 0; i < TILE_COLUMNS * TILE_COLUMN_BYTES; ++i) tile->bytes[i] = static_cast<uint8_t>(i * 13 + i / 256);
    std::vector<void (*)(const uint8_t*, int, uint8_t*, int)> copies;
    for (RenderPath p : {RenderPath::Scalar, RenderPath::Sse2, RenderPath::Avx2, RenderPath::Avx512, RenderPath::Simd128})
        if (renderPathSupported(p)) copies.push_back(pathKernels(p).copyTile);
    for (int columns = 1; columns <= TILE_COLUMNS; ++columns)
        for (int first : {0, 3, 160, SCREEN_WIDTH - columns}) {
            for (auto copy : copies) {
                Frame frame;
                frame.fill(UNTOUCHED);
                copy(tile->bytes.data(), columns, frame.data(), first);
                for (int r = 0; r < SCREEN_HEIGHT; ++r)
                    for (int c = 0; c < SCREEN_WIDTH; ++c) {
                        const bool inside = c >= first && c < first + columns;
                        ASSERT_EQ(pixel(frame, r, c), inside ? tile->bytes[(c - first) * TILE_COLUMN_BYTES + r] : UNTOUCHED)
                            << columns << " columns at " << first << ", row " << r << " column " << c;
                    }
            }
        }
}

}  // namespace
}  // namespace krello
