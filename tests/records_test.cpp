// The records against their stored bytes: a record written out by hand at its documented offsets
// decodes to the same record built field by field, reserved bytes included.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "world/level_image.h"

namespace krello {
namespace {

// No padding anywhere, so comparing bytes compares every field.
static_assert(std::has_unique_object_representations_v<PlayerState>);
static_assert(std::has_unique_object_representations_v<Sector>);
static_assert(std::has_unique_object_representations_v<Wall>);
static_assert(std::has_unique_object_representations_v<GameObject>);

template <typename Record>
bool sameBytes(const Record& a, const Record& b) { return std::memcmp(&a, &b, sizeof(Record)) == 0; }

// Little-endian stores into an image, whatever the host.
void put16(std::array<uint8_t, LEVEL_IMAGE_BYTES>& image, size_t at, int v) {
    image[at] = static_cast<uint8_t>(v & 0xFF);
    image[at + 1] = static_cast<uint8_t>((static_cast<unsigned>(v) >> 8) & 0xFF);
}
void put32(std::array<uint8_t, LEVEL_IMAGE_BYTES>& image, size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

class RecordsFromImage : public ::testing::Test {
protected:
    void SetUp() override {
        image = std::make_unique<std::array<uint8_t, LEVEL_IMAGE_BYTES>>();
        g = std::make_unique<GameState>();
    }
    void decode() { ASSERT_TRUE(decodeLevelImage(*image, *g)); }
    std::unique_ptr<std::array<uint8_t, LEVEL_IMAGE_BYTES>> image;
    std::unique_ptr<GameState> g;
};

TEST_F(RecordsFromImage, PlayerAndSector) {
    put32(*image, 0, -123456); put32(*image, 4, 7890); put32(*image, 8, -8000);
    put16(*image, 12, 2047); put16(*image, 14, 190);
    PlayerState player{-123456, 7890, -8000, 2047, 190};

    const size_t s = IMAGE_SECTORS_OFFSET + 190 * sizeof(Sector);
    put16(*image, s, 1137); put16(*image, s + 2, 0xFFFF);
    put32(*image, s + 4, -465920); put32(*image, s + 8, 65536);
    (*image)[s + 12] = 0x12; (*image)[s + 16] = 0xC3; (*image)[s + 19] = 0x7E; (*image)[s + 20] = 0xF0;
    (*image)[s + 24] = 0x45; (*image)[s + 28] = 63; (*image)[s + 32] = 0x80; (*image)[s + 37] = 1;
    put16(*image, s + 38, -3);
    Sector sector{};
    sector.firstWall = 1137;
    sector.wallCount = 0xFFFF;
    sector.ceilingZ = -465920;
    sector.floorZ = 65536;
    sector.reserved12[0] = 0x12;
    sector.ceilingTexture = 0xC3;
    sector.reserved17[2] = 0x7E;
    sector.ceilingShade = -16;
    sector.floorTexture = 0x45;
    sector.floorShade = 63;
    sector.shadeFalloff = -128;
    sector.reserved33[4] = 1;
    sector.objectCount = -3;

    decode();
    EXPECT_TRUE(sameBytes(g->player, player));
    EXPECT_TRUE(sameBytes(g->sectors[190], sector));
}

TEST_F(RecordsFromImage, WallAndObject) {
    const size_t w = IMAGE_WALLS_OFFSET + 1137 * sizeof(Wall);
    put32(*image, w, 1 << 20); put32(*image, w + 4, -(1 << 20));
    put16(*image, w + 8, 1130); put16(*image, w + 10, -1); put16(*image, w + 12, 42);
    (*image)[w + 15] = 9; (*image)[w + 16] = 0x47; (*image)[w + 18] = 0xAA; (*image)[w + 20] = 0xFB;
    (*image)[w + 22] = 0xFE; (*image)[w + 23] = 16; (*image)[w + 29] = 5; put16(*image, w + 30, 319);
    Wall wall{};
    wall.x = 1 << 20;
    wall.y = -(1 << 20);
    wall.point2 = 1130;
    wall.otherWall = -1;
    wall.nextSector = 42;
    wall.reserved14[1] = 9;
    wall.texture = 0x47;
    wall.reserved17[1] = 0xAA;
    wall.shade = -5;
    wall.repeatU = -2;
    wall.repeatV = 16;
    wall.reserved24[5] = 5;
    wall.mark = 319;

    const size_t o = IMAGE_OBJECTS_OFFSET + 22 * sizeof(GameObject);
    put32(*image, o, 100); put32(*image, o + 4, -200); put32(*image, o + 8, 300);
    put16(*image, o + 12, 1500); put16(*image, o + 14, KIND_ENEMY_DORMANT);
    (*image)[o + 21] = 48; put16(*image, o + 24, 17); put16(*image, o + 26, OBJ_ENEMY);
    put16(*image, o + 28, -32768); put16(*image, o + 30, 700);
    put16(*image, o + 32, -10); put16(*image, o + 34, 20); put16(*image, o + 36, -30);
    (*image)[o + 43] = 0x5A;
    GameObject object{};
    object.x = 100;
    object.y = -200;
    object.z = 300;
    object.timer = 1500;
    object.sprite = KIND_ENEMY_DORMANT;
    object.size = 48;
    object.sector = 17;
    object.flags = OBJ_ENEMY;
    object.angle = -32768;
    object.cooldown = 700;
    object.vx = -10;
    object.vy = 20;
    object.vz = -30;
    object.reserved38[5] = 0x5A;

    decode();
    EXPECT_TRUE(sameBytes(g->walls[1137], wall));
    EXPECT_TRUE(sameBytes(g->objects[22], object));
    EXPECT_EQ(kindCode(g->objects[22]), KIND_ENEMY_DORMANT);
    // The neighbours stay untouched by a record at the end of its table.
    EXPECT_TRUE(sameBytes(g->walls[1136], Wall{}));
    EXPECT_TRUE(sameBytes(g->objects[21], GameObject{}));
}

}  // namespace
}  // namespace krello
