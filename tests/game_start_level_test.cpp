// Level start-up (counts, kinds, spawn table, clock) and the texture animation's cadence.
#include <gtest/gtest.h>

#include <memory>

#include "game/start_level.h"
#include "game/texture_animation.h"
#include "game/update_game.h"
#include "level/builtin_level.h"
#include "replay/headless_platform.h"
#include "replay/state_checksum.h"
#include "world/textures.h"

namespace krello {
namespace {

// A platform whose clock reading notes whether the textures were already built.
class CheckingClock final : public PlatformSeam {
public:
    explicit CheckingClock(const GameState& g) : g_(g) {}
    bool texturesBuiltWhenRead = false;
    int reads = 0;
    uint32_t readClock() override {
        ++reads;
        for (uint8_t t : g_.textures) texturesBuiltWhenRead |= t != 0;
        return 4242;
    }
    bool keyHeld(GameKey) override { return false; }
    void tintPalette(int) override {}

private:
    const GameState& g_;
};

void setKind(GameObject& o, uint16_t kind, int16_t sector) {
    o.sprite = static_cast<uint8_t>(kind);
    o.kindHigh = static_cast<uint8_t>(kind >> 8);
    o.sector = sector;
    o.x = 100 * sector;
    o.cooldown = -1;
    o.angle = 1536;
}

TEST(GameStartLevel, KindsBecomeFlagsSpritesAndSpawnPoints) {
    auto g = std::make_unique<GameState>();
    for (Sector& s : g->sectors) s.objectCount = -1;
    const uint16_t kinds[OBJECT_COUNT] = {10, 9, 11, 12, 7, 0x010B, 10, 9, 10, 10, 10,
                                          10, 10, 10, 10, 11, 12, 12, 12, 12, 12, 12, 12};
    for (int i = 0; i < OBJECT_COUNT; ++i) setKind(g->objects[static_cast<size_t>(i)], kinds[i], static_cast<int16_t>(i % 4));
    g->player.x = 7542;
    g->player.y = 38995;
    CheckingClock clock(*g);
    startLevel(*g, clock);

    const GameObject* o = g->objects.data();
    EXPECT_EQ(o[0].flags, OBJ_ENEMY);
    EXPECT_EQ(o[0].sprite, 10);
    EXPECT_EQ(o[0].angle, 1536);
    EXPECT_EQ(o[1].flags, OBJ_ENEMY | OBJ_ACTIVE);
    EXPECT_EQ(o[1].sprite, 9);
    EXPECT_EQ(o[1].vx, 10);
    EXPECT_EQ(o[1].angle, 0);
    EXPECT_EQ(o[1].cooldown, -1);  // fires in the first update
    EXPECT_EQ(o[2].flags, OBJ_PLAYER_SHOT);
    EXPECT_EQ(o[2].sprite, 0xCB);
    EXPECT_EQ(o[2].kindHigh, 0);
    EXPECT_EQ(o[3].flags, OBJ_ENEMY_SHOT);
    EXPECT_EQ(o[3].sprite, 0x8B);
    EXPECT_EQ(o[4].flags, 0);     // an unknown kind takes no part
    EXPECT_EQ(o[5].flags, 0);     // 0x010B is not a shot
    EXPECT_EQ(o[5].kindHigh, 1);

    // Twelve enemies: the first ten become the spawn points in table order; the rest are
    // not written past the table.
    const int enemyIndex[SPAWN_COUNT] = {0, 1, 6, 7, 8, 9, 10, 11, 12, 13};
    for (int k = 0; k < SPAWN_COUNT; ++k) {
        EXPECT_EQ(g->spawnPoints[static_cast<size_t>(k)].x, o[enemyIndex[k]].x) << k;
        EXPECT_EQ(g->spawnPoints[static_cast<size_t>(k)].sector, o[enemyIndex[k]].sector) << k;
    }
    // Every object counts into its sector, whatever its kind.
    EXPECT_EQ(g->sectors[0].objectCount, 6);
    EXPECT_EQ(g->sectors[1].objectCount, 6);
    EXPECT_EQ(g->sectors[3].objectCount, 5);
    EXPECT_EQ(g->sectors[4].objectCount, 0);

    EXPECT_EQ(clock.reads, 1);
    EXPECT_TRUE(clock.texturesBuiltWhenRead);
    EXPECT_EQ(g->lastTime, 4242u);
    EXPECT_EQ(g->prevPlayer.x, 7542);
    EXPECT_EQ(g->prevPlayer.y, 38995);
    EXPECT_EQ(g->prevPlayer.z, 0);
}

TEST(GameStartLevel, ShippedLevelObjectCounts) {
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    HeadlessPlatform platform;
    startLevel(*g, platform);
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        int expected = 0;
        if (s == 154) expected = 13;
        if (s == 128) expected = 3;
        if (s == 140) expected = 2;
        if (s == 129 || s == 148 || s == 156 || s == 158 || s == 164) expected = 1;
        EXPECT_EQ(g->sectors[static_cast<size_t>(s)].objectCount, expected) << "sector " << s;
    }
    // The textures took the only draws before the first update.
    uint32_t state = 1;
    for (int i = 0; i < 149856; ++i) state = state * 214013u + 2531011u;
    EXPECT_EQ(g->randomState, state);

