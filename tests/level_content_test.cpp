// The level built into the program, checked by what must hold of any level the game ships with:
// its image decodes field for field, its walls are walked as stored, its loops turn the right
// way, its objects carry what the game expects, and its statistics are the shipped ones.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "level/builtin_level.h"
#include "level/level_stats.h"
#include "level/loop_geometry.h"
#include "world/wall_walk.h"

namespace krello {
namespace {

class BuiltinLevel : public testing::Test {
protected:
    void SetUp() override { loadBuiltinLevel(*g); }

    // A little-endian field read straight from the image bytes.
    static int64_t imageInt(size_t offset, int bytes) {
        const auto image = builtinLevelImage();
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint64_t{image[offset + static_cast<size_t>(i)]} << (8 * i);
        if ((v >> (8 * bytes - 1)) != 0) return static_cast<int64_t>(v) - (int64_t{1} << (8 * bytes));
        return static_cast<int64_t>(v);
    }

    std::unique_ptr<GameState> g = std::make_unique<GameState>();
};

TEST_F(BuiltinLevel, EveryTableSitsAtItsOffsetInTheImage) {
    EXPECT_EQ(builtinLevelImage().size(), LEVEL_IMAGE_BYTES);
    EXPECT_EQ(imageInt(IMAGE_PLAYER_OFFSET + 12, 2), g->player.angle);
    for (size_t s = 0; s < SECTOR_COUNT; ++s) {
        const size_t at = IMAGE_SECTORS_OFFSET + s * sizeof(Sector);
        ASSERT_EQ(imageInt(at + 4, 4), g->sectors[s].ceilingZ) << s;
        ASSERT_EQ(imageInt(at + 38, 2), g->sectors[s].objectCount) << s;
    }
    for (size_t w = 0; w < WALL_COUNT; ++w) {
        const size_t at = IMAGE_WALLS_OFFSET + w * sizeof(Wall);
        ASSERT_EQ(imageInt(at + 10, 2), g->walls[w].otherWall) << w;
        ASSERT_EQ(imageInt(at + 30, 2), g->walls[w].mark) << w;
    }
    for (size_t i = 0; i < OBJECT_COUNT; ++i)
        ASSERT_EQ(imageInt(IMAGE_OBJECTS_OFFSET + i * sizeof(GameObject) + 14, 2), kindCode(g->objects[i])) << i;
    EXPECT_EQ(builtinLevelImage()[IMAGE_PICTURE_OFFSET + 4095], g->enemyPicture[4095]);
}

TEST_F(BuiltinLevel, RuntimeFieldsHoldTheirImageValues) {
    for (const Sector& s : g->sectors) ASSERT_EQ(s.objectCount, -1);
    for (const Wall& w : g->walls) ASSERT_EQ(w.mark, -1);
}

// The walk of each sector visits its own walls, in storage order, and nothing else; each loop
// ends on a wall leading back to the loop's first; exactly one loop per sector is outer.
TEST_F(BuiltinLevel, EachSectorWalksItsOwnWallsInClosedLoopsWithOneOuterLoop) {
    int nextWall = 0;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        const Sector& sec = g->sectors[static_cast<size_t>(s)];
        ASSERT_EQ(sec.firstWall, nextWall) << "sector " << s;
        std::vector<int> walked;
        int loopStart = sec.firstWall, outer = 0;
        walkSectorWalls(*g, static_cast<uint16_t>(s), [&](uint16_t w) {
            walked.push_back(w);
            if (g->walls[w].point2 != loopStart) return;
            const Wide sum = loopOrientationSum(*g, loopStart, w + 1);
            EXPECT_NE(sum, 0) << "sector " << s;
            outer += sum > 0;
            loopStart = w + 1;
        });
        ASSERT_EQ(static_cast<int>(walked.size()), sec.wallCount) << "sector " << s;
        for (size_t i = 0; i < walked.size(); ++i) ASSERT_EQ(walked[i], nextWall + static_cast<int>(i));
        EXPECT_EQ(outer, 1) << "sector " << s;
        nextWall += sec.wallCount;
    }
    EXPECT_EQ(nextWall, WALL_COUNT);
}

TEST_F(BuiltinLevel, TheStartAndEveryObjectStandInsideTheirSectorsOnTheFloor) {
    const PlayerState& p = g->player;
    EXPECT_TRUE(pointInSector(*g, static_cast<uint16_t>(p.sector), p.x, p.y));
    EXPECT_GE(p.angle, 0);
    EXPECT_LT(p.angle, 2048);
    int enemies = 0, playerShots = 0, enemyShots = 0;
    const uint8_t r16[5] = {0, 0, 32, 0, 64}, r38[6] = {0, 0, 0, 0, 0xFF, 0xFF};
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        const GameObject& o = g->objects[static_cast<size_t>(i)];
        const int kind = kindCode(o);
        enemies += kind == KIND_ENEMY_AWAKE || kind == KIND_ENEMY_DORMANT;
        playerShots += kind == KIND_PLAYER_SHOT;
        enemyShots += kind == KIND_ENEMY_SHOT;
        EXPECT_TRUE(pointInSector(*g, static_cast<uint16_t>(o.sector), o.x, o.y)) << i;
        EXPECT_EQ(o.z, g->sectors[static_cast<size_t>(o.sector)].floorZ) << i;
        EXPECT_EQ(o.flags, 0) << i;
        EXPECT_EQ(o.vx | o.vy | o.vz, 0) << i;
        for (int b = 0; b < 5; ++b) EXPECT_EQ(o.reserved16[b], r16[b]) << i;
        for (int b = 0; b < 6; ++b) EXPECT_EQ(o.reserved38[b], r38[b]) << i;
    }
    EXPECT_EQ(enemies, SPAWN_COUNT);
    EXPECT_GT(playerShots, 0);
    EXPECT_GT(enemyShots, 0);
}

// Every figure, structure and look alike, is the shipped level's.
TEST_F(BuiltinLevel, StatisticsMatchTheShippedLevel) {
    for (const LevelFigure& f : levelFigures(*g, builtinLevelFigures()))
        EXPECT_FALSE(f.differs()) << f.name << ": " << f.actual << ", wanted " << f.shipped;
}

TEST_F(BuiltinLevel, AChangedLevelShowsOnlyTheFiguresThatChanged) {
    const std::vector<LevelFigure> before = levelFigures(*g, builtinLevelFigures());
    g->player.x += 1;
    g->walls[0].shade = 100;  // beyond every shade a wall of the level has
    const std::vector<LevelFigure> after = levelFigures(*g, builtinLevelFigures());
    ASSERT_EQ(before.size(), after.size());
    std::set<std::string> changed;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i].actual != before[i].actual) changed.insert(after[i].name);
    EXPECT_EQ(changed, (std::set<std::string>{"player start x y z angle sector", "wall shade"}));
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
