// The sector column renderer: the wall search, projection and clipping, shading, portals, safety.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

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
    // Every column of this frame looks along the same ray, so the walls' spans are its own.
    column->rs.firstRayX = rx;
    column->rs.firstRayY = ry;
    column->rs.rayStepX = 0.0;
    column->rs.rayStepY = 0.0;
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


// One column of a small world seen from the origin along +x: the renderer's state at the
// column, the nearest wall's layout and the portal's opening, as renderSectorColumn makes them.
class RenderColumn : public testing::Test {
protected:
    // A room 16000 units high, eye 8000 above the floor, its far wall (wall 1) at x = depth.
    void tallRoom(int32_t depth) {
        addLoop(*g, 0, {{-1000, -5000}, {depth, -5000}, {depth, 5000}, {-1000, 5000}});
        setSector(*g, 0, 0, 4, -8000, 8000);
        fillRowTexture(*g, 0);
    }

    // Sector 0 (heights -8000..8000) looks through wall 1 at x = 1000 into sector 1.
    void portalWorld(int32_t nextCeiling, int32_t nextFloor) {
        const int back = addLoop(*g, 0, {{-1000, -2000}, {1000, -2000}, {1000, 2000}, {-1000, 2000}});
        setSector(*g, 0, 0, 4, -8000, 8000);
        addLoop(*g, back, {{1000, -2000}, {3000, -2000}, {3000, 2000}, {1000, 2000}}, 0x40);
        setSector(*g, 1, back, 4, nextCeiling, nextFloor);
        joinPortal(*g, 1, 0, back + 3, 1);
        fillRowTexture(*g, 0);
    }

    // Lays out sector 0's nearest wall in `column`, and its opening when it is a portal.
    void layOut(int at = 160) {
        column = columnAt(*g, *frame, at);
        rs = &column->rs;
        hit = findNearestWall(*rs, 0);
        ASSERT_GE(hit.wall, 0);
        const Wall& wall = g->walls[static_cast<size_t>(hit.wall)];
        wc = setUpWallColumn(*rs, g->sectors[0], wall, hit, 0, 200);
        if (wall.nextSector >= 0 && wall.nextSector < SECTOR_COUNT)
            pr = setUpPortalRows(*rs, g->sectors[static_cast<size_t>(wall.nextSector)], wall, wc, 0, 200);
    }

    void draw() { renderSectorColumn(*rs, 0, 0, 200, 20.0); }

    // Rows from..to-1 of the column show the row texture stepped from v by step.
    void expectTextureRows(int from, int to, uint16_t v, uint16_t step) {
        for (int r = from; r < to; ++r, v = static_cast<uint16_t>(v + step))
            ASSERT_EQ(pixel(*frame, r, rs->screenColumn), (v >> 9) / 2) << "row " << r;
    }

    std::unique_ptr<GameState> g = emptyWorld();
    std::unique_ptr<Frame> frame = blankFrame();
    std::unique_ptr<TestColumn> column;
    RenderState* rs = nullptr;  // column's
    WallHit hit;
    WallColumn wc;
    PortalRows pr;
};

TEST_F(RenderColumn, ASectorWithNoQualifyingWallWritesNothing) {
    addLoop(*g, 0, {{-100, -100}, {-100, 100}, {-300, 0}});  // one wall, behind the eye
    setSector(*g, 0, 0, 3, -8000, 8000);
    g->sectors[0].objectCount = 1;
    GameObject& o = g->objects[0];
    o = GameObject{};
    o.x = 50;  // active, in the sector, right ahead
    o.flags = OBJ_ACTIVE;
    o.size = 64;
    o.sprite = 9;
    fillTexture(*g, 9, 5);
    for (int column = 0; column < SCREEN_WIDTH; ++column) {
        auto atColumn = columnAt(*g, *frame, column);
        RenderState& at = atColumn->rs;
        renderSectorColumn(at, 0, 0, 200, 20.0);
    }
    for (uint8_t p : *frame) ASSERT_EQ(p, UNTOUCHED);
}

TEST_F(RenderColumn, ATallWallClipsAtTheTopWithoutShiftingItsTexture) {
    tallRoom(640);
    layOut();
    EXPECT_EQ(hit.wall, 1);
    EXPECT_DOUBLE_EQ(hit.depth, 640.0);
    EXPECT_EQ(wc.ceilingRow, 0);  // projected at -1, one row above the window
    EXPECT_EQ(wc.floorRow, 200);
    EXPECT_EQ(wc.upperV, 320);
    EXPECT_EQ(wc.vStep, 320);
    draw();
    expectTextureRows(0, 200, 320, 320);
    EXPECT_EQ((320 + 199 * 320) >> 9, 125);  // the last row shows texture row 125
}

