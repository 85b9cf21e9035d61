// The sector column renderer: the wall search, projection and clipping, shading, portals, safety.
#include <gtest/gtest.h>

#include "render/flat_rows.h"
#include "render/render_threads.h"
#include "render/sector_column.h"
#include "render_test_world.h"

namespace krello {
namespace {

using namespace krello::test;

// Column 160 looking along +x with a hand-set ray, for the search alone.
std::unique_ptr<TestColumn> alongX(GameState& g, Frame& frame, double rx, double ry) {
    auto column = columnAt(g, frame, 160);
    column->rs.rayDirX = rx;
    column->rs.rayDirY = ry;
    column->rs.headingCos = 1.0;
    column->rs.headingSin = 0.0;
    return column;
}

TEST(RenderWallSearch, ThinDenominatorsAreSkippedHoweverNear) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    // Wall 0 crosses the ray 200 ahead, climbing 2 units over 200; wall 2 crosses it at 2000.
    addLoop(*g, 0, {{100, -1}, {300, 1}, {2000, 100}, {2000, -100}});
    setSector(*g, 0, 0, 4, -100, 100);
    // den = 2 * rx: exactly 0.001 is skipped, a hair more is taken.
    EXPECT_EQ(findNearestWall(alongX(*g, *frame, 0.0005, 0.0)->rs, 0).wall, 2);
    const WallHit taken = findNearestWall(alongX(*g, *frame, 0.00050001, 0.0)->rs, 0);
    EXPECT_EQ(taken.wall, 0);
    EXPECT_DOUBLE_EQ(taken.param, 0.5);
    EXPECT_DOUBLE_EQ(taken.depth, 200.0);
}

TEST(RenderWallSearch, AShavedCornerGoesToTheWallMetFirstInTheWalk) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    // Both orders of the two walls meeting at (100, 0) on the ray.
    addLoop(*g, 0, {{100, -50}, {100, 0}, {150, 50}, {-500, 0}});
    setSector(*g, 0, 0, 4, -100, 100);
    WallHit first = findNearestWall(alongX(*g, *frame, 1.0, 0.0)->rs, 0);
    EXPECT_EQ(first.wall, 0);
    EXPECT_DOUBLE_EQ(first.param, 1.0);

    addLoop(*g, 0, {{100, 0}, {150, 50}, {-500, 0}, {100, -50}});
    WallHit wrapped = findNearestWall(alongX(*g, *frame, 1.0, 0.0)->rs, 0);
    EXPECT_EQ(wrapped.wall, 0);  // wall 3 meets the corner too, but the walk reaches it last
    EXPECT_DOUBLE_EQ(wrapped.param, 0.0);
}

TEST(RenderWallSearch, MarkedWallsAndWallsBehindOrBesideTheRayAreSkipped) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    // A square around the eye: ahead is x = 300, behind x = -200.
    addLoop(*g, 0, {{-200, -100}, {300, -100}, {300, 100}, {-200, 100}});
    setSector(*g, 0, 0, 4, -100, 100);
    auto column = alongX(*g, *frame, 1.0, 0.0);
    EXPECT_EQ(findNearestWall(column->rs, 0).wall, 1);
    column->scratch.marks[1] = 160;  // already drawn in this column
    EXPECT_EQ(findNearestWall(column->rs, 0).wall, -1);  // wall 3 lies behind, 0 and 2 run along the ray
    column->scratch.marks[1] = 159;  // drawn in another column
    EXPECT_EQ(findNearestWall(column->rs, 0).wall, 1);
    column->scratch.marks[1] = -1;
    g->walls[1].mark = 160;  // the game's own marks are the collision's: the renderer ignores them
    EXPECT_EQ(findNearestWall(column->rs, 0).wall, 1);
}

TEST(RenderColumn, ASectorWithNoQualifyingWallWritesNothing) {
    auto g = emptyWorld();
    auto frame = blankFrame();
    // One wall, behind the eye.
    addLoop(*g, 0, {{-100, -100}, {-100, 100}, {-300, 0}});
    setSector(*g, 0, 0, 3, -8000, 8000);
    g->sectors[0].objectCount = 1;
    g->objects[0] = GameObject{};
    g->objects[0].x = 50;  // active, in the sector, right ahead
    g->objects[0].flags = OBJ_ACTIVE;
    g->objects[0].size = 64;
    fillTexture(*g, 9, 5);
    g->objects[0].sprite = 9;
    for (int c = 0; c < SCREEN_WIDTH; ++c) renderSectorColumn(columnAt(*g, *frame, c)->rs, 0, 0, 200, 20.0);
    for (uint8_t p : *frame) ASSERT_EQ(p, UNTOUCHED);
}

