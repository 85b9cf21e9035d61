// The bot's eyes: the objects the frame drew, and nothing it did not.
#include "playtest/perception.h"

namespace krello::playtest {

void perceive(const GameState& g, uint32_t drawnObjects, uint32_t timeMs, Perception& out) {
    out.timeMs = timeMs;
    out.self = g.player;
    out.turnSpeed = g.turnSpeed;
    out.moveSpeed = g.moveSpeed;
    out.onGround = g.onGround != 0;
    out.gameOver = g.gameOver != 0;
    out.score = g.score;
    out.count = 0;
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        if (!((drawnObjects >> i) & 1u)) continue;
        const GameObject& o = g.objects[static_cast<size_t>(i)];
        Sighting& s = out.seen[out.count];
        if (o.flags & OBJ_ENEMY) {
            s.kind = Seen::Enemy;
        } else if (o.flags & OBJ_ENEMY_SHOT) {
            s.kind = Seen::EnemyShot;
        } else {
            continue;
        }
        s.x = o.x;
        s.y = o.y;
        s.sector = o.sector;
        ++out.count;
    }
}

}  // namespace krello::playtest
