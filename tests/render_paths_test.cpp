// Every way of drawing a frame gives the same bytes: the tour and thousands of seeded random
// viewpoints (eyes far above and below the level, coordinates whose conversions overflow), on
// every render path this machine has and with 1, 2, 3 and 7 threads. The expected checksums were
// written by the scalar path on one thread, before the vector paths and threads existed:
//   KRELLO_WRITE_VIEW_CHECKSUMS=1 krello_tests --gtest_filter='*RenderPaths*scalar_1*'
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/frame.h"
#include "replay/crc32.h"
#include "replay/headless_platform.h"
#include "game/start_level.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "tour/tour_views.h"
#include "level/builtin_level.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(KRELLO_SANITIZED)
constexpr int VIEWS = 300;  // the sanitizer build checks the first groups only
#else
constexpr int VIEWS = 3000;  // the tour's views, then random ones
#endif
constexpr int GROUP = 100;  // one committed checksum per this many consecutive views
const std::string kChecksums = std::string(KRELLO_SOURCE_DIR) + "/tests/data/random_views.crc";

struct Lcg {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int32_t any32() { return static_cast<int32_t>((next() << 16) ^ next()); }
};

// A point near the middle of a sector's walls (inside or not: both are worth drawing).
void nearSector(const GameState& g, uint16_t sector, Lcg& rng, int32_t& x, int32_t& y) {
    const Sector& s = g.sectors[sector];
    int64_t sx = 0, sy = 0;
    const int n = s.wallCount;
    for (int i = 0; i < n; ++i) {
        const Wall& w = g.walls[static_cast<uint16_t>(s.firstWall) + i];
        sx += w.x;
        sy += w.y;
    }
    x = static_cast<int32_t>(sx / n) + static_cast<int32_t>(rng.next() % 1024) - 512;
    y = static_cast<int32_t>(sy / n) + static_cast<int32_t>(rng.next() % 1024) - 512;
}

// View i of the seeded sequence; one of eight kinds of eye and position by i % 8.
PlayerState randomView(const GameState& g, int i, Lcg& rng) {
    PlayerState p{};
    const uint16_t sector = static_cast<uint16_t>(rng.next() % SECTOR_COUNT);
    const Sector& s = g.sectors[sector];
    nearSector(g, sector, rng, p.x, p.y);
    p.sector = static_cast<int16_t>(sector);
    p.angle = static_cast<int16_t>(rng.next() % 2048);
    const int32_t span = s.floorZ - s.ceilingZ;
    switch (i % 8) {
        case 0: case 1: p.z = sub32(s.floorZ, 8000); break;                                  // standing
        case 2: p.z = s.ceilingZ + static_cast<int32_t>(rng.next() % (span > 0 ? span : 1)); break;
        case 3: p.z = rng.any32(); break;                                              // anywhere
        case 4: p.z = (rng.next() & 1 ? INT32_MIN : INT32_MAX - 7) + static_cast<int32_t>(rng.next() % 8); break;
        case 5: p.z = (rng.next() & 1 ? s.ceilingZ : s.floorZ) + static_cast<int32_t>(rng.next() % 3) - 1; break;
        case 6:  // far from the level: flat coordinates whose conversions overflow
            p.x = rng.any32();
            p.y = rng.any32();
            p.z = sub32(s.floorZ, 8000);
            break;
        default:  // somewhere in the level's box, in a sector it may not lie in
            p.x = static_cast<int32_t>(rng.next() % 40000) - 4000;
            p.y = 36000 + static_cast<int32_t>(rng.next() % 32000);
            p.z = s.floorZ - static_cast<int32_t>(rng.next() % 20000);
    }
    return p;
}

// The level after start-up, and every view to draw: the tour, then the random ones. Every
// random view also brings one object, active, in front of the eye, so billboards are seen.
struct Views {
    std::unique_ptr<GameState> started;
    std::vector<PlayerState> players;
    std::vector<GameObject> visitors;  // per random view: the object put in front of the eye
};