    // The first update: the eight dormant enemies come into play (three draws each) and the
    // two awake ones, still at the image's cooldown of -1, fire at once.
    platform.clock = 16;
    updateGame(*g, platform);
    int enemies = 0;
    int enemyShots = 0;
    for (const GameObject& o : g->objects) {
        enemies += (o.flags == (OBJ_ENEMY | OBJ_ACTIVE));
        enemyShots += (o.flags == (OBJ_ENEMY_SHOT | OBJ_ACTIVE));
    }
    EXPECT_EQ(enemies, 10);
    EXPECT_EQ(enemyShots, 2);
    EXPECT_EQ(g->player.z, g->sectors[static_cast<size_t>(g->player.sector)].floorZ - 8000);
}

// A bank drawn once and handed to each start-up gives the game the start-up alone gives: for the
// shipped level, a level with another enemy picture, and a game at another random state (built as
// usual, since the drawn bank began at 1).
TEST(GameStartLevel, DrawnBankStartsTheSameGame) {
    const auto drawn = std::make_unique<DrawnTextures>();
    drawTextures(*drawn);
    const struct {
        const char* what;
        uint8_t picture;      // every byte of the enemy picture, 0: the shipped one
        uint32_t randomState;
    } cases[] = {{"shipped", 0, 1}, {"another enemy", 0x5A, 1}, {"another random state", 0, 7}};
    for (const auto& c : cases) {
        auto a = std::make_unique<GameState>();
        loadBuiltinLevel(*a);
        if (c.picture != 0) a->enemyPicture.fill(c.picture);
        a->randomState = c.randomState;
        auto b = std::make_unique<GameState>(*a);
        HeadlessPlatform platform;
        startLevel(*a, platform);
        startLevel(*b, platform, *drawn);
        EXPECT_EQ(a->textures, b->textures) << c.what;
        EXPECT_EQ(a->randomState, b->randomState) << c.what;
        EXPECT_EQ(gameStateChecksum(*a), gameStateChecksum(*b)) << c.what;
    }
}

// The updates (1-based) in which the enemy pictures flip and the shot pictures rotate.
void animationUpdates(int16_t dt, int updates, std::vector<int>& flips, std::vector<int>& rotations) {
    auto g = std::make_unique<GameState>();
    for (int slot = 9; slot < 14; ++slot) g->textures[static_cast<size_t>(slot * TEXTURE_BYTES)] = static_cast<uint8_t>(slot);
    g->frameDt = dt;
    for (int u = 1; u <= updates; ++u) {
        const uint8_t enemy = g->textures[9 * TEXTURE_BYTES];
        const uint8_t shot = g->textures[11 * TEXTURE_BYTES];
        animateTextures(*g);
        if (g->textures[9 * TEXTURE_BYTES] != enemy) flips.push_back(u);
        if (g->textures[11 * TEXTURE_BYTES] != shot) rotations.push_back(u);
    }
}

TEST(GameTextureAnimation, CadenceDropsTheOvershoot) {
    std::vector<int> flips;
    std::vector<int> rotations;
    animationUpdates(16, 64, flips, rotations);
    EXPECT_EQ(flips, (std::vector<int>{32, 64}));
    EXPECT_EQ(rotations, (std::vector<int>{7, 14, 21, 28, 35, 42, 49, 56, 63}));
    flips.clear();
    rotations.clear();
    animationUpdates(200, 6, flips, rotations);
    EXPECT_EQ(flips, (std::vector<int>{3, 6}));
    EXPECT_EQ(rotations.size(), 6u);
    flips.clear();
    rotations.clear();
    animationUpdates(100, 4, flips, rotations);
    EXPECT_EQ(rotations, (std::vector<int>{2, 4}));  // exactly 100 is not over 100
    flips.clear();
    animationUpdates(50, 22, flips, rotations);
    EXPECT_EQ(flips, (std::vector<int>{11, 22}));  // exactly 500 is not over 500
}

TEST(GameTextureAnimation, PicturesSwapAndRotateWhole) {
    auto g = std::make_unique<GameState>();
    for (int slot = 9; slot < 14; ++slot) {
        for (int i = 0; i < TEXTURE_BYTES; ++i) {
            g->textures[static_cast<size_t>(slot * TEXTURE_BYTES + i)] = static_cast<uint8_t>(slot * 7 + i);
        }
    }
    const auto before = g->textures;
    g->frameDt = 200;
    animateTextures(*g);  // rotation only
    auto slotEq = [&](int now, int was) {
        for (int i = 0; i < TEXTURE_BYTES; ++i) {
            if (g->textures[static_cast<size_t>(now * TEXTURE_BYTES + i)] != before[static_cast<size_t>(was * TEXTURE_BYTES + i)]) return false;
        }
        return true;
    };
    EXPECT_TRUE(slotEq(12, 11));
    EXPECT_TRUE(slotEq(13, 12));
    EXPECT_TRUE(slotEq(11, 13));
    EXPECT_TRUE(slotEq(9, 9));
    animateTextures(*g);
    animateTextures(*g);  // third: flip too, and the shots are back where they started
    EXPECT_TRUE(slotEq(9, 10));
    EXPECT_TRUE(slotEq(10, 9));
    EXPECT_TRUE(slotEq(11, 11));
}

}  // namespace
}  // namespace krello