TEST_F(RenderColumn, AWallTallerThanItsTextureRepeatsIt) {
    tallRoom(200);
    g->walls[1].repeatV = 48;  // vStep 600: the 16-bit accumulator wraps every ~109 rows
    layOut();
    EXPECT_EQ(wc.vStep, 600);
    EXPECT_EQ(wc.upperV, static_cast<uint16_t>(132600));  // 221 rows cut above the window
    EXPECT_LT(static_cast<uint16_t>(wc.upperV + 200 * wc.vStep), wc.upperV + 200u * wc.vStep);
    draw();
    expectTextureRows(0, 200, wc.upperV, wc.vStep);
}

TEST_F(RenderColumn, AWallNearerThanTenIsProjectedAsAtTen) {
    addLoop(*g, 0, {{-100, -100}, {4, -100}, {4, 100}, {-100, 100}});
    setSector(*g, 0, 0, 4, -50, 50);
    layOut();
    EXPECT_DOUBLE_EQ(hit.depth, 4.0);
    EXPECT_EQ(wc.wallDepth, 10.0);
    EXPECT_EQ(wc.ceilingRow, 59);  // -400 / 10 + 99, not -400 / 4 + 99
    EXPECT_EQ(wc.floorRow, 140);
}

TEST_F(RenderColumn, TextureColumnFollowsRepeatUSignedAndWraps) {
    tallRoom(640);
    layOut();
    hit.param = 0.25;
    Wall wall = g->walls[1];
    // Stored 255 reads -1: the texture runs backwards; 100 gives 400, which wraps to 400 & 127.
    for (const auto& [repeatU, texU] : {std::pair{1, 4}, {255, 124}, {100, 400 & 127}}) {
        wall.repeatU = static_cast<int8_t>(repeatU);
        EXPECT_EQ(setUpWallColumn(*rs, g->sectors[0], wall, hit, 0, 200).texU, texU) << repeatU;
    }
}

TEST_F(RenderColumn, ShadingClampsBeforeTheRampIsAdded) {
    EXPECT_EQ(shadeTexel(10, 20), 0);
    EXPECT_EQ(shadeTexel(10, -100), 63);
    EXPECT_EQ(shadeTexel(40, 8), 32);
    tallRoom(640);
    fillTexture(*g, 0, 10);
    g->walls[1].texture = 0x80;
    for (const auto& [shade, shown] : {std::pair{20, 0x80}, {-100, 0x80 + 63}}) {
        g->walls[1].shade = static_cast<int8_t>(shade);  // 10 - 20 clamps to 0, then ramp 2
        layOut();
        draw();
        EXPECT_EQ(pixel(*frame, 100, 160), shown) << shade;
    }
}

TEST_F(RenderColumn, DistanceShadesWallsAndFlats) {
    tallRoom(1000);
    g->sectors[0].shadeFalloff = 16;
    layOut();
    EXPECT_EQ(wc.shadeOffset, 3);
    // Row 50 under a ceiling 8000 above the eye: q = 160, term trunc(2560 / 750) = 3.
    EXPECT_EQ(flatShadeOffset(0, 0, -8000, ceilingRowDistance(50), 16), 3);
    EXPECT_EQ(flatShadeOffset(5, 0, -8000, ceilingRowDistance(50), 16), 8);
    // The floor 8000 below the eye, row 149: both signs flip, the term is the same.
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(149), 16), 3);
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(150), 16), 3);
    EXPECT_EQ(flatShadeOffset(0, 0, 8000, floorRowDistance(110), 48), 46);  // 727 * 48 / 750
    // q * falloff wraps in 32 bits before the / 750, and the sum keeps its low 16 bits:
    // 2e9 * 100 wraps to -1863462912; / 750 gives -2484617, whose low 16 bits read 5751.
    EXPECT_EQ(flatShadeOffset(0, 2000000000, 0, 1, 100), 5751);
    EXPECT_EQ(flatShadeOffset(0, INT32_MIN, 0, -1, 0), 0);  // INT32_MIN / -1 does not trap
}

// The horizon rows: a sector whose ceiling hangs below the eye shows ceiling at row 100, one
// whose floor rises above the eye shows floor at row 99. Neither may divide by zero.
TEST_F(RenderColumn, HorizonRowsMatchTheirNeighbourBeyondTheHorizon) {
    EXPECT_EQ(ceilingRowDistance(100), -1);
    EXPECT_EQ(ceilingRowDistance(99), 1);
    EXPECT_EQ(floorRowDistance(99), 1);
    EXPECT_EQ(floorRowDistance(100), -1);
    addLoop(*g, 0, {{-100, -500}, {100, -500}, {100, 500}, {-100, 500}});
    fillRowTexture(*g, 0);
    g->sectors[0].shadeFalloff = 48;
    setSector(*g, 0, 0, 4, 100, 8000);  // ceiling 100 below the eye: it meets the wall at row 107
    layOut(150);
    draw();
    EXPECT_EQ(pixel(*frame, 100, 150), pixel(*frame, 101, 150));
    setSector(*g, 0, 0, 4, -8000, -100);  // floor 100 above the eye: it meets the wall at row 92
    column->restart();  // a new frame: the ceiling's shades worked out above no longer hold
    draw();
    EXPECT_EQ(pixel(*frame, 99, 150), pixel(*frame, 98, 150));
    EXPECT_NE(pixel(*frame, 99, 150), UNTOUCHED);
}

