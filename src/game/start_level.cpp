// Level start-up: object counts, kinds into flags and sprites, spawn table, textures, clock.
#include "game/start_level.h"

#include "game/enemies.h"

namespace krello {

namespace {

// Every object counts once into its load sector, idle shot slots included. An object whose
// sector lies outside the table is left uncounted rather than written past the table.
void countObjects(GameState& g) {
    for (Sector& s : g.sectors) s.objectCount = 0;
    for (const GameObject& o : g.objects) {
        if (!isSector(o.sector)) continue;
        Sector& s = g.sectors[static_cast<size_t>(o.sector)];
        s.objectCount = static_cast<int16_t>(static_cast<uint16_t>(s.objectCount) + 1u);
    }
}

void appendSpawnPoint(GameState& g, const GameObject& o, int& spawnCount) {
    // The table holds ten points. A level with more enemies keeps its first ten as spawn
    // points; the rest still play but add none, so nothing is written past the table.
    if (spawnCount >= SPAWN_COUNT) return;
    SpawnPoint& p = g.spawnPoints[spawnCount++];
    p.x = o.x;
    p.y = o.y;
    p.z = o.z;
    p.sector = o.sector;
}

// The shots' billboards: the shot's frames in the orange ramp for the player's, the red for the enemies'.
constexpr uint8_t PLAYER_SHOT_SPRITE = textureAttribute(3, SHOT_SLOT);
constexpr uint8_t ENEMY_SHOT_SPRITE = textureAttribute(2, SHOT_SLOT);

// A shot's new sprite is written as the whole 16-bit word, so the kind's high byte becomes 0.
void setShotSprite(GameObject& o, uint8_t sprite) {
    o.sprite = sprite;
    o.kindHigh = 0;
}

// The four tests run one after another on the same kind code; a converted shot's sprite
// (203 or 139) matches no kind, so nothing is converted twice.
static_assert(PLAYER_SHOT_SPRITE == 203 && ENEMY_SHOT_SPRITE == 139);
void convertKinds(GameState& g) {
    int spawnCount = 0;
    for (GameObject& o : g.objects) {
        const uint16_t kind = kindCode(o);
        if (kind == KIND_ENEMY_AWAKE) {
            wakeEnemy(o);
            appendSpawnPoint(g, o, spawnCount);
        }
        if (kind == KIND_ENEMY_DORMANT) {
            o.flags = OBJ_ENEMY;
            appendSpawnPoint(g, o, spawnCount);
        }
        if (kind == KIND_PLAYER_SHOT) {
            o.flags = OBJ_PLAYER_SHOT;
            setShotSprite(o, PLAYER_SHOT_SPRITE);
        }
        if (kind == KIND_ENEMY_SHOT) {
            o.flags = OBJ_ENEMY_SHOT;
            setShotSprite(o, ENEMY_SHOT_SPRITE);
        }
    }
}

// The steps in their order, the textures made by `build`.
template <typename BuildTextures>
void startWith(GameState& g, PlatformSeam& platform, BuildTextures build) {
    countObjects(g);
    convertKinds(g);
    build();
    g.prevPlayer.x = g.player.x;
    g.prevPlayer.y = g.player.y;
    // Read after the textures: the first update's frameDt measures from here.
    g.lastTime = platform.readClock();
}

}  // namespace

void startLevel(GameState& g, PlatformSeam& platform) {
    startWith(g, platform, [&] { buildTextures(g); });
}

void startLevel(GameState& g, PlatformSeam& platform, const DrawnTextures& drawn) {
    startWith(g, platform, [&] { buildTextures(g, drawn); });
}

}  // namespace krello
