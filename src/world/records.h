// The level's record layouts and table sizes, byte for byte as the level image stores them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace krello {

constexpr int SECTOR_COUNT = 191;
constexpr int WALL_COUNT = 1138;
constexpr int OBJECT_COUNT = 23;
constexpr int SPAWN_COUNT = 10;
constexpr int TEXTURE_COUNT = 14;
constexpr int TEXTURE_SIDE = 128;

// What each slot of the texture bank holds: the nine surfaces, the enemy's picture and its
// mirror image (the animation swaps them), and the shot's three frames (the animation rotates
// them, so every shot shows slot SHOT_SLOT). Slots 14 and 15 hold nothing.
constexpr int LAST_SURFACE_SLOT = 8;
constexpr int ENEMY_SLOT = 9;
constexpr int ENEMY_MIRROR_SLOT = 10;
constexpr int SHOT_SLOT = 11;
constexpr int SHOT_FRAMES = 3;
static_assert(SHOT_SLOT + SHOT_FRAMES == TEXTURE_COUNT);
constexpr int TEXTURE_BYTES = TEXTURE_SIDE * TEXTURE_SIDE;  // 16,384 texels per slot
constexpr int TEXTURE_BANK_BYTES = TEXTURE_COUNT * TEXTURE_BYTES;
constexpr int ENEMY_PICTURE_BYTES = 4096;  // 128 rows of 32 bytes, two 4-bit pixels a byte

// Object flag bits. Only OBJ_ACTIVE comes and goes; the kind bits are fixed at start-up.
constexpr int16_t OBJ_ACTIVE = 1;
constexpr int16_t OBJ_PLAYER_SHOT = 2;
constexpr int16_t OBJ_ENEMY_SHOT = 4;
constexpr int16_t OBJ_ENEMY = 8;

// Load-time kind codes, held in the 16-bit word at offsets 14..15 of an object in the image.
constexpr uint16_t KIND_ENEMY_AWAKE = 9;
constexpr uint16_t KIND_ENEMY_DORMANT = 10;
constexpr uint16_t KIND_PLAYER_SHOT = 11;
constexpr uint16_t KIND_ENEMY_SHOT = 12;

// How far a standing player's eye is above the floor (heights grow downward, so the eye's z is
// the floor's minus this). Shots start and are tested this far below the eye.
constexpr int32_t EYE_HEIGHT = 8000;

// The player: camera and body. z is the eye height, growing downward.
struct PlayerState {
    int32_t x;       // position
    int32_t y;       // position
    int32_t z;       // eye height
    int16_t angle;   // heading, 2048 units a turn, kept in 0..2047
    int16_t sector;  // sector holding the player
};

// A floor plan with one floor and one ceiling height, bounded by loops of walls.
struct Sector {
    int16_t firstWall;         // first wall index; read as unsigned 16-bit
    uint16_t wallCount;        // walls of all loops together
    int32_t ceilingZ;          // smaller than floorZ: z grows downward
    int32_t floorZ;            // floor height
    uint8_t reserved12[4];     // carried, never read
    uint8_t ceilingTexture;    // texture attribute byte: slot in bits 0..3, ramp in bits 6..7
    uint8_t reserved17[3];     // carried, never read
    int8_t ceilingShade;       // darkness bias; 63 or more shows black
    uint8_t reserved21[3];     // carried, never read
    uint8_t floorTexture;      // texture attribute byte
    uint8_t reserved25[3];     // carried, never read
    int8_t floorShade;         // darkness bias
    uint8_t reserved29[3];     // carried, never read
    int8_t shadeFalloff;       // how fast the sector darkens with distance; 0 = not at all
    uint8_t reserved33[5];     // carried, never read
    int16_t objectCount;       // runtime: objects registered here; only 0 hides them
};

// A directed edge from its own point to the point of wall point2.
struct Wall {
    int32_t x;              // first point
    int32_t y;              // first point
    int16_t point2;         // next wall of the loop; its point ends this wall
    int16_t otherWall;      // the same edge seen from behind, or -1 for a solid wall
    int16_t nextSector;     // the sector behind a portal, or -1
    uint8_t reserved14[2];  // carried, never read
    uint8_t texture;        // texture attribute byte (only this byte is read)
    uint8_t reserved17[3];  // may be non-zero in the level
    int8_t shade;           // darkness bias
    uint8_t reserved21;     // carried, never read
    int8_t repeatU;         // horizontal repeat; negative runs the texture backwards
    int8_t repeatV;         // vertical scale: one texture row covers 1024 / repeatV units
    uint8_t reserved24[6];  // carried, never read
    int16_t mark;           // runtime: -1 clear, -2 a portal crossed in this update
};

