// The level built into the program, read back from its image: table offsets, the rows other
// parts of the game rely on, the wall walks, the loop orientation and the statistics.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "world/builtin_level.h"
#include "world/level_stats.h"
#include "world/level_validator.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

class BuiltinLevel : public testing::Test {
protected:
    void SetUp() override { loadBuiltinLevel(*g); }

    // A little-endian field read straight from the image bytes.
    static int64_t imageInt(size_t offset, int bytes, bool isSigned) {
        const auto image = builtinLevelImage();
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint64_t{image[offset + static_cast<size_t>(i)]} << (8 * i);
        if (isSigned && (v >> (8 * bytes - 1)) != 0) return static_cast<int64_t>(v) - (int64_t{1} << (8 * bytes));
        return static_cast<int64_t>(v);
    }

    std::vector<int> walk(int sector) const {
        std::vector<int> seen;
        walkSectorWalls(*g, static_cast<uint16_t>(sector), [&](uint16_t w) { seen.push_back(w); });
        return seen;
    }

    int64_t loopSum(int first, int end) const {
        int64_t sum = 0;
        for (int w = first; w < end; ++w) {
            const Wall& a = g->walls[static_cast<size_t>(w)];
            const Wall& b = g->walls[static_cast<size_t>(a.point2)];
            sum += int64_t{a.x} * b.y - int64_t{b.x} * a.y;
        }
        return sum;
    }

    std::unique_ptr<GameState> g = std::make_unique<GameState>();
};

TEST_F(BuiltinLevel, TablesSitAtTheirOffsetsInTheImage) {
    EXPECT_EQ(builtinLevelImage().size(), 49180u);
    EXPECT_EQ(imageInt(0, 4, true), 7542);     // player x
    EXPECT_EQ(imageInt(12, 2, true), 323);     // player angle
    EXPECT_EQ(imageInt(14, 2, true), 151);     // player sector
    EXPECT_EQ(imageInt(16, 2, true), 0);       // sector 0's firstWall
    EXPECT_EQ(imageInt(16 + 151 * 40, 2, true), 825);
    EXPECT_EQ(imageInt(16 + 151 * 40 + 4, 4, true), -466944);
    EXPECT_EQ(imageInt(16 + 151 * 40 + 38, 2, true), -1);  // objectCount
    EXPECT_EQ(imageInt(7656 + 830 * 32 + 10, 2, true), 822);  // wall 830's otherWall
    EXPECT_EQ(imageInt(7656 + 830 * 32 + 30, 2, true), -1);   // its mark
    EXPECT_EQ(imageInt(44072 + 10 * 44 + 14, 2, false), 11);  // object 10's kind word
    EXPECT_EQ(imageInt(45084, 1, false), g->enemyPicture[0]);
    EXPECT_EQ(imageInt(49179, 1, false), g->enemyPicture[4095]);
}

TEST_F(BuiltinLevel, TheBuildCheckedLevelHasNoViolations) {
    EXPECT_TRUE(validateLevel(*g, LevelOrigin{"built-in level", nullptr}).empty());
}

TEST_F(BuiltinLevel, TheStartSectorIsALedgeAboveTheShaft) {
    const PlayerState& p = g->player;
    EXPECT_EQ(p.x, 7542);
    EXPECT_EQ(p.y, 38995);
    EXPECT_EQ(p.z, 2048);
    EXPECT_EQ(p.angle, 323);
    EXPECT_EQ(p.sector, 151);
    const Sector& s = g->sectors[151];
    EXPECT_EQ(s.firstWall, 825);
    EXPECT_EQ(s.wallCount, 6);
    EXPECT_EQ(s.ceilingZ, -466944);
    EXPECT_EQ(s.floorZ, -453632);
    EXPECT_EQ(s.ceilingTexture, 6);
    EXPECT_EQ(s.ceilingShade, 65);
    EXPECT_EQ(s.floorTexture, 6);
    EXPECT_EQ(s.floorShade, 23);
    EXPECT_EQ(s.shadeFalloff, 0);
    EXPECT_EQ(s.objectCount, -1);
    struct Row { int x, y, point2, otherWall, nextSector, texture, shade, repeatU, repeatV; };
    const Row rows[6] = {
        {8928, 40928, 826, -1, -1, 4, 26, 21, 8},  {6272, 40000, 827, -1, -1, 4, 26, 15, 8},
        {7200, 38272, 828, -1, -1, 4, 26, 30, 8},  {10848, 39680, 829, -1, -1, 4, 26, 14, 8},
        {10080, 41344, 830, -1, -1, 2, 26, 1, 8},  {9856, 41280, 825, 822, 150, 4, 26, 7, 8},
    };
    for (int i = 0; i < 6; ++i) {
        const Wall& w = g->walls[static_cast<size_t>(825 + i)];
        const Row& r = rows[i];
        EXPECT_EQ(w.x, r.x) << 825 + i;
        EXPECT_EQ(w.y, r.y) << 825 + i;
        EXPECT_EQ(w.point2, r.point2) << 825 + i;
        EXPECT_EQ(w.otherWall, r.otherWall) << 825 + i;
        EXPECT_EQ(w.nextSector, r.nextSector) << 825 + i;
        EXPECT_EQ(w.texture, r.texture) << 825 + i;
        EXPECT_EQ(w.shade, r.shade) << 825 + i;
        EXPECT_EQ(w.repeatU, r.repeatU) << 825 + i;
        EXPECT_EQ(w.repeatV, r.repeatV) << 825 + i;
    }
    const Wall& back = g->walls[822];
    EXPECT_EQ(back.otherWall, 830);
    EXPECT_EQ(back.nextSector, 151);
    EXPECT_EQ(back.x, g->walls[825].x);
    EXPECT_EQ(back.y, g->walls[825].y);
    EXPECT_EQ(g->walls[static_cast<size_t>(back.point2)].x, 9856);
    EXPECT_EQ(g->walls[static_cast<size_t>(back.point2)].y, 41280);
    EXPECT_EQ(g->sectors[150].ceilingZ, -465920);
    EXPECT_EQ(g->sectors[150].floorZ, -35840);
}

