// A checksum of everything a game carries from one update to the next, for replays.
#include "replay/state_checksum.h"

#include "replay/crc32.h"

namespace krello {

namespace {

void addPlayer(Crc32& c, const PlayerState& p) {
    c.addU32(static_cast<uint32_t>(p.x));
    c.addU32(static_cast<uint32_t>(p.y));
    c.addU32(static_cast<uint32_t>(p.z));
    c.addU16(static_cast<uint16_t>(p.angle));
    c.addU16(static_cast<uint16_t>(p.sector));
}

void addObject(Crc32& c, const GameObject& o) {
    c.addU32(static_cast<uint32_t>(o.x));
    c.addU32(static_cast<uint32_t>(o.y));
    c.addU32(static_cast<uint32_t>(o.z));
    c.addU16(static_cast<uint16_t>(o.timer));
    c.addByte(o.sprite);
    c.addByte(o.kindHigh);
    c.addByte(o.size);
    for (uint16_t v : {o.sector, o.flags, o.angle, o.cooldown, o.vx, o.vy, o.vz}) {
        c.addU16(static_cast<uint16_t>(v));
    }
}

void addVariables(Crc32& c, const GameState& g) {
    c.addU32(g.randomState);
    c.addU16(static_cast<uint16_t>(g.frameDt));
    c.addU32(g.lastTime);
    for (int16_t v : {g.turnSpeed, g.moveSpeed, g.fallSpeed, g.fireCooldown, g.spriteFlipTimer,
                      g.fireballTimer}) {
        c.addU16(static_cast<uint16_t>(v));
    }
    for (int32_t v : {g.onGround, g.score, g.gameOver}) c.addU32(static_cast<uint32_t>(v));
}

}  // namespace

uint32_t gameStateChecksum(const GameState& g) {
    Crc32 c;
    addPlayer(c, g.player);
    addPlayer(c, g.prevPlayer);
    addVariables(c, g);
    for (const GameObject& o : g.objects) addObject(c, o);
    for (const Sector& s : g.sectors) c.addU16(static_cast<uint16_t>(s.objectCount));
    for (const SpawnPoint& p : g.spawnPoints) {
        c.addU32(static_cast<uint32_t>(p.x));
        c.addU32(static_cast<uint32_t>(p.y));
        c.addU32(static_cast<uint32_t>(p.z));
        c.addU16(static_cast<uint16_t>(p.sector));
    }
    // Slots 9..13 are the ones the animation moves; the others never change after start-up.
    c.add(std::span<const uint8_t>(g.textures).subspan(9 * TEXTURE_BYTES, 5 * TEXTURE_BYTES));
    return c.value();
}

}  // namespace krello
