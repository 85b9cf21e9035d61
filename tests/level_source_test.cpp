// The level source compiler: tables laid out from a small source, portals derived from shared
// edges, and malformed sources rejected line by line without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "level/level_file.h"
#include "level/level_source.h"
#include "level/level_validator.h"
#include "world/random.h"

namespace krello {
namespace {

// Two 1024-unit squares side by side, sharing the edge b-c, with one enemy in the second.
const std::string kTwoRooms = R"(level 1
point a 0 0
point b 1024 0
point c 1024 1024
point d 0 1024
point e 2048 0
point f 2048 1024
start 512 512 0 0 0            # line 8
sector 0
  ceiling -8192 floor 0
  ceilingTexture 0x55 ceilingShade 7 floorTexture 3 floorShade -2 falloff 16
  walls texture 2 shade 5 repeatV 8
  loop a b c d                   # line 13: walls 0..3
  wall d a texture 0x41 repeatU -1
sector 1
  ceiling -4096 floor 0
  loop b e f c                   # line 17: walls 4..7
object 0 10 1536 512 0 1
object 1 11 1500 500 0 1 timer 1 cooldown 5 vx -3
)";

struct Compiled {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    LevelSourceMap map;
    std::vector<std::string> errors;
    bool ok = false;
};

Compiled compile(const std::string& text, LevelSize size = LevelSize::Partial) {
    Compiled c;
    c.ok = compileLevelSource(text, "t.level", size, *c.g, c.map, c.errors);
    return c;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

// Replaces the first occurrence of `from` in the small level.
std::string edited(const std::string& from, const std::string& to) {
    std::string s = kTwoRooms;
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

TEST(LevelSource, LaysOutSectorsWallsAndLoopsInSourceOrder) {
    const Compiled c = compile(kTwoRooms);
    ASSERT_TRUE(c.ok) << joined(c.errors);
    const GameState& g = *c.g;
    EXPECT_EQ(g.sectors[0].firstWall, 0);
    EXPECT_EQ(g.sectors[0].wallCount, 4);
    EXPECT_EQ(g.sectors[1].firstWall, 4);
    EXPECT_EQ(g.sectors[1].wallCount, 4);
    EXPECT_EQ(g.sectors[0].ceilingZ, -8192);
    EXPECT_EQ(g.sectors[1].ceilingZ, -4096);
    EXPECT_EQ(g.sectors[0].ceilingTexture, 0x55);
    EXPECT_EQ(g.sectors[0].ceilingShade, 7);
    EXPECT_EQ(g.sectors[0].floorTexture, 3);
    EXPECT_EQ(g.sectors[0].floorShade, -2);
    EXPECT_EQ(g.sectors[0].shadeFalloff, 16);
    const int point2[8] = {1, 2, 3, 0, 5, 6, 7, 4};
    for (int w = 0; w < 8; ++w) EXPECT_EQ(g.walls[w].point2, point2[w]) << w;
    EXPECT_EQ(g.walls[2].x, 1024);
    EXPECT_EQ(g.walls[2].y, 1024);
    EXPECT_EQ(c.map.sectorCount, 2);
    EXPECT_EQ(c.map.wallCount, 8);
    EXPECT_EQ(c.map.objectCount, 2);
    EXPECT_EQ(c.map.startLine, 8);
    EXPECT_EQ(c.map.wallLine[1], 13);
    EXPECT_EQ(c.map.wallLine[5], 17);
    EXPECT_EQ(g.player.x, 512);
    EXPECT_EQ(g.player.sector, 0);
}

TEST(LevelSource, SharedEdgesInOppositeDirectionsBecomePortalPairs) {
    const Compiled c = compile(kTwoRooms);
    ASSERT_TRUE(c.ok) << joined(c.errors);
    const GameState& g = *c.g;
    // Wall 1 runs b->c in sector 0, wall 7 runs c->b in sector 1.
    EXPECT_EQ(g.walls[1].otherWall, 7);
    EXPECT_EQ(g.walls[1].nextSector, 1);
    EXPECT_EQ(g.walls[7].otherWall, 1);
    EXPECT_EQ(g.walls[7].nextSector, 0);
    for (int w : {0, 2, 3, 4, 5, 6}) {
        EXPECT_EQ(g.walls[w].otherWall, -1) << w;
        EXPECT_EQ(g.walls[w].nextSector, -1) << w;
    }
}

TEST(LevelSource, WallSettingsComeFromTheWallLineThenTheSectorThenTheDefaults) {
    const Compiled c = compile(kTwoRooms);
    ASSERT_TRUE(c.ok) << joined(c.errors);
    const GameState& g = *c.g;
    EXPECT_EQ(g.walls[0].texture, 2);  // sector defaults
    EXPECT_EQ(g.walls[0].shade, 5);
    EXPECT_EQ(g.walls[0].repeatV, 8);
    EXPECT_EQ(g.walls[0].repeatU, 8);  // auto, square texels: round(1024 * 8 * 125 / 122880) = 8
    EXPECT_EQ(g.walls[3].texture, 0x41);  // its own wall line
    EXPECT_EQ(g.walls[3].shade, 5);
    EXPECT_EQ(g.walls[3].repeatU, -1);
    EXPECT_EQ(g.walls[4].texture, 0);  // format defaults
    EXPECT_EQ(g.walls[4].repeatV, 16);
    EXPECT_EQ(g.walls[4].repeatU, 17);  // round(16.67)
}

// Wall 4 runs from b (1024, 0) to e at repeatV 16: its repeat is round(length / 1024).
TEST(LevelSource, AutomaticRepeatRoundsToTheNearestWholeRepeat) {
    // Wall 4 runs 1024 units short of e; at repeatV 16 a repeat spans 61.44 units.
    for (const auto& [e, repeat] : {std::pair{"1101", 1}, {"1132", 2}, {"1177", 2}, {"1178", 3}}) {
        const Compiled c = compile(edited("point e 2048 0", std::string("point e ") + e + " 0"));
        ASSERT_TRUE(c.ok) << joined(c.errors);
        EXPECT_EQ(c.g->walls[4].repeatU, repeat) << "e at x " << e;
    }
}

TEST(LevelSource, AutomaticRepeatIsClampedTo127) {
    std::string s = edited("point e 2048 0", "point e 900000 0");
    s = std::string(s).replace(s.find("point f 2048 1024"), 17, "point f 900000 1024");
    const Compiled c = compile(s);
    ASSERT_TRUE(c.ok) << joined(c.errors);
    EXPECT_EQ(c.g->walls[4].repeatU, 127);  // 898976 units at repeatV 16 would be 14632
    EXPECT_EQ(c.g->walls[5].repeatU, 17);
}

TEST(LevelSource, RuntimeFieldsAndObjectDefaultsAreWhatTheGameExpects) {
    const Compiled c = compile(kTwoRooms);
    ASSERT_TRUE(c.ok) << joined(c.errors);
    const GameState& g = *c.g;
    for (const Sector& s : g.sectors) EXPECT_EQ(s.objectCount, -1);
    for (const Wall& w : g.walls) EXPECT_EQ(w.mark, -1);
    const GameObject& o = g.objects[0];
    EXPECT_EQ(kindCode(o), 10);
    EXPECT_EQ(o.x, 1536);
    EXPECT_EQ(o.sector, 1);
    EXPECT_EQ(o.size, 64);
    EXPECT_EQ(o.angle, 1536);
    EXPECT_EQ(o.cooldown, -1);
    EXPECT_EQ(o.timer, 0);
    EXPECT_EQ(o.flags, 0);
    const uint8_t r16[5] = {0, 0, 32, 0, 64}, r38[6] = {0, 0, 0, 0, 0xFF, 0xFF};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(o.reserved16[i], r16[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(o.reserved38[i], r38[i]);
    const GameObject& shot = g.objects[1];
    EXPECT_EQ(kindCode(shot), 11);
    EXPECT_EQ(shot.timer, 1);
    EXPECT_EQ(shot.cooldown, 5);
    EXPECT_EQ(shot.vx, -3);
}

TEST(LevelSource, PicturePacksTwoPixelsABytePixelOnTheLeftInTheLowNibble) {
    std::string picture = "picture\n";
    for (int r = 0; r < 128; ++r) {
        std::string row(64, '.');
        if (r == 3) row[0] = '1', row[1] = 'F', row[63] = 'a';
        picture += row + "\n";
    }
    const Compiled c = compile(kTwoRooms + picture + "end\n");
    ASSERT_TRUE(c.ok) << joined(c.errors);
    EXPECT_EQ(c.g->enemyPicture[3 * 32 + 0], 0xF1);
    EXPECT_EQ(c.g->enemyPicture[3 * 32 + 31], 0xA0);
    EXPECT_EQ(c.g->enemyPicture[0], 0);
}

struct Malformed {
    const char* name;
    std::string text;
    std::string expected;  // a part of the one message that must appear
};

TEST(LevelSource, MalformedSourcesAreRejectedWithTheLineAndWhatIsWrong) {
    const std::string cut = kTwoRooms.substr(0, kTwoRooms.find("floor 0\n  loop b e f c") + 5);
    std::string shortPicture = kTwoRooms + "picture\n";
    for (int r = 0; r < 5; ++r) shortPicture += std::string(64, '1') + "\n";
    const Malformed cases[] = {
        {"not a number", edited("ceiling -8192", "ceiling -81x2"),
         "t.level:10: ceiling: '-81x2' is not a number"},
        {"huge number", edited("point e 2048 0", "point e 2048 99999999999999999999999999"),
         "t.level:6: point y: 99999999999999999999999999 is out of range -2147483648..2147483647"},
        {"byte field too big", edited("floorTexture 3", "floorTexture 256"),
         "floorTexture: 256 is out of range 0..255"},
        {"unknown point", edited("loop b e f c", "loop b e g c"), "t.level:17: unknown point 'g'"},
        {"duplicate point", edited("point f 2048 1024", "point e 2048 1024"),
         "t.level:7: point e defined twice (first on line 6)"},
        {"sector out of order", edited("sector 1", "sector 5"),
         "t.level:15: sector 5 out of order: expected sector 1"},
        {"truncated in a sector", cut, "t.level:16: 'floor' has no value"},
        {"truncated picture", shortPicture, "the picture is not closed by 'end'"},
        {"missing start", edited("start 512 512 0 0 0", ""), "no 'start' statement"},
        {"missing level line", edited("level 1\n", ""), "t.level:1: the first statement must be 'level 1'"},
        {"unknown statement", edited("falloff 16", "falloff 16 glow 3"), "unknown sector key 'glow'"},
        {"short loop", edited("loop a b c d", "loop a b"), "a loop needs at least 3 points"},
        {"zero-length wall", edited("loop a b c d", "loop a b b c d"), "has zero length"},
        {"wall line for no wall", edited("wall d a", "wall a c"), "no wall a -> c in this sector"},
        {"bad kind", edited("object 0 10", "object 0 13"), "object kind: 13 is out of range 9..12"},
        {"object out of order", edited("object 1 11", "object 4 11"), "object 4 out of order"},
        {"binary garbage", std::string("level 1\n\x01\x02\xff\xfe", 12), "t.level:2: byte 0x01 is not text"},
        {"portal into its own sector",
         edited("  loop b e f c", "  loop b e f c\n  loop c f e"),
         "portal into its own sector: the edge"},
        {"edge shared by three walls",
         edited("object 0", "sector 2\n ceiling 0 floor 1024\n loop c b e\nobject 0"),
         "is shared by 3 walls"},
    };
    for (const Malformed& m : cases) {
        const Compiled c = compile(m.text);
        EXPECT_FALSE(c.ok) << m.name;
        EXPECT_NE(joined(c.errors).find(m.expected), std::string::npos)
            << m.name << ": got\n" << joined(c.errors);
    }
}

// Sources with exactly `count` sectors, walls or objects.
std::string withSectors(int count) {
    std::string text = "level 1\nstart 0 0 0 0 0\n";
    for (int i = 0; i < count; ++i) text += "sector " + std::to_string(i) + "\n ceiling 0 floor 1024\n";
    return text;
}

std::string withWalls(int count) {
    std::string points, sectors;
    for (int sector = 0, p = 0; count > 0; ++sector) {
        int k = std::min(100, count);
        if (count - k > 0 && count - k < 3) k -= 3;  // every loop has three walls at least
        sectors += "sector " + std::to_string(sector) + "\n ceiling 0 floor 1024\n loop";
        for (int i = 0; i < k; ++i, ++p) {
            const double a = 6.283185307179586 * i / k;
            points += "point p" + std::to_string(p) + " " + std::to_string(sector * 100000 + static_cast<int>(20000 * std::cos(a))) +
                      " " + std::to_string(static_cast<int>(20000 * std::sin(a))) + "\n";
            sectors += " p" + std::to_string(p);
        }
        sectors += "\n";
        count -= k;
    }
    return "level 1\n" + points + "start 0 0 0 0 0\n" + sectors;
}

std::string withObjects(int count) {
    std::string objects;
    for (int i = 2; i < count; ++i) objects += "object " + std::to_string(i) + " 12 600 600 0 0\n";
    return kTwoRooms + objects;
}

// Each table's bound, exactly at the edge: the last record that fits is taken, the next refused
// before the builder writes past the table.
TEST(LevelSource, EachTableTakesItsLastRecordAndRefusesTheNext) {
    const struct {
        std::string (*source)(int);
        int fits;
        std::string refusal;
    } tables[] = {
        {withSectors, 191, "more than 191 sectors"},
        {withWalls, 1138, "more than 1138 walls"},
        {withObjects, 23, "more than 23 objects"},
    };
    for (const auto& t : tables) {
        EXPECT_EQ(joined(compile(t.source(t.fits)).errors).find(t.refusal), std::string::npos) << t.refusal;
        EXPECT_NE(joined(compile(t.source(t.fits + 1)).errors).find(t.refusal), std::string::npos)
            << t.refusal << ": " << joined(compile(t.source(t.fits + 1)).errors).substr(0, 300);
    }
    EXPECT_NE(joined(compile(withObjects(24)).errors).find("t.level:41: more than 23 objects"), std::string::npos);
}

TEST(LevelSource, TheFullLevelMustFillEveryTable) {
    const Compiled c = compile(kTwoRooms, LevelSize::Full);
    EXPECT_FALSE(c.ok);
    const std::string e = joined(c.errors);
    EXPECT_NE(e.find("t.level: 2 sectors, the level needs 191"), std::string::npos) << e;
    EXPECT_NE(e.find("t.level: 2 objects, the level needs 23"), std::string::npos) << e;
    EXPECT_NE(e.find("t.level: no picture"), std::string::npos) << e;
}

// Random damage to a good source must always end in a verdict, never in a crash or a hang.
TEST(LevelSource, DamagedSourcesNeverCrashTheCompilerOrTheValidator) {
    uint32_t seed = 12345;
    auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    int rejected = 0;
    for (int round = 0; round < 400; ++round) {
        std::string s = kTwoRooms;
        const int edits = 1 + static_cast<int>(next() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = next() % s.size();
            switch (next() % 3) {
                case 0: s[at] = static_cast<char>(next() & 0xFF); break;
                case 1: s.erase(at, next() % 20); break;
                default: s.insert(at, std::to_string(int64_t{next()} * 99991 * (next() % 2 ? -1 : 1))); break;
            }
            if (s.empty()) s.assign(1, 'x');  // not `= "x"`: g++ 12 -O3 warns (-Wrestrict) on that
        }
        const Compiled c = compile(s);
        if (!c.ok) {
            ++rejected;
            continue;
        }
        const LevelOrigin origin{"t.level", &c.map};
        rejected += !validateLevel(*c.g, origin, LevelSize::Partial).empty();
    }
    EXPECT_GT(rejected, 300);
}

TEST(LevelFile, AWrongSizedImageIsRefusedWithItsSize) {
    const std::string path = testing::TempDir() + "/short_image_" + std::to_string(getpid()) + ".bin";
    {
        std::ofstream out(path, std::ios::binary);
        const char bytes[6] = {1, 0, 2, 0, 3, 0};
        out.write(bytes, 6);
    }
    auto g = std::make_unique<GameState>();
    LevelFile file;
    EXPECT_FALSE(readLevelFile(path, LevelSize::Full, *g, file));
    ASSERT_EQ(file.errors.size(), 1u);
    EXPECT_EQ(file.errors[0], path + ": neither a level source (byte 0x01 on line 1 is not text) nor a level "
                                     "image (6 bytes; an image holds 49180)");
    std::remove(path.c_str());

    EXPECT_FALSE(readLevelFile(path, LevelSize::Full, *g, file));
    EXPECT_EQ(joined(file.errors), path + ": cannot open the level: No such file or directory\n");
}

}  // namespace
}  // namespace krello
