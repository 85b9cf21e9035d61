// Every vector path draws a run of flat rows exactly as the scalar reference does: runs of every
// length, both distance tables (horizon rows included), extreme shades, and coordinates whose
// conversions overflow, NaN and infinities among them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "render/column_tile.h"
#include "render/flat_rows.h"
#include "render/path_kernels.h"

namespace krello {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

struct Coordinates {
    double heightRayX, heightRayY, xOffset, yOffset;
};

const Coordinates kCases[] = {
    {-7000.0 * 0.70710678, 7000.0 * 0.3, 3500.25, -1200.5},  // an ordinary floor
    {3e9, -3e9, 0.0, 0.0},                                    // past the 32-bit range near the horizon
    {2147483647.0 * 2.0, -2147483648.0 * 3.0, -0.5, 0.75},   // crossing the range's edges along the run
    {1.5e11, 2.0e11, 1.0e9, -1.0e9},                          // past it on every row
    {-0.0, 0.0, -0.0, 2147483647.0},                          // an offset at the edge
    {1073741823.99, -1073741823.5, -1073741823.75, 1073741823.0},  // just inside +-2^30: v near +-2^31
    {-1073741823.9, 1e-300, 1073741823.9, -0.0},
    {1073741824.0, 5.5, -3.25, 0.5},                                // just outside
    {2.0e9, -2.0e9, -2.0e9, 2.0e9},                                 // each inside 2^31, past it together
    {inf, -inf, 0.0, 0.0},
    {std::numeric_limits<double>::quiet_NaN(), 1.0, 0.0, 0.0},
    {1.0, 1.0, inf, -inf},
    // The bounds of the numerators whose quotients the vector paths form without dividing.
    {0x1p960, -0x1p-960, 0.0, 0.0},
    {0x1.0000000000001p960, -0x1.fffffffffffffp-961, 0.5, -0.5},
    {-0x1p-960, 0x1.fffffffffffffp959, -1.0e-300, 0.0},
    // Quotients next to whole numbers for every row: one rounding off moves a truncation.
    {2.0 * 3.0 * 5.0 * 7.0 * 11.0 * 13.0 * 17.0 * 19.0 * 23.0 + 0x1p-21, -232792560.0 - 0x1p-25, 0.0, -0.0},
    {0x1.fffffffffffffp30, -0x1.0000000000001p31, 0x1p-30, -0x1p-30},
};

std::vector<void (*)(const FlatRun&)> vectorPaths() {
    std::vector<void (*)(const FlatRun&)> paths;
    for (RenderPath path : {RenderPath::Sse2, RenderPath::Avx2, RenderPath::Avx512, RenderPath::Simd128})
        if (renderPathSupported(path)) paths.push_back(pathKernels(path).drawFlatRun);
    return paths;
}

TEST(RenderFlatRuns, EveryVectorPathMatchesTheReference) {
    const auto paths = vectorPaths();
    if (paths.empty()) GTEST_SKIP() << "no vector path here";
    // The renderer's tables: each row's distance, and the double nearest its reciprocal.
    for (bool floor : {false, true}) {
        for (int r = 0; r < SCREEN_HEIGHT; ++r) {
            volatile double d = floor ? floorRowDistance(r) : ceilingRowDistance(r);
            ASSERT_EQ(rowDistances(floor)[r], d) << r;
            ASSERT_EQ(rowReciprocals(floor)[r], 1.0 / d) << r;
        }
    }
    uint32_t seed = 5;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    std::vector<uint8_t> texture(TEXTURE_BYTES);
    for (uint8_t& t : texture) t = static_cast<uint8_t>(next());
    std::array<int16_t, SCREEN_HEIGHT> shade{};
    for (int16_t& s : shade) s = static_cast<int16_t>(next() % 5 == 0 ? (next() & 1 ? -32768 : 32767) : next() % 300 - 150);
    const struct {
        int32_t from, to;
    } runs[] = {{0, 1}, {3, 5}, {10, 13}, {20, 24}, {37, 42}, {50, 56}, {60, 67}, {90, 110}, {95, 104}, {101, 200}, {0, 200}, {199, 200}};
    for (const Coordinates& c : kCases) {
        for (const auto& run : runs) {
            for (bool floor : {false, true}) {
                for (uint8_t ramp : {0x00, 0x40, 0xC0}) {
                    // A column of a tile: rows side by side, room beyond the last.
                    std::vector<uint8_t> expected(TILE_COLUMN_BYTES, 0xEE);
                    FlatRun f{expected.data() + run.from, 1, run.from, run.to, rowDistances(floor), rowReciprocals(floor),
                              shade.data(), texture.data(), c.heightRayX, c.heightRayY, c.xOffset, c.yOffset, ramp};
                    drawFlatRunScalar(f);
                    for (auto path : paths) {
                        std::vector<uint8_t> got(TILE_COLUMN_BYTES, 0xEE);
                        f.pixel = got.data() + run.from;
                        path(f);
                        ASSERT_EQ(got, expected) << "rows " << run.from << ".." << run.to << " hx " << c.heightRayX
                                                 << " xOffset " << c.xOffset << " ramp " << int(ramp);
                    }
                }
            }
        }
    }
}

// Each quotient must be the division's to the last bit: with the offset one away from the
// quotient, a quotient one unit in the last place off truncates to another texel row.
TEST(RenderFlatRuns, QuotientsAreTheDivisionsToTheLastBit) {
    const auto paths = vectorPaths();
    if (paths.empty()) GTEST_SKIP() << "no vector path here";
    uint64_t seed = 11;
    auto next = [&seed] { return (seed = seed * 6364136223846793005u + 1442695040888963407u) >> 11; };
    std::vector<uint8_t> texture(TEXTURE_BYTES);
    for (size_t i = 0; i < texture.size(); ++i) texture[i] = static_cast<uint8_t>(i / TEXTURE_SIDE % 64);  // a & 63, unshaded
    const std::array<int16_t, SCREEN_HEIGHT> shade{};
    for (bool floor : {false, true}) {
        for (int32_t row = 0; row < SCREEN_HEIGHT; ++row) {
            const int32_t from = std::min(row, SCREEN_HEIGHT - 8);
            for (int i = 0; i < 8; ++i) {
                // Numerators of 2^-20 to 2^45 in size with random low bits, either sign.
                const double a = std::ldexp(static_cast<double>(next() | 1) * 0x1p-53, static_cast<int>(next() % 66) - 20);
                const double heightRay = next() & 1 ? a : -a;
                volatile double d = rowDistances(floor)[row];
                const double q = heightRay / d;
                for (double offset : {q - 1.0, q + 1.0}) {
                    std::vector<uint8_t> expected(TILE_COLUMN_BYTES, 0xEE);
                    FlatRun f{expected.data() + from, 1, from, from + 8, rowDistances(floor), rowReciprocals(floor),
                              shade.data(), texture.data(), heightRay, 0.0, offset, 0.0, 0};
                    drawFlatRunScalar(f);
                    for (auto path : paths) {
                        std::vector<uint8_t> got(TILE_COLUMN_BYTES, 0xEE);
                        f.pixel = got.data() + from;
                        path(f);
                        ASSERT_EQ(got, expected) << "row " << row << " numerator " << heightRay << " floor " << floor;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace krello