TEST_F(BuiltinLevel, ObjectsAreTheTwentyThreeRowsInTableOrder) {
    struct Row { int kind, x, y, z, sector; };
    const Row rows[OBJECT_COUNT] = {
        {10, 20480, 51456, 0, 140},      {10, 1280, 41472, 9216, 128},   {10, 11008, 46592, 9216, 128},
        {10, 11776, 60928, 9216, 128},   {10, 17152, 61696, 8192, 164},  {10, 23808, 56576, 0, 140},
        {10, 20480, 48384, -43008, 156}, {10, 23552, 43264, 8192, 158},  {9, 4608, 52992, -46080, 148},
        {9, 768, 44544, -8192, 129},     {11, 31488, 44800, -10240, 154}, {11, 31232, 44800, -10240, 154},
        {11, 30976, 44800, -10240, 154}, {11, 30720, 44800, -10240, 154}, {11, 30464, 44800, -10240, 154},
        {12, 30976, 44416, -10240, 154}, {12, 31232, 44416, -10240, 154}, {12, 31488, 44416, -10240, 154},
        {12, 31488, 44160, -10240, 154}, {12, 31232, 44160, -10240, 154}, {12, 30976, 44160, -10240, 154},
        {12, 30720, 44160, -10240, 154}, {12, 30464, 44160, -10240, 154},
    };
    const uint8_t r16[5] = {0, 0, 32, 0, 64}, r38[6] = {0, 0, 0, 0, 0xFF, 0xFF};
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        const GameObject& o = g->objects[static_cast<size_t>(i)];
        const Row& r = rows[i];
        EXPECT_EQ(kindCode(o), r.kind) << i;
        EXPECT_EQ(o.x, r.x) << i;
        EXPECT_EQ(o.y, r.y) << i;
        EXPECT_EQ(o.z, r.z) << i;
        EXPECT_EQ(o.sector, r.sector) << i;
        EXPECT_EQ(o.z, g->sectors[static_cast<size_t>(o.sector)].floorZ) << i;
        EXPECT_EQ(o.size, 64) << i;
        EXPECT_EQ(o.angle, 1536) << i;
        EXPECT_EQ(o.cooldown, -1) << i;
        EXPECT_EQ(o.flags, 0) << i;
        EXPECT_EQ(o.timer, (i == 8 || i == 9) ? 1 : 0) << i;
        EXPECT_EQ(o.vx | o.vy | o.vz, 0) << i;
        for (int b = 0; b < 5; ++b) EXPECT_EQ(o.reserved16[b], r16[b]) << i;
        EXPECT_EQ(o.reserved22[0] | o.reserved22[1], 0) << i;
        for (int b = 0; b < 6; ++b) EXPECT_EQ(o.reserved38[b], r38[b]) << i;
    }
}

TEST_F(BuiltinLevel, RuntimeFieldsHoldTheirImageValues) {
    for (int s = 0; s < SECTOR_COUNT; ++s) EXPECT_EQ(g->sectors[static_cast<size_t>(s)].objectCount, -1) << s;
    for (int w = 0; w < WALL_COUNT; ++w) EXPECT_EQ(g->walls[static_cast<size_t>(w)].mark, -1) << w;
}

TEST_F(BuiltinLevel, TheHallWalksFourLoopsAndTheStartSectorOne) {
    std::vector<int> hall;
    for (int w = 736; w < 770; ++w) hall.push_back(w);
    EXPECT_EQ(walk(140), hall);
    EXPECT_EQ(walk(151), (std::vector<int>{825, 826, 827, 828, 829, 830}));
    const Sector& s = g->sectors[140];
    EXPECT_EQ(s.ceilingZ, -106496);
    EXPECT_EQ(s.floorZ, 0);
    EXPECT_EQ(g->walls[751].point2, 736);
    EXPECT_EQ(g->walls[757].point2, 752);
    EXPECT_EQ(g->walls[763].point2, 758);
    EXPECT_EQ(g->walls[769].point2, 764);
    int outerPortals = 0;
    for (int w = 736; w < 752; ++w) outerPortals += g->walls[static_cast<size_t>(w)].nextSector != -1;
    EXPECT_EQ(outerPortals, 7);
    std::set<int> blocks;
    for (int w = 752; w < 770; ++w) {
        const int next = g->walls[static_cast<size_t>(w)].nextSector;
        EXPECT_NE(next, -1) << w;
        blocks.insert(next);
        EXPECT_GT(g->sectors[static_cast<size_t>(next)].floorZ, -8192) << w;
        EXPECT_LT(g->sectors[static_cast<size_t>(next)].floorZ, 0) << w;
    }
    EXPECT_EQ(blocks, (std::set<int>{12, 13, 72, 73, 74, 75}));
}