// A room 16000 units high, eye 8000 above the floor, its far wall at x = depth.
std::unique_ptr<GameState> tallRoom(int32_t depth) {
    auto g = emptyWorld();
    addLoop(*g, 0, {{-1000, -5000}, {depth, -5000}, {depth, 5000}, {-1000, 5000}});
    setSector(*g, 0, 0, 4, -8000, 8000);
    fillRowTexture(*g, 0);
    return g;
}

TEST(RenderColumn, ATallWallClipsAtTheTopWithoutShiftingItsTexture) {
    auto g = tallRoom(640);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    ASSERT_EQ(hit.wall, 1);
    EXPECT_DOUBLE_EQ(hit.depth, 640.0);
    const WallColumn wc = setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200);
    EXPECT_EQ(wc.ceilingRow, 0);  // projected at -1, one row above the window
    EXPECT_EQ(wc.floorRow, 200);
    EXPECT_EQ(wc.upperV, 320);
    EXPECT_EQ(wc.vStep, 320);

    renderSectorColumn(rs, 0, 0, 200, 20.0);
    uint16_t v = 320;
    for (int r = 0; r < 200; ++r) {
        ASSERT_EQ(pixel(*frame, r, 160), (v >> 9) / 2) << "row " << r;
        v = static_cast<uint16_t>(v + 320);
    }
    EXPECT_EQ((v - 320) >> 9, 125);  // the last row shows texture row 125
}

TEST(RenderColumn, AWallTallerThanItsTextureRepeatsIt) {
    auto g = tallRoom(200);
    g->walls[1].repeatV = 48;  // vStep 600: the 16-bit accumulator wraps every ~109 rows
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallColumn wc =
        setUpWallColumn(rs, g->sectors[0], g->walls[1], findNearestWall(rs, 0), 0, 200);
    EXPECT_EQ(wc.vStep, 600);
    EXPECT_EQ(wc.upperV, static_cast<uint16_t>(132600));  // 221 rows cut above the window
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    uint16_t v = wc.upperV;
    bool wrapped = false;
    for (int r = 0; r < 200; ++r) {
        ASSERT_EQ(pixel(*frame, r, 160), (v >> 9) / 2) << "row " << r;
        const uint16_t after = static_cast<uint16_t>(v + wc.vStep);
        wrapped = wrapped || after < v;
        v = after;
    }
    EXPECT_TRUE(wrapped);
}

TEST(RenderColumn, AWallNearerThanTenIsProjectedAsAtTen) {
    auto g = emptyWorld();
    addLoop(*g, 0, {{-100, -100}, {4, -100}, {4, 100}, {-100, 100}});
    setSector(*g, 0, 0, 4, -50, 50);
    fillRowTexture(*g, 0);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    EXPECT_DOUBLE_EQ(hit.depth, 4.0);
    const WallColumn wc = setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200);
    EXPECT_EQ(wc.wallDepth, 10.0);
    EXPECT_EQ(wc.ceilingRow, 59);  // -400 / 10 + 99, not -400 / 4 + 99
    EXPECT_EQ(wc.floorRow, 140);
}

TEST(RenderColumn, TextureColumnFollowsRepeatUSignedAndWraps) {
    auto g = tallRoom(640);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    WallHit hit = findNearestWall(rs, 0);
    hit.param = 0.25;
    Wall wall = g->walls[1];
    wall.repeatU = 1;
    EXPECT_EQ(setUpWallColumn(rs, g->sectors[0], wall, hit, 0, 200).texU, 4);
    wall.repeatU = static_cast<int8_t>(255);  // stored 255 reads -1: the texture runs backwards
    EXPECT_EQ(setUpWallColumn(rs, g->sectors[0], wall, hit, 0, 200).texU, 124);
    wall.repeatU = 100;  // 400 wraps to 400 & 127
    EXPECT_EQ(setUpWallColumn(rs, g->sectors[0], wall, hit, 0, 200).texU, 400 & 127);
}