Views makeViews() {
    Views v;
    v.started = std::make_unique<GameState>();
    loadBuiltinLevel(*v.started);
    HeadlessPlatform platform;
    startLevel(*v.started, platform);
    for (const TourView& t : tourViews()) {
        auto g = std::make_unique<GameState>(*v.started);
        EXPECT_TRUE(placeViewer(*g, t));
        v.players.push_back(g->player);
    }
    Lcg rng{12};
    for (int i = static_cast<int>(tourViews().size()); i < VIEWS; ++i) {
        const PlayerState p = randomView(*v.started, i, rng);
        v.players.push_back(p);
        GameObject o = v.started->objects[static_cast<size_t>(i % OBJECT_COUNT)];
        o.x = add32(p.x, static_cast<int32_t>(rng.next() % 3000) - 1500);
        o.y = add32(p.y, static_cast<int32_t>(rng.next() % 3000) - 1500);
        o.z = add32(p.z, static_cast<int32_t>(rng.next() % 16000));
        o.sector = p.sector;
        o.flags = static_cast<int16_t>(o.flags | OBJ_ACTIVE);
        v.visitors.push_back(o);
    }
    return v;
}

// One frame of view i, drawn over a patterned buffer (rows no sector draws keep the pattern).
void drawView(const Views& v, size_t i, RenderThreads& threads, std::vector<uint8_t>& frame) {
    auto g = std::make_unique<GameState>(*v.started);
    g->player = v.players[i];
    const size_t tour = tourViews().size();
    if (i >= tour) {
        const size_t r = i - tour;
        g->objects[r % OBJECT_COUNT] = v.visitors[r];
        g->sectors[static_cast<uint16_t>(v.players[i].sector)].objectCount = 1;
    }
    for (size_t k = 0; k < frame.size(); ++k) frame[k] = static_cast<uint8_t>(k * 7 + i);
    ViewDrawer drawer(&threads);
    drawStill(*g, FrameOutput{&drawer, frame.data()});
}

// One checksum per GROUP views, from the start of the list.
std::vector<uint32_t> groupChecksums(const Views& v, RenderThreads& threads) {
    std::vector<uint32_t> sums;
    std::vector<uint8_t> frame(FRAME_BYTES);
    Crc32 crc;
    for (size_t i = 0; i < v.players.size(); ++i) {
        drawView(v, i, threads, frame);
        crc.add(frame);
        if ((i + 1) % GROUP == 0) {
            sums.push_back(crc.value());
            crc = Crc32{};
        }
    }
    return sums;
}

std::vector<uint32_t> committedChecksums() {
    std::vector<uint32_t> sums;
    std::ifstream in(kChecksums);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        sums.push_back(static_cast<uint32_t>(std::stoul(line, nullptr, 16)));
    }
    return sums;
}

const Views& views() {
    static const Views v = makeViews();
    return v;
}

struct Way {
    RenderPath path;
    int threads;
};

class RenderPaths : public testing::TestWithParam<Way> {};

TEST_P(RenderPaths, FramesMatchTheCommittedChecksums) {
    const Way way = GetParam();
    if (!renderPathSupported(way.path)) GTEST_SKIP() << renderPathName(way.path) << " is not available here";
    if (way.threads > renderThreadsBuilt()) GTEST_SKIP() << "built without threads";
    RenderThreads threads(way.threads, way.path);
    ASSERT_EQ(threads.count(), way.threads);
    const std::vector<uint32_t> sums = groupChecksums(views(), threads);
    if (std::getenv("KRELLO_WRITE_VIEW_CHECKSUMS")) {
        if (way.path != RenderPath::Scalar || way.threads != 1) GTEST_SKIP();
        std::ofstream out(kChecksums);
        out << "# CRC-32 of each run of " << GROUP << " frames: the tour, then seeded random views\n";
        char hex[16];
        for (uint32_t s : sums) {
            std::snprintf(hex, sizeof hex, "%08x\n", s);
            out << hex;
        }
        GTEST_SKIP() << "wrote " << kChecksums;
    }
    const std::vector<uint32_t> expected = committedChecksums();
    ASSERT_GE(expected.size(), sums.size());
    for (size_t k = 0; k < sums.size(); ++k) EXPECT_EQ(sums[k], expected[k]) << "views from " << k * GROUP;
}

std::string wayName(const testing::TestParamInfo<Way>& info) {
    return std::string(renderPathName(info.param.path)) + "_" + std::to_string(info.param.threads) + "_threads";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, RenderPaths,
                         testing::Values(Way{RenderPath::Scalar, 1}, Way{RenderPath::Sse2, 1}, Way{RenderPath::Avx2, 1},
                                         Way{RenderPath::Scalar, 2}, Way{RenderPath::Sse2, 3}, Way{RenderPath::Avx2, 2},
                                         Way{RenderPath::Avx2, 3}, Way{RenderPath::Avx2, 7}, Way{RenderPath::Scalar, 7},
                                         Way{RenderPath::Avx512, 1}, Way{RenderPath::Avx512, 2}, Way{RenderPath::Avx512, 3}),
                         wayName);

}  // namespace
}  // namespace krello