TEST_F(BuiltinLevel, OuterLoopsRunOneWayAndTheTwentyOneInnerLoopsTheOther) {
    int inner = 0, outer = 0;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        int loopStart = -1, sectorOuter = 0;
        walkSectorWalls(*g, static_cast<uint16_t>(s), [&](uint16_t w) {
            if (loopStart < 0) loopStart = w;
            if (g->walls[w].point2 != loopStart) return;
            const int64_t sum = loopSum(loopStart, w + 1);
            EXPECT_NE(sum, 0) << "sector " << s;
            (sum > 0 ? sectorOuter : inner)++;
            loopStart = -1;
        });
        EXPECT_EQ(sectorOuter, 1) << "sector " << s;
        outer += sectorOuter;
    }
    EXPECT_EQ(outer, 191);
    EXPECT_EQ(inner, 21);
}

TEST_F(BuiltinLevel, OpenAreaStairsAndBlackCeilings) {
    const Sector& open = g->sectors[128];
    EXPECT_EQ(open.wallCount, 8);
    EXPECT_EQ(open.floorZ, 9216);
    EXPECT_EQ(open.ceilingZ, -465920);
    EXPECT_EQ(open.ceilingTexture, 0x55);
    EXPECT_EQ(open.ceilingShade, 127);
    std::set<int> neighbours;
    for (int w = open.firstWall; w < open.firstWall + 8; ++w) {
        EXPECT_NE(g->walls[static_cast<size_t>(w)].nextSector, -1) << w;
        neighbours.insert(g->walls[static_cast<size_t>(w)].nextSector);
    }
    EXPECT_EQ(neighbours.size(), 7u);
    for (int s = 14; s <= 21; ++s) {
        const Sector& step = g->sectors[static_cast<size_t>(s)];
        EXPECT_EQ(step.wallCount, 4) << s;
        EXPECT_EQ(step.floorZ, -8192 + 2048 * (s - 14)) << s;
        EXPECT_EQ(step.ceilingZ, -32768 + 2048 * (s - 14)) << s;
        if (s <= 20) {
            EXPECT_EQ(step.ceilingShade, 7 - (s - 14)) << s;
        }
    }
}

// Every figure, structure and look alike, is the shipped level's.
TEST_F(BuiltinLevel, StatisticsMatchTheShippedLevel) {
    for (const LevelFigure& f : levelFigures(*g, builtinLevelFigures()))
        EXPECT_FALSE(f.differs()) << f.name << ": " << f.actual << ", wanted " << f.shipped;
}

TEST(LevelStatistics, AChangedLevelShowsItsDifferences) {
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    const std::vector<LevelFigure> before = levelFigures(*g, builtinLevelFigures());
    g->walls[825].nextSector = 3;  // a half portal
    g->sectors[151].ceilingTexture = 0x55;  // was 6
    const std::vector<LevelFigure> after = levelFigures(*g, builtinLevelFigures());
    ASSERT_EQ(before.size(), after.size());
    std::set<std::string> changed;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].actual != before[i].actual) changed.insert(after[i].name);
    EXPECT_EQ(changed, (std::set<std::string>{"portal walls", "solid walls", "ceilings with 0x55"}));
}

TEST(LevelStatistics, GoldenLinesAreExactTextOrABoundOnANumber) {
    struct Case {
        const char* actual;
        const char* expected;
        bool meets;
    };
    const Case cases[] = {
        {"3..37", "3..37", true},          {"3..38", "3..37", false},
        {"93%", "at least 80%", true},     {"79%", "at least 80%", false},
        {"1.02", "between 0.7 and 1.4", true}, {"1.41", "between 0.7 and 1.4", false},
        {"0", "at most 0", true},          {"2", "at most 0", false},
        {"none", "at least 1", false},     {"1.0x", "at most 2", false},
    };
    for (const Case& c : cases) EXPECT_EQ(figureMeets(c.actual, c.expected), c.meets) << c.actual << " / " << c.expected;

    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    const auto figures = levelFigures(*g, "# a short list\nsectors: 191\nrooms: 12\n");
    int unmeasured = 0, unlisted = 0;
    for (const LevelFigure& f : figures) {
        if (f.name == "sectors") {
            EXPECT_FALSE(f.differs());
        }
        unmeasured += f.name == "rooms" && f.differs();
        unlisted += f.name == "loops" && f.differs();
    }
    EXPECT_EQ(unmeasured, 1);
    EXPECT_EQ(unlisted, 1);
}

}  // namespace
}  // namespace krello