TEST(RenderShading, ClampsBeforeTheRampIsAdded) {
    EXPECT_EQ(shadeTexel(10, 20), 0);
    EXPECT_EQ(shadeTexel(10, -100), 63);
    EXPECT_EQ(shadeTexel(40, 8), 32);

    auto g = tallRoom(640);
    fillTexture(*g, 0, 10);
    g->walls[1].texture = 0x80;
    g->walls[1].shade = 20;
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    EXPECT_EQ(pixel(*frame, 100, 160), 0x80);  // 10 - 20 clamps to 0, then ramp 2
    g->walls[1].shade = -100;
    column->restart();
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    EXPECT_EQ(pixel(*frame, 100, 160), 0x80 + 63);
}

TEST(RenderShading, DistanceTermsOfWallsAndFlats) {
    auto g = tallRoom(1000);
    g->sectors[0].shadeFalloff = 16;
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    EXPECT_EQ(setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200).shadeOffset, 3);
    // Row 50 under a ceiling 8000 above the eye: q = 160, term trunc(2560 / 750) = 3.
    EXPECT_EQ(flatShadeOffset(0, 0, -8000, ceilingRowDistance(50), 16), 3);
    EXPECT_EQ(flatShadeOffset(5, 0, -8000, ceilingRowDistance(50), 16), 8);
    // The floor 8000 below the eye, row 149: both signs flip, the term is the same.
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(149), 16), 3);
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(150), 16), 3);
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(110), 48), 46);  // 727 * 48 / 750
}

TEST(RenderShading, FlatShadeArithmeticWrapsLikeTheMachine) {
    // q * falloff wraps in 32 bits before the / 750, and the sum keeps its low 16 bits:
    // 2e9 * 100 wraps to -1863462912; / 750 gives -2484617, whose low 16 bits read 5751.
    EXPECT_EQ(flatShadeOffset(0, 2000000000, 0, 1, 100), 5751);
    // INT32_MIN / -1 does not trap.
    EXPECT_EQ(flatShadeOffset(0, INT32_MIN, 0, -1, 0), 0);
}

// The horizon rows: a sector whose ceiling hangs below the eye shows ceiling at row 100, one
// whose floor rises above the eye shows floor at row 99. Neither may divide by zero.
TEST(RenderFlats, HorizonRowsMatchTheirNeighbourBeyondTheHorizon) {
    EXPECT_EQ(ceilingRowDistance(100), -1);
    EXPECT_EQ(ceilingRowDistance(99), 1);
    EXPECT_EQ(floorRowDistance(99), 1);
    EXPECT_EQ(floorRowDistance(100), -1);

    auto g = emptyWorld();
    addLoop(*g, 0, {{-100, -500}, {100, -500}, {100, 500}, {-100, 500}});
    fillRowTexture(*g, 0);
    g->sectors[0].shadeFalloff = 48;
    auto frame = blankFrame();
    // Ceiling 100 below the eye: at depth 100 it meets the wall at row 107.
    setSector(*g, 0, 0, 4, 100, 8000);
    auto column = columnAt(*g, *frame, 150);
    RenderState& rs = column->rs;
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    EXPECT_EQ(pixel(*frame, 100, 150), pixel(*frame, 101, 150));
    // Floor 100 above the eye: it meets the wall at row 92, floor rows run down from there.
    setSector(*g, 0, 0, 4, -8000, -100);
    column->restart();  // a new frame: the ceiling's shades worked out above no longer hold
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    EXPECT_EQ(pixel(*frame, 99, 150), pixel(*frame, 98, 150));
    EXPECT_NE(pixel(*frame, 99, 150), UNTOUCHED);
}

// Sector 0 (heights -8000..8000) looks through wall 1 at x = 1000 into sector 1.
std::unique_ptr<GameState> portalWorld(int32_t nextCeiling, int32_t nextFloor) {
    auto g = emptyWorld();
    int next = addLoop(*g, 0, {{-1000, -2000}, {1000, -2000}, {1000, 2000}, {-1000, 2000}});
    setSector(*g, 0, 0, 4, -8000, 8000);
    const int back = next;
    addLoop(*g, back, {{1000, -2000}, {3000, -2000}, {3000, 2000}, {1000, 2000}}, 0x40);
    setSector(*g, 1, back, 4, nextCeiling, nextFloor);
    joinPortal(*g, 1, 0, back + 3, 1);
    fillRowTexture(*g, 0);
    return g;
}

