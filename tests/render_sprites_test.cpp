// Billboards and the object sort: placement, limits, clipping, transparency, order.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/object_sort.h"
#include "render/sprites.h"
#include "render_test_world.h"
#include "world/distance.h"

namespace krello {
namespace {

using namespace krello::test;

// Sector 0 holds one active object 1000 ahead of the eye, its foot 8000 below it, with a
// picture of texel 7 in slot 9. The sector's count says one object is there.
std::unique_ptr<GameState> oneEnemy() {
    auto g = emptyWorld();
    g->sectors[0].objectCount = 1;
    GameObject& o = g->objects[0];
    o.x = 1000;
    o.y = 0;
    o.z = 8000;
    o.size = 64;
    o.sprite = 9;
    o.sector = 0;
    o.flags = OBJ_ACTIVE | OBJ_ENEMY;
    fillTexture(*g, 9, 7);
    return g;
}

std::vector<int> drawnRows(const Frame& f, int column) {
    std::vector<int> rows;
    for (int r = 0; r < SCREEN_HEIGHT; ++r)
        if (pixel(f, r, column) != UNTOUCHED) rows.push_back(r);
    return rows;
}

// An object placed and projected in the current column, as drawSectorSprites does it.
SpriteColumn projected(const RenderState& rs, const GameObject& o, int32_t windowTop, int32_t windowBottom) {
    SpriteColumn sc = placeSprite(rs, o);
    projectSpriteRows(rs, o, sc, windowTop, windowBottom);
    return sc;
}

std::vector<int> rowRange(int from, int to) {
    std::vector<int> rows;
    for (int r = from; r < to; ++r) rows.push_back(r);
    return rows;
}

TEST(RenderSprites, AnObjectStraightAheadStandsOnItsFoot) {
    auto g = oneEnemy();
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const SpriteColumn sc = projected(rs, g->objects[0], 0, 200);
    EXPECT_EQ(sc.column, 32);
    EXPECT_DOUBLE_EQ(sc.depth, 1000.0);
    EXPECT_EQ(sc.top, 83);
    EXPECT_EQ(sc.bottom, 164);
    EXPECT_EQ(sc.vStep, 800);
    EXPECT_EQ(sc.v, 0);

    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    EXPECT_EQ(drawnRows(*frame, 160), rowRange(83, 164));
    EXPECT_EQ(pixel(*frame, 100, 160), 7);
    // The texture column grows from left to right across the screen.
    EXPECT_EQ(projected(columnAt(*g, *frame, 159)->rs, g->objects[0], 0, 200).column, 31);
    EXPECT_EQ(projected(columnAt(*g, *frame, 170)->rs, g->objects[0], 0, 200).column, 49);
}

TEST(RenderSprites, ObjectsExactlyAtEitherLimitAreNotDrawn) {
    auto g = oneEnemy();
    const struct {
        double nearLimit, wallDepth;
        bool drawn;
    } cases[] = {{1000.0, 5000.0, false}, {20.0, 1000.0, false}, {999.9, 1000.1, true}};
    for (const auto& c : cases) {
        auto frame = blankFrame();
        auto column = columnAt(*g, *frame, 160);
        RenderState& rs = column->rs;
        drawSectorSprites(rs, 0, 0, 200, c.nearLimit, c.wallDepth);
        EXPECT_EQ(!drawnRows(*frame, 160).empty(), c.drawn) << c.nearLimit << " " << c.wallDepth;
    }
}

TEST(RenderSprites, OnlyAnExactZeroCountHidesTheSector) {
    auto g = oneEnemy();
    for (int16_t count : {0, -1, 5}) {
        g->sectors[0].objectCount = count;
        auto frame = blankFrame();
        auto column = columnAt(*g, *frame, 160);
        RenderState& rs = column->rs;
        drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
        EXPECT_EQ(drawnRows(*frame, 160).empty(), count == 0) << count;
    }
}

TEST(RenderSprites, InactiveOrElsewhereObjectsAreSkipped) {
    auto g = oneEnemy();
    auto frame = blankFrame();
    g->objects[0].flags = OBJ_ENEMY;
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    g->objects[0].flags = OBJ_ACTIVE;
    g->objects[0].sector = 1;
    column->restart();
    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    EXPECT_TRUE(drawnRows(*frame, 160).empty());
}

TEST(RenderSprites, OnlyTextureColumnsOneToSixtyThreeAreDrawn) {
    auto g = oneEnemy();
    // Sideways offsets that put texture column 0, 1, 63, 64 and a negative one in column 160.
    const struct {
        int32_t dy;
        uint16_t column;
        bool drawn;
    } cases[] = {{114, 0, false}, {111, 1, true}, {-112, 63, true}, {-114, 64, false},
                 {5000, static_cast<uint16_t>(32 - 1414), false}};
    for (const auto& c : cases) {
        g->objects[0].y = c.dy;
        auto frame = blankFrame();
        auto column = columnAt(*g, *frame, 160);
        RenderState& rs = column->rs;
        EXPECT_EQ(placeSprite(rs, g->objects[0]).column, c.column) << c.dy;
        drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
        EXPECT_EQ(!drawnRows(*frame, 160).empty(), c.drawn) << c.dy;
    }
}

TEST(RenderSprites, APictureIsCutToItsSectorsWindowWithoutShifting) {
    auto g = oneEnemy();
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    const SpriteColumn sc = projected(rs, g->objects[0], 90, 120);
    EXPECT_EQ(sc.top, 90);
    EXPECT_EQ(sc.bottom, 120);
    EXPECT_EQ(sc.v, 5600);  // 7 rows * 64 * 1000 * 0.0125
    drawSectorSprites(rs, 0, 90, 120, 20.0, 5000.0);
    EXPECT_EQ(drawnRows(*frame, 160), rowRange(90, 120));
    // Wholly below the window: nothing.
    auto below = blankFrame();
    rs.frameBuffer = below->data();
    drawSectorSprites(rs, 0, 10, 40, 20.0, 5000.0);
    EXPECT_TRUE(drawnRows(*below, 160).empty());
}

TEST(RenderSprites, TransparentTexelsLeaveThePixelsBeneath) {
    auto g = oneEnemy();
    for (int r = 0; r < TEXTURE_SIDE; ++r)
        for (int c = 0; c < TEXTURE_SIDE; ++c)
            g->textures[9 * TEXTURE_BYTES + r * TEXTURE_SIDE + c] = (r % 2) ? 5 : 0;
    g->objects[0].sprite = 0xC9;  // slot 9, ramp 3: added unshaded to every drawn texel
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    uint16_t v = 0;
    int shown = 0;
    for (int r = 83; r < 164; ++r) {
        const bool opaque = ((v >> 9) % 2) == 1;
        ASSERT_EQ(pixel(*frame, r, 160), opaque ? 0xC0 + 5 : UNTOUCHED) << "row " << r;
        shown += opaque;
        v = static_cast<uint16_t>(v + 800);
    }
    EXPECT_GT(shown, 10);
    EXPECT_LT(shown, 70);
}

TEST(RenderSprites, LaterObjectsInTheTableCoverEarlierOnes) {
    auto g = oneEnemy();
    g->objects[1] = g->objects[0];
    g->objects[1].x = 1500;  // farther, slot 10
    g->objects[1].sprite = 10;
    fillTexture(*g, 10, 6);
    auto frame = blankFrame();
    auto column = columnAt(*g, *frame, 160);
    RenderState& rs = column->rs;
    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    EXPECT_EQ(pixel(*frame, 120, 160), 6);  // the far one was drawn last, over the near one
    std::swap(g->objects[0], g->objects[1]);
    column->restart();
    drawSectorSprites(rs, 0, 0, 200, 20.0, 5000.0);
    EXPECT_EQ(pixel(*frame, 120, 160), 7);
}

TEST(RenderSprites, AWallOfTheSectorInFrontHidesThePictureInThatColumn) {
    auto g = oneEnemy();
    // A room whose far wall stands at 800: the object at 1000 is beyond it.
    addLoop(*g, 0, {{-100, -500}, {800, -500}, {800, 500}, {-100, 500}});
    setSector(*g, 0, 0, 4, -9000, 8000);
    fillTexture(*g, 0, 30);
    auto frame = blankFrame();
    drawView(*g, *frame);
    for (int r = 0; r < SCREEN_HEIGHT; ++r) ASSERT_NE(pixel(*frame, r, 160), 7);
    g->walls[1].x = 1200;
    g->walls[2].x = 1200;
    drawView(*g, *frame);
    EXPECT_EQ(pixel(*frame, 100, 160), 7);
}

// Tags objects by their timer so a test can follow the records through the sort.
void placeTagged(GameState& g, int index, int32_t x, int32_t y) {
    g.objects[index] = GameObject{};
    g.objects[index].x = x;
    g.objects[index].y = y;
    g.objects[index].timer = static_cast<int16_t>(100 + index);
}

TEST(RenderObjectSort, FarthestFirstWithTiesInExchangeOrder) {
    auto g = emptyWorld();
    for (int i = 0; i < OBJECT_COUNT; ++i) placeTagged(*g, i, 0, 0);  // all at the eye
    placeTagged(*g, 0, 40, 0);   // distance 10
    placeTagged(*g, 1, 0, 40);   // distance 10, a tie with record 0
    placeTagged(*g, 2, 80, 0);   // distance 20
    sortObjects(*g);
    // Record 2 is exchanged with record 0 first, which carries record 0 behind record 1: the
    // exchange sort does not keep ties in their old order.
    EXPECT_EQ(g->objects[0].timer, 102);
    EXPECT_EQ(g->objects[1].timer, 101);
    EXPECT_EQ(g->objects[2].timer, 100);
    for (int i = 3; i < OBJECT_COUNT; ++i) EXPECT_EQ(g->objects[i].timer, 100 + i);
}

TEST(RenderObjectSort, OrdersAWholeTableAndKeepsEveryRecord) {
    auto g = emptyWorld();
    g->player.x = 5000;
    g->player.y = -3000;
    uint32_t state = 7;
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        state = state * 1103515245u + 12345u;
        placeTagged(*g, i, static_cast<int32_t>(state % 40000), static_cast<int32_t>((state >> 8) % 9));
        g->objects[i].flags = static_cast<int16_t>(i % 2);  // inactive records take part too
        g->objects[i].reserved38[5] = static_cast<uint8_t>(i);  // whole records move
    }
    sortObjects(*g);
    std::vector<int> tags;
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        const GameObject& o = g->objects[i];
        tags.push_back(o.timer);
        EXPECT_EQ(o.reserved38[5], o.timer - 100);
        EXPECT_EQ(o.flags, (o.timer - 100) % 2);
        if (i > 0) {
            EXPECT_GE(playerDistance2D(g->player, g->objects[i - 1]),
                      playerDistance2D(g->player, o));
        }
    }
    std::sort(tags.begin(), tags.end());
    for (int i = 0; i < OBJECT_COUNT; ++i) EXPECT_EQ(tags[i], 100 + i);
}

}  // namespace
}  // namespace krello
