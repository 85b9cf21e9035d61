// The level validator: each broken rule is reported once, naming the source line or the record,
// and any bytes at all can be validated without harm.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "level/level_file.h"
#include "level/level_source.h"
#include "level/level_validator.h"
#include "world/level_image.h"

namespace krello {
namespace {

// Sector 0: a 4096 square with a pillar (an inner loop) and a portal east into sector 1;
// sector 1: a 1024-wide corridor whose floor is 1024 higher.
const std::string kLevel = R"(level 1
point a 0 0
point b 4096 0
point c 4096 1024
point d 4096 4096
point e 0 4096
point p1 1024 1024
point p2 1024 2048
point p3 2048 2048
point p4 2048 1024
point f 5120 0
point h 5120 1024
start 512 512 0 0 0
sector 0
  ceiling -8192 floor 0
  loop a b c d e
  loop p1 p2 p3 p4
sector 1
  ceiling -8192 floor -1024
  loop b f h c
object 0 10 3000 3000 0 0
object 1 12 4600 500 -1024 1
)";

struct Level {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    LevelSourceMap map;
};

Level compile(const std::string& text) {
    Level l;
    std::vector<std::string> errors;
    const bool ok = compileLevelSource(text, "v.level", LevelSize::Partial, *l.g, l.map, errors);
    EXPECT_TRUE(ok) << (errors.empty() ? "" : errors[0]);
    return l;
}

std::vector<std::string> validate(const Level& l) {
    return validateLevel(*l.g, LevelOrigin{"v.level", &l.map}, LevelSize::Partial);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

std::string edited(const std::string& from, const std::string& to) {
    std::string s = kLevel;
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

// The violations of the level after `from` is replaced by `to` in its source.
std::string violationsAfter(const std::string& from, const std::string& to) {
    return joined(validate(compile(edited(from, to))));
}

TEST(LevelValidator, ASoundSmallLevelHasNoViolations) {
    const Level l = compile(kLevel);
    EXPECT_EQ(joined(validate(l)), "");
    // The pillar's walls run the other way round: an inner loop.
    EXPECT_EQ(l.g->sectors[0].wallCount, 9);
    EXPECT_EQ(l.g->walls[1].nextSector, 1);
    EXPECT_EQ(l.g->walls[1].otherWall, 12);
}

TEST(LevelValidator, MessagesNameTheSourceLineAndTheRecord) {
    EXPECT_EQ(violationsAfter("ceiling -8192 floor 0", "ceiling 0 floor 0"),
              "v.level:14: sector 0: ceilingZ 0 is not above floorZ 0\n");
    EXPECT_EQ(violationsAfter("ceiling -8192 floor -1024", "ceiling -8000 floor -1024"),
              "v.level:18: sector 1: ceilingZ -8000 is not a multiple of 1024\n");
    EXPECT_EQ(violationsAfter("object 0 10 3000 3000 0 0", "object 0 10 3000 3000 512 0"),
              "v.level:21: object 0: z 512 is not on its sector's floor 0\n");
}

TEST(LevelValidator, LoopsMustNotCrossTouchOrOverlap) {
    // A pillar poking out through the outer wall.
    EXPECT_EQ(violationsAfter("point p4 2048 1024", "point p4 5000 1500"),
              "v.level:16: wall 2 (sector 0): crosses or overlaps wall 7\n"
              "v.level:16: wall 2 (sector 0): crosses or overlaps wall 8\n");
    // A bow tie: the loop crosses itself and encloses no area.
    const Level bowTie = compile("level 1\npoint a 0 0\npoint b 1024 0\npoint c 0 1024\n"
                                 "point d 1024 1024\nstart 1 1 0 0 0\nsector 0\nceiling 0 floor 1024\n"
                                 "loop a b c d\n");
    const std::string bow = joined(validate(bowTie));
    EXPECT_NE(bow.find("v.level:9: wall 1 (sector 0): crosses or overlaps wall 3"), std::string::npos)
        << bow;
    EXPECT_NE(bow.find("v.level:7: sector 0: loop of walls 0..3 encloses no area"), std::string::npos)
        << bow;
    // A pillar wall lying along the outer wall overlaps it.
    EXPECT_NE(violationsAfter("point p4 2048 1024", "point p4 4096 2048").find("crosses or overlaps"),
              std::string::npos);
    // A pillar corner on the middle of an outer wall splits that wall: refused.
    EXPECT_NE(violationsAfter("point p1 1024 1024", "point p1 0 1024").find("crosses or overlaps"),
              std::string::npos);
}

TEST(LevelValidator, LoopsOfASectorMayMeetAtACornerOfBoth) {
    // The pillar's corner moved onto the outer loop's corner a.
    EXPECT_EQ(violationsAfter("loop p1 p2 p3 p4", "loop e p2 p1"), "");
}

TEST(LevelValidator, ASectorNeedsExactlyOneOuterLoopWithItsInnerLoopsInside) {
    const std::string two = violationsAfter("loop p1 p2 p3 p4", "loop p4 p3 p2 p1");
    EXPECT_NE(two.find("sector 0: has 2 outer loops"), std::string::npos) << two;
    const Level inverted = compile("level 1\npoint a 0 0\npoint b 0 1024\npoint c 1024 1024\n"
                                   "point d 1024 0\nstart 1 1 0 0 0\nsector 0\nceiling 0 floor 1024\n"
                                   "loop a b c d\n");
    const std::string none = joined(validate(inverted));
    EXPECT_NE(none.find("v.level:7: sector 0: has 0 outer loops"), std::string::npos) << none;
    // A pillar outside the room it belongs to (and a second room holding the outer square).
    const std::string outside = violationsAfter("point p1 1024 1024\npoint p2 1024 2048\n"
                                                "point p3 2048 2048\npoint p4 2048 1024",
                                                "point p1 1024 -2048\npoint p2 1024 -1024\n"
                                                "point p3 2048 -1024\npoint p4 2048 -2048");
    EXPECT_NE(outside.find("does not lie inside the outer loop"), std::string::npos) << outside;
}

TEST(LevelValidator, StartAndObjectsMustStandInsideTheirSector) {
    EXPECT_EQ(violationsAfter("start 512 512", "start 1500 1500"),
              "v.level:13: start: (1500, 1500) lies inside the inner loop of walls 5..8 of sector 0\n");
    EXPECT_EQ(violationsAfter("start 512 512", "start 4600 512"),
              "v.level:13: start: (4600, 512) lies outside sector 0's outer loop\n");
    EXPECT_EQ(violationsAfter("start 512 512", "start 4096 512"),
              "v.level:13: start: (4096, 512) lies on a wall of sector 0\n");
    EXPECT_EQ(violationsAfter("object 1 12 4600 500 -1024 1", "object 1 12 4600 500 -1024 9"),
              "v.level:22: object 1: sector 9 is not a sector\n");
}

TEST(LevelValidator, TextureSlotsAbove8OnlyWhereNothingIsDrawn) {
    EXPECT_EQ(violationsAfter("ceiling -8192 floor 0\n", "ceiling -8192 floor 0 ceilingTexture 0x4E\n"),
              "v.level:14: sector 0: ceilingTexture uses slot 14; a drawn surface needs slot 0..8\n");
    // Solid walls are drawn.
    EXPECT_NE(violationsAfter("loop a b c d e", "loop a b c d e\n  walls texture 9")
                  .find("solid wall uses texture slot 9"),
              std::string::npos);
    // Sector 1's portal looks down into sector 0, whose floor is lower: nothing of it is drawn.
    EXPECT_EQ(violationsAfter("loop b f h c", "loop b f h c\n  wall c b texture 15"), "");
    // Sector 0's portal shows the step up to sector 1's floor: drawn.
    EXPECT_EQ(violationsAfter("loop a b c d e", "loop a b c d e\n  wall b c texture 0x8B"),
              "v.level:16: wall 1 (sector 0): portal with a drawn upper or lower part uses "
              "texture slot 11; a drawn surface needs slot 0..8\n");
}

TEST(LevelValidator, APortalBetweenSectorsWhoseHeightsDoNotOverlapIsReportedOnce) {
    const std::string v = violationsAfter("ceiling -8192 floor -1024", "ceiling -16384 floor -9216");
    EXPECT_NE(v.find("v.level:16: wall 1 (sector 0): portal into sector 1 shows no opening"),
              std::string::npos) << v;
    EXPECT_EQ(v.find("shows no opening"), v.rfind("shows no opening")) << v;
    // Touching heights leave no opening either; overlapping by 1024 is enough.
    EXPECT_NE(violationsAfter("ceiling -8192 floor -1024", "ceiling -16384 floor -8192")
                  .find("shows no opening"), std::string::npos);
    EXPECT_EQ(violationsAfter("ceiling -8192 floor -1024", "ceiling -16384 floor -7168")
                  .find("shows no opening"), std::string::npos);
}

TEST(LevelValidator, EverySectorNeedsAPortalAndAPathFromTheStart) {
    std::string text = edited("object 0", "sector 2\n ceiling -8192 floor 0\n loop f2 g2 h2\n"
                                          "sector 3\n ceiling -8192 floor 0\n loop g2 f2 i2\nobject 0");
    text = text.replace(text.find("start"), 0,
                        "point f2 9000 0\npoint g2 9000 1000\npoint h2 8000 0\npoint i2 10000 0\n");
    const std::string v = joined(validate(compile(text)));
    EXPECT_NE(v.find("sector 2: cannot be reached from the start sector 0"), std::string::npos) << v;
    EXPECT_NE(v.find("sector 3: cannot be reached from the start sector 0"), std::string::npos) << v;
    std::string solo = edited("object 0", "sector 2\n ceiling -8192 floor 0\n loop f2 g2 h2\nobject 0");
    solo = solo.replace(solo.find("start"), 0, "point f2 9000 0\npoint g2 9000 1000\npoint h2 8000 0\n");
    EXPECT_NE(joined(validate(compile(solo))).find("sector 2: has no portal"), std::string::npos);
}

TEST(LevelValidator, BrokenTablesAreNamedByRecord) {
    Level l = compile(kLevel);
    GameState& g = *l.g;
    g.walls[3].point2 = 7;      // the outer loop no longer closes
    g.walls[12].otherWall = 9;  // sector 1's portal points at a wall that does not point back
    g.walls[0].mark = 0;
    g.sectors[1].objectCount = 2;
    g.objects[0].flags = OBJ_ACTIVE;
    const std::string v = joined(validateLevel(g, LevelOrigin{"v.img", nullptr}, LevelSize::Partial));
    EXPECT_NE(v.find("v.img: wall 3 (sector 0): point2 7 is neither the next wall 4 nor the first "
                     "wall 0 of its loop"), std::string::npos) << v;
    EXPECT_NE(v.find("v.img: wall 12 (sector 1): otherWall 9 does not lie in nextSector 0"),
              std::string::npos) << v;
    EXPECT_NE(v.find("v.img: wall 1 (sector 0): otherWall 12 leads back to wall 9"),
              std::string::npos) << v;
    EXPECT_NE(v.find("v.img: wall 0 (sector 0): mark 0 should be -1"), std::string::npos) << v;
    EXPECT_NE(v.find("v.img: sector 1: objectCount 2 should be -1"), std::string::npos) << v;
    EXPECT_NE(v.find("v.img: object 0: flags 1 should be 0"), std::string::npos) << v;
}

// A sector whose walls are not its own closed loops is refused with a fault naming it, however
// its walls run: each fault stops at the sector's share of the table, never past it.
TEST(LevelValidator, ASectorsWallsThatLeaveItAreNamed) {
    const struct {
        const char* what;
        void (*damage)(GameState&);
        const char* fault;
    } cases[] = {
        {"a loop that does not close within its count", [](GameState& g) { g.walls[4].point2 = 5; },
         "wall 8 (sector 0): point2 5 is neither the next wall 9 nor the first wall 0 of its loop, so the "
         "loop does not close inside sector 0"},
        {"a point2 out of range", [](GameState& g) { g.walls[10].point2 = 9000; },
         "wall 10 (sector 1): point2 9000 is neither the next wall 11 nor the first wall 9"},
        {"a first wall out of range", [](GameState& g) { g.sectors[1].firstWall = 5000; },
         "sector 1: firstWall 5000, but its walls should start at wall 9"},
        {"a count of 0", [](GameState& g) { g.sectors[1].wallCount = 0; },
         "sector 1: has 0 walls; a sector needs at least 3"},
        {"the last sector's walls running off the table", [](GameState& g) { g.sectors[1].wallCount = 6; },
         "sector 1: its walls 9..14 run past the 13 walls of the level"},
    };
    for (const auto& c : cases) {
        Level l = compile(kLevel);
        c.damage(*l.g);
        const std::string v = joined(validate(l));
        EXPECT_NE(v.find(c.fault), std::string::npos) << c.what << "\n" << v;
    }
}

TEST(LevelValidator, HalfAPortalAndAPortalIntoItsOwnSectorAreRefused) {
    Level l = compile(kLevel);
    l.g->walls[0].nextSector = 1;  // without otherWall
    l.g->walls[12].nextSector = 1;  // into itself
    const std::string v = joined(validate(l));
    EXPECT_NE(v.find("wall 0 (sector 0): nextSector 1 with otherWall -1: a portal needs both"),
              std::string::npos) << v;
    EXPECT_NE(v.find("wall 12 (sector 1): is a portal into its own sector"), std::string::npos) << v;
}

TEST(LevelValidator, TheFullLevelNeedsExactCountsAndExactlyTenEnemies) {
    Level l = compile(kLevel);
    const std::string v = joined(validateLevel(*l.g, LevelOrigin{"v.img", nullptr}, LevelSize::Full));
    EXPECT_NE(v.find("v.img: the sectors' wall counts add up to 13, not 1138"), std::string::npos) << v;
    EXPECT_NE(v.find("v.img: 1 enemies (kinds 9 and 10); the spawn table holds exactly 10"),
              std::string::npos) << v;
    EXPECT_NE(v.find("v.img: sector 2: has 0 walls"), std::string::npos) << v;
    // More enemies than spawn points is refused even for a small level.
    std::string many = kLevel;
    for (int i = 2; i < 13; ++i) many += "object " + std::to_string(i) + " 9 3000 3000 0 0\n";
    EXPECT_NE(joined(validate(compile(many))).find("12 enemies"), std::string::npos);
}

// Any 49,180 bytes at all: the validator lists what is wrong and returns.
TEST(LevelValidator, GarbageImagesAreListedNotCrashedOn) {
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    uint32_t seed = 99;
    for (int round = 0; round < 6; ++round) {
        for (uint8_t& b : image) {
            seed = seed * 1103515245u + 12345u;
            b = static_cast<uint8_t>(seed >> 24);
            if (round % 2 == 1) b &= 0x07;  // small values reach deeper into the checks
        }
        auto g = std::make_unique<GameState>();
        ASSERT_TRUE(decodeLevelImage(image, *g));
        const LevelOrigin origin{"junk.img", nullptr};
        const auto v = validateLevel(*g, origin);
        EXPECT_GT(v.size(), 100u);
        EXPECT_EQ(v.front().rfind("junk.img: ", 0), 0u) << v.front();
        // A short list words the same first faults and counts every one of the rest.
        for (const size_t listed : {size_t{0}, size_t{1}, MAX_LISTED_FAULTS, v.size() - 1, v.size()}) {
            std::vector<std::string> cut(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(listed));
            if (listed < v.size()) cut.push_back("and " + std::to_string(v.size() - listed) + " more faults");
            EXPECT_EQ(validateLevel(*g, origin, LevelSize::Full, listed), cut) << "round " << round << ", " << listed;
        }
        EXPECT_EQ(validateLevel(*g, origin, LevelSize::Full, MAX_LISTED_FAULTS), listedFaults(v));
    }
}

TEST(LevelValidator, HugeCoordinatesAreJudgedExactly) {
    // Far corners, where 64-bit cross products would overflow: the loops, portals and the start
    // are judged sound, and only the level's span is too wide to play.
    std::string s = edited("point a 0 0", "point a -2147483648 -2147483648");
    s = s.replace(s.find("point e 0 4096"), 14, "point e -2147483648 4096");
    s = s.replace(s.find("start 512 512"), 13, "start -2147482000 -2147481000");
    EXPECT_EQ(joined(validate(compile(s))),
              "v.level: the walls' x coordinates run from -2147483648 to 5120, a span of 2147488768 units; "
              "the renderer and the game's distances handle at most 100000\n"
              "v.level: the walls' y coordinates run from -2147483648 to 4096, a span of 2147487744 units; "
              "the renderer and the game's distances handle at most 100000\n");
}

}  // namespace
}  // namespace krello