TEST(RenderPortal, EqualHeightsOpenTheWholeWallToTheSectorBehind) {
    auto g = portalWorld(-8000, 8000);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    ASSERT_EQ(hit.wall, 1);
    const WallColumn wc = setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200);
    const PortalRows pr = setUpPortalRows(rs, g->sectors[1], g->walls[1], wc, 0, 200);
    EXPECT_EQ(pr.nextCeilingRow, wc.ceilingRow);
    EXPECT_EQ(pr.nextFloorRow, wc.floorRow);
    EXPECT_EQ(pr.lowerV, 0);

    renderSectorColumn(rs, 0, 0, 200, 20.0);
    // Rows ceilingRow..floorRow-1 come from the sector behind: its far wall near the middle
    // (ramp 1), its flats above and below it, never wall 1's texture.
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 1);
    EXPECT_EQ(column->scratch.marks[1], 160);
    EXPECT_EQ(column->scratch.marks[7], 160);  // the back side, marked so the child does not find it
    EXPECT_EQ(column->scratch.marks[5], 160);  // the child's far wall
    EXPECT_EQ(g->walls[1].mark, -1);           // the game's marks are left alone
    for (int r = 0; r < 200; ++r) ASSERT_NE(pixel(*frame, r, 160), UNTOUCHED);
}

TEST(RenderPortal, AFloorAboveTheOpeningFillsItWithTheLowerPart) {
    // Sector 1's floor (-9000) lies above sector 0's ceiling (-8000).
    auto g = portalWorld(-20000, -9000);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    const WallColumn wc = setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200);
    const PortalRows pr = setUpPortalRows(rs, g->sectors[1], g->walls[1], wc, 0, 200);
    // At depth 1000 the wall spans rows 35..163 and the next floor projects to row 28.
    EXPECT_EQ(wc.ceilingRow, 35);
    EXPECT_EQ(wc.floorRow, 164);
    EXPECT_EQ(pr.nextCeilingRow, 0);
    EXPECT_EQ(pr.nextFloorRow, 35);
    EXPECT_EQ(pr.lowerV, 3500);  // 8 * 7 rows * 1000 / 16: the texture starts part-way

    renderSectorColumn(rs, 0, 0, 200, 20.0);
    uint16_t v = pr.lowerV;
    for (int r = 35; r < 164; ++r) {
        ASSERT_EQ(pixel(*frame, r, 160), (v >> 9) / 2) << "row " << r;
        v = static_cast<uint16_t>(v + wc.vStep);
    }
    // The child ran with an empty window: it drew nothing but still marked its nearest wall.
    EXPECT_EQ(column->scratch.marks[5], 160);
}

TEST(RenderPortal, UpperAndLowerStepsAnchorAtTheirOwnEdges) {
    auto g = portalWorld(-4000, 4000);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const WallHit hit = findNearestWall(rs, 0);
    const WallColumn wc = setUpWallColumn(rs, g->sectors[0], g->walls[1], hit, 0, 200);
    const PortalRows pr = setUpPortalRows(rs, g->sectors[1], g->walls[1], wc, 0, 200);
    EXPECT_EQ(wc.ceilingRow, 35);
    EXPECT_EQ(pr.nextCeilingRow, 67);
    EXPECT_EQ(pr.nextFloorRow, 132);
    EXPECT_EQ(wc.floorRow, 164);
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    // Both steps start at texture row 0 on their first row.
    EXPECT_EQ(pixel(*frame, 35, 160), 0);
    EXPECT_EQ(pixel(*frame, 132, 160), 0);
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 1);  // the sector behind in between
}