TEST_F(RenderColumn, EqualHeightsOpenTheWholeWallToTheSectorBehind) {
    portalWorld(-8000, 8000);
    layOut();
    ASSERT_EQ(hit.wall, 1);
    EXPECT_EQ(pr.nextCeilingRow, wc.ceilingRow);
    EXPECT_EQ(pr.nextFloorRow, wc.floorRow);
    EXPECT_EQ(pr.lowerV, 0);
    draw();
    // Rows ceilingRow..floorRow-1 come from the sector behind: its far wall near the middle
    // (ramp 1), its flats above and below it, never wall 1's texture.
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 1);
    EXPECT_EQ(column->scratch.marks[1], 160);
    EXPECT_EQ(column->scratch.marks[7], 160);  // the back side, marked so the child does not find it
    EXPECT_EQ(column->scratch.marks[5], 160);  // the child's far wall
    EXPECT_EQ(g->walls[1].mark, -1);           // the game's marks are left alone
    for (int r = 0; r < 200; ++r) ASSERT_NE(pixel(*frame, r, 160), UNTOUCHED);
}

TEST_F(RenderColumn, AFloorAboveTheOpeningFillsItWithTheLowerPart) {
    portalWorld(-20000, -9000);  // sector 1's floor (-9000) lies above sector 0's ceiling
    layOut();
    // At depth 1000 the wall spans rows 35..163 and the next floor projects to row 28.
    EXPECT_EQ(wc.ceilingRow, 35);
    EXPECT_EQ(wc.floorRow, 164);
    EXPECT_EQ(pr.nextCeilingRow, 0);
    EXPECT_EQ(pr.nextFloorRow, 35);
    EXPECT_EQ(pr.lowerV, 3500);  // 8 * 7 rows * 1000 / 16: the texture starts part-way
    draw();
    expectTextureRows(35, 164, pr.lowerV, wc.vStep);
    // The child's window is empty: nothing behind it can show, so it is not searched at all.
    EXPECT_EQ(column->scratch.marks[5], -1);
}

TEST_F(RenderColumn, UpperAndLowerStepsAnchorAtTheirOwnEdges) {
    portalWorld(-4000, 4000);
    layOut();
    EXPECT_EQ(wc.ceilingRow, 35);
    EXPECT_EQ(pr.nextCeilingRow, 67);
    EXPECT_EQ(pr.nextFloorRow, 132);
    EXPECT_EQ(wc.floorRow, 164);
    draw();
    // Both steps start at texture row 0 on their first row.
    EXPECT_EQ(pixel(*frame, 35, 160), 0);
    EXPECT_EQ(pixel(*frame, 132, 160), 0);
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 1);  // the sector behind in between
}

TEST_F(RenderColumn, BrokenIndicesAreTreatedAsSolidOrAbsent) {
    portalWorld(-8000, 8000);
    g->walls[1].nextSector = 500;  // past the sector table: drawn as a solid wall
    g->walls[1].otherWall = 3000;
    layOut();
    draw();
    EXPECT_EQ(pixel(*frame, 100, 160) >> 6, 0);
    EXPECT_EQ(column->scratch.marks[5], -1);  // nothing behind it was visited

    column->restart();
    g->walls[1].nextSector = 1;
    g->walls[1].point2 = 2000;  // a wall with no end point is no segment: wall 1 is skipped
    EXPECT_EQ(findNearestWall(*rs, 0).wall, -1);
    g->walls[1].point2 = 2;

    // A sector index past the table, and windows outside the screen, write nothing.
    auto clean = blankFrame();
    rs->frameBuffer = clean->data();
    for (const auto& [sector, top, bottom] : {std::tuple{191, 0, 200}, {0, 150, 100}, {0, -20, -5}, {0, 230, 260}}) {
        column->restart();
        renderSectorColumn(*rs, static_cast<uint16_t>(sector), static_cast<int16_t>(top),
                           static_cast<int16_t>(bottom), 20.0);
    }
    for (uint8_t p : *clean) ASSERT_EQ(p, UNTOUCHED);
    EXPECT_EQ(column->scratch.marks[1], -1);  // cut to the screen, the windows were empty: no search
}

TEST_F(RenderColumn, PortalsWhoseBackSidesAreMissingStillEnd) {
    // Two rooms looking into each other through portals that name no back side: each visit
    // marks one more wall, so the recursion ends when the walls run out.
    portalWorld(-8000, 8000);
    g->walls[1].otherWall = -1;
    g->walls[7].otherWall = -1;
    RenderThreads one(1, RenderPath::Scalar);
    drawView(*g, frame->data(), &one);
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
        drawView(*g, frame->data(), &one);
        for (int16_t mark : one.scratch(0).marks) ASSERT_TRUE(mark >= -1 && mark < SCREEN_WIDTH);
    }
}

}  // namespace
}  // namespace krello
