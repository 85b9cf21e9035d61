// The level image: record layout in the file, the exact round trip, and reading image files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "level/builtin_level.h"
#include "world/level_image.h"

namespace krello {
namespace {

TEST(LevelImage, DecodesFieldsLittleEndianAtTheirOffsets) {
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    // Player angle at byte 12, sector at 14.
    image[12] = 0x43; image[13] = 0x01;
    image[14] = 0x97;
    // Sector 2: firstWall 0xFFFE (read as unsigned), ceilingZ -465920, objectCount -1.
    const size_t s = IMAGE_SECTORS_OFFSET + 2 * 40;
    image[s + 0] = 0xFE; image[s + 1] = 0xFF;
    const int32_t ceiling = -465920;
    for (int i = 0; i < 4; ++i) image[s + 4 + i] = static_cast<uint8_t>(uint32_t(ceiling) >> (8 * i));
    image[s + 16] = 0x55; image[s + 20] = 0x41;
    image[s + 38] = 0xFF; image[s + 39] = 0xFF;
    // Wall 830: otherWall 822, repeatU 255, reserved byte 17 set.
    const size_t w = IMAGE_WALLS_OFFSET + 830 * 32;
    image[w + 10] = 822 & 0xFF; image[w + 11] = 822 >> 8;
    image[w + 17] = 0xAB; image[w + 22] = 0xFF;
    // Object 10: kind 11 in the word at 14..15, cooldown -1.
    const size_t o = IMAGE_OBJECTS_OFFSET + 10 * 44;
    image[o + 14] = 11; image[o + 30] = 0xFF; image[o + 31] = 0xFF;
    image[IMAGE_PICTURE_OFFSET] = 0x21;
    image[LEVEL_IMAGE_BYTES - 1] = 0x99;

    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(decodeLevelImage(image, *g));
    EXPECT_EQ(g->player.angle, 323);
    EXPECT_EQ(g->player.sector, 151);
    EXPECT_EQ(static_cast<uint16_t>(g->sectors[2].firstWall), 0xFFFE);
    EXPECT_EQ(g->sectors[2].ceilingZ, -465920);
    EXPECT_EQ(g->sectors[2].ceilingTexture, 0x55);
    EXPECT_EQ(g->sectors[2].ceilingShade, 65);
    EXPECT_EQ(g->sectors[2].objectCount, -1);
    EXPECT_EQ(g->walls[830].otherWall, 822);
    EXPECT_EQ(g->walls[830].repeatU, -1);
    EXPECT_EQ(g->walls[830].reserved17[0], 0xAB);
    EXPECT_EQ(kindCode(g->objects[10]), KIND_PLAYER_SHOT);
    EXPECT_EQ(g->objects[10].cooldown, -1);
    EXPECT_EQ(g->enemyPicture[0], 0x21);
    EXPECT_EQ(g->enemyPicture[ENEMY_PICTURE_BYTES - 1], 0x99);
}

TEST(LevelImage, RoundTripIsExactForEveryByte) {
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    uint32_t v = 12345;
    for (auto& b : image) {
        v = v * 1103515245u + 12345u;
        b = static_cast<uint8_t>(v >> 16);
    }
    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(decodeLevelImage(image, *g));
    std::array<uint8_t, LEVEL_IMAGE_BYTES> back{};
    encodeLevelImage(*g, back);
    EXPECT_EQ(image, back);

    std::array<uint8_t, LEVEL_IMAGE_BYTES> builtin{};
    auto h = std::make_unique<GameState>();
    loadBuiltinLevel(*h);
    encodeLevelImage(*h, builtin);
    EXPECT_TRUE(std::equal(builtin.begin(), builtin.end(), builtinLevelImage().begin()));
}

TEST(LevelImage, RejectsWrongSizes) {
    auto g = std::make_unique<GameState>();
    std::array<uint8_t, LEVEL_IMAGE_BYTES + 1> big{};
    EXPECT_FALSE(decodeLevelImage(std::span<const uint8_t>(big.data(), big.size()), *g));
    EXPECT_FALSE(decodeLevelImage(std::span<const uint8_t>(big.data(), 100), *g));
}

}  // namespace
}  // namespace krello