TEST(RenderSafety, BrokenIndicesAreTreatedAsSolidOrAbsent) {
    auto g = portalWorld(-8000, 8000);
    auto frame = blankFrame();
    g->walls[1].nextSector = 500;  // past the sector table: drawn as a solid wall
    g->walls[1].otherWall = 3000;
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    renderSectorColumn(rs, 0, 0, 200, 20.0);
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 0);
    EXPECT_EQ(column->scratch.marks[5], -1);  // nothing behind it was visited

    column->restart();
    g->walls[1].nextSector = 1;
    g->walls[1].point2 = 2000;  // a wall with no end point is no segment: wall 1 is skipped
    EXPECT_EQ(findNearestWall(rs, 0).wall, -1);
    g->walls[1].point2 = 2;

    // A sector index past the table, and windows outside the screen, write nothing.
    auto clean = blankFrame();
    rs.frameBuffer = clean->data();
    column->restart();
    renderSectorColumn(rs, 191, 0, 200, 20.0);
    renderSectorColumn(rs, 0, 150, 100, 20.0);
    column->restart();
    renderSectorColumn(rs, 0, -20, -5, 20.0);
    column->restart();
    renderSectorColumn(rs, 0, 230, 260, 20.0);
    for (uint8_t p : *clean) ASSERT_EQ(p, UNTOUCHED);
    EXPECT_EQ(column->scratch.marks[1], 160);  // the calls did run the search
}

TEST(RenderSafety, PortalsWhoseBackSidesAreMissingStillEnd) {
    // Two rooms looking into each other through portals that name no back side: each visit
    // marks one more wall, so the recursion ends when the walls run out.
    auto g = portalWorld(-8000, 8000);
    g->walls[1].otherWall = -1;
    g->walls[7].otherWall = -1;
    auto frame = blankFrame();
    RenderThreads one(1, RenderPath::Scalar);
    renderView(*g, frame->data(), nullptr, &one);
    EXPECT_EQ(one.scratch(0).marks[1], 319);
    EXPECT_EQ(one.scratch(0).marks[7], 319);  // found from behind, since nothing marked it
    EXPECT_NE(pixel(*frame, 0, 160), UNTOUCHED);
}

TEST(RenderSafety, ALevelOfNoiseRendersWithoutFaults) {
    // Whatever the tables hold, a frame stays inside its buffer and its tables and ends.
    for (uint32_t seed : {1u, 2u, 3u}) {
        auto g = emptyWorld();
        uint32_t state = seed;
        auto next = [&state]() {
            state = state * 1664525u + 1013904223u;
            return state >> 8;
        };
        for (Sector& s : g->sectors) {
            s.firstWall = static_cast<int16_t>(next() % 1200);
            s.wallCount = static_cast<uint16_t>(next() % 40);
            s.ceilingZ = static_cast<int32_t>(next() << 8);
            s.floorZ = static_cast<int32_t>(next() << 8);
            s.ceilingTexture = static_cast<uint8_t>(next());
            s.floorTexture = static_cast<uint8_t>(next());
            s.shadeFalloff = static_cast<int8_t>(next());
            s.objectCount = static_cast<int16_t>(next() % 3);
        }
        for (int i = 0; i < WALL_COUNT; ++i) {
            Wall& w = g->walls[i];
            w.x = static_cast<int32_t>(next() % 20000) - 10000;
            w.y = static_cast<int32_t>(next() % 20000) - 10000;
            w.point2 = static_cast<int16_t>(next() % 8 == 0 ? next() % 1300 : (i + 1) % 1300);
            w.nextSector = static_cast<int16_t>(next() % 3 == 0 ? next() % 200 : -1);
            w.otherWall = static_cast<int16_t>(next() % 1300);
            w.texture = static_cast<uint8_t>(next());
            w.repeatU = static_cast<int8_t>(next());
            w.repeatV = static_cast<int8_t>(next());
            w.shade = static_cast<int8_t>(next());
        }
        for (GameObject& o : g->objects) {
            o.x = static_cast<int32_t>(next() % 20000) - 10000;
            o.y = static_cast<int32_t>(next() % 20000) - 10000;
            o.z = static_cast<int32_t>(next() << 8);
            o.sector = static_cast<int16_t>(next() % 200);
            o.flags = OBJ_ACTIVE;
            o.sprite = static_cast<uint8_t>(next());
            o.size = static_cast<uint8_t>(next());
        }
        g->player.sector = static_cast<int16_t>(next() % SECTOR_COUNT);
        g->player.z = static_cast<int32_t>(next() << 8);
        g->player.angle = static_cast<int16_t>(next());
        auto frame = blankFrame();
        RenderThreads one(1, bestRenderPath());
        renderView(*g, frame->data(), nullptr, &one);
        for (int16_t mark : one.scratch(0).marks) ASSERT_TRUE(mark >= -1 && mark < SCREEN_WIDTH);
    }
}

}  // namespace
}  // namespace krello