// An enemy, a player shot or an enemy shot; pooled, never created or destroyed.
struct GameObject {
    int32_t x;              // position
    int32_t y;              // position
    int32_t z;              // foot point height
    int16_t timer;          // shots: remaining life in ms
    uint8_t sprite;         // billboard texture attribute; with the next byte, the kind code in the image
    uint8_t kindHigh;       // high byte of the kind code; 0 in the level
    uint8_t reserved16[5];  // carried, never read (the level image sets bytes 2 and 4)
    uint8_t size;           // vertical texture scale of the billboard
    uint8_t reserved22[2];  // carried, never read
    int16_t sector;         // sector holding the object
    int16_t flags;          // OBJ_* bits
    int16_t angle;          // heading; any 16-bit value, used through cos and sin only
    int16_t cooldown;       // enemies: ms until the next shot
    int16_t vx;             // velocity along x
    int16_t vy;             // velocity along y
    int16_t vz;             // velocity along z
    uint8_t reserved38[6];  // carried, never read (the level image sets bytes 4 and 5)
};

// Where an enemy can come back into play.
struct SpawnPoint {
    int32_t x;              // where the enemy stood at start-up
    int32_t y;              // where the enemy stood at start-up
    int32_t z;              // its foot point height
    int16_t sector;         // its sector
    uint8_t reserved14[2];  // never written or read
};

static_assert(sizeof(PlayerState) == 16);
static_assert(offsetof(PlayerState, angle) == 12 && offsetof(PlayerState, sector) == 14);

static_assert(sizeof(Sector) == 40);
static_assert(offsetof(Sector, wallCount) == 2 && offsetof(Sector, ceilingZ) == 4);
static_assert(offsetof(Sector, floorZ) == 8 && offsetof(Sector, ceilingTexture) == 16);
static_assert(offsetof(Sector, ceilingShade) == 20 && offsetof(Sector, floorTexture) == 24);
static_assert(offsetof(Sector, floorShade) == 28 && offsetof(Sector, shadeFalloff) == 32);
static_assert(offsetof(Sector, objectCount) == 38);

static_assert(sizeof(Wall) == 32);
static_assert(offsetof(Wall, point2) == 8 && offsetof(Wall, otherWall) == 10);
static_assert(offsetof(Wall, nextSector) == 12 && offsetof(Wall, texture) == 16);
static_assert(offsetof(Wall, shade) == 20 && offsetof(Wall, repeatU) == 22);
static_assert(offsetof(Wall, repeatV) == 23 && offsetof(Wall, mark) == 30);

static_assert(sizeof(GameObject) == 44);
static_assert(offsetof(GameObject, timer) == 12 && offsetof(GameObject, sprite) == 14);
static_assert(offsetof(GameObject, size) == 21 && offsetof(GameObject, sector) == 24);
static_assert(offsetof(GameObject, flags) == 26 && offsetof(GameObject, angle) == 28);
static_assert(offsetof(GameObject, cooldown) == 30 && offsetof(GameObject, vx) == 32);
static_assert(offsetof(GameObject, vy) == 34 && offsetof(GameObject, vz) == 36);

static_assert(sizeof(SpawnPoint) == 16 && offsetof(SpawnPoint, sector) == 12);

// The texture slot and the ramp offset of an attribute byte, and the byte that names both.
constexpr int textureSlot(uint8_t attribute) { return attribute & 0x0F; }
constexpr int rampOffset(uint8_t attribute) { return attribute & 0xC0; }
constexpr uint8_t textureAttribute(int ramp, int slot) {
    return static_cast<uint8_t>(((ramp << 6) & 0xC0) | (slot & 0x0F));
}

// Whether an index read from the level names a real table entry. A 16-bit index read as
// signed or unsigned gets the same answer: a negative one names nothing.
constexpr bool isSector(int32_t s) { return s >= 0 && s < SECTOR_COUNT; }
constexpr bool isWall(int32_t w) { return w >= 0 && w < WALL_COUNT; }

// The load-time kind code of an object as stored in the image.
constexpr uint16_t kindCode(const GameObject& o) {
    return static_cast<uint16_t>(o.sprite | (o.kindHigh << 8));
}

}  // namespace krello
