// The search that tests only the walls whose span holds the column finds exactly the wall, the
// crossing and the depth that testing every wall finds: the built-in level seen from eyes in
// it, far outside it (offsets that wrap around 32 bits) and at the ends of the range, and a
// level of noise, in every column, from the eye's sector and from others.
#include <gtest/gtest.h>

#include <cstring>

#include "game/start_level.h"
#include "level/builtin_level.h"
#include "render/sector_column.h"
#include "render_test_world.h"
#include "replay/headless_platform.h"

namespace krello {
namespace {

using namespace krello::test;

struct Lcg {
    uint32_t state;
    uint32_t next() { return (state = state * 1664525u + 1013904223u) >> 8; }
    int32_t any32() { return static_cast<int32_t>((next() << 16) ^ next()); }
};

bool sameHit(const WallHit& a, const WallHit& b) {
    return a.wall == b.wall && std::memcmp(&a.param, &b.param, sizeof a.param) == 0 &&
           std::memcmp(&a.depth, &b.depth, sizeof a.depth) == 0;
}

// Every column of one view, searched both ways in the eye's sector and in `others`; some walls
// carry the column's mark, as walls met earlier in the column do. Returns the columns that differ.
int differingSearches(const GameState& g, Lcg& rng) {
    auto frame = blankFrame();
    TestColumn column(g, *frame, 0);
    RenderState& rs = column.rs;
    int differ = 0;
    for (int c = 0; c < SCREEN_WIDTH; ++c) {
        rs.screenColumn = static_cast<int16_t>(c);
        for (int k = 0; k < 4; ++k) column.scratch.marks[rng.next() % WALL_COUNT] = static_cast<int16_t>(c);
        for (uint16_t sector : {static_cast<uint16_t>(g.player.sector), static_cast<uint16_t>(rng.next() % SECTOR_COUNT),
                                static_cast<uint16_t>(rng.next() % SECTOR_COUNT)}) {
            if (!sameHit(findNearestWall(rs, sector), findNearestWallScalar(rs, sector))) ++differ;
        }
        rs.rayDirX = rs.rayDirX + rs.rayStepX;
        rs.rayDirY = rs.rayDirY + rs.rayStepY;
    }
    return differ;
}

TEST(RenderWallSpans, SpansNeverHideTheWallTheFullSearchFinds) {
    auto level = std::make_unique<GameState>();
    loadBuiltinLevel(*level);
    HeadlessPlatform platform;
    startLevel(*level, platform);
    Lcg rng{7};
    for (int view = 0; view < 120; ++view) {
        auto g = std::make_unique<GameState>(*level);
        PlayerState& p = g->player;
        p.sector = static_cast<int16_t>(rng.next() % SECTOR_COUNT);
        p.angle = static_cast<int16_t>(rng.next() % 2048);
        const Wall& near = g->walls[static_cast<uint16_t>(g->sectors[static_cast<uint16_t>(p.sector)].firstWall)];
        switch (view % 4) {
            case 0:  // beside one of the sector's walls, as close as a player comes
                p.x = near.x + static_cast<int32_t>(rng.next() % 64) - 32;
                p.y = near.y + static_cast<int32_t>(rng.next() % 64) - 32;
                break;
            case 1:  // exactly on a corner
                p.x = near.x;
                p.y = near.y;
                break;
            case 2:  // anywhere: offsets to the walls wrap around 32 bits
                p.x = rng.any32();
                p.y = rng.any32();
                break;
            default:  // at the ends of the range
                p.x = rng.next() & 1 ? INT32_MIN : INT32_MAX;
                p.y = rng.next() & 1 ? INT32_MIN + static_cast<int32_t>(rng.next() % 100) : INT32_MAX;
        }
        ASSERT_EQ(differingSearches(*g, rng), 0) << "view " << view;
    }
}

TEST(RenderWallSpans, ALevelOfNoiseSearchesAlike) {
    Lcg rng{11};
    for (int world = 0; world < 8; ++world) {
        auto g = emptyWorld();
        for (Sector& s : g->sectors) {
            s.firstWall = static_cast<int16_t>(rng.next() % 1200);
            s.wallCount = static_cast<uint16_t>(rng.next() % 60);  // some with more spans than block masks take
        }
        for (int i = 0; i < WALL_COUNT; ++i) {
            Wall& w = g->walls[i];
            w.x = world % 2 ? rng.any32() : static_cast<int32_t>(rng.next() % 20000) - 10000;
            w.y = world % 2 ? rng.any32() : static_cast<int32_t>(rng.next() % 20000) - 10000;
            w.point2 = static_cast<int16_t>(rng.next() % 8 == 0 ? rng.next() % 1300 : (i + 1) % 1300);
        }
        g->player.angle = static_cast<int16_t>(rng.next());
        g->player.sector = static_cast<int16_t>(rng.next() % SECTOR_COUNT);
        ASSERT_EQ(differingSearches(*g, rng), 0) << "world " << world;
    }
}

}  // namespace
}  // namespace krello
