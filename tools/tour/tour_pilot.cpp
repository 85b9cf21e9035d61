// An autopilot that plays the level to produce a tour input script: it walks, turns, jumps,
// hunts and shoots enemies, and finally walks into enemy fire until the game is over.
#include "tour/tour_pilot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <memory>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "replay/headless_platform.h"
#include "world/angle.h"
#include "world/distance.h"
#include "world/portable_trig.h"
#include "world/portal_walk.h"

namespace krello {

namespace {

// The pilot's state between updates.
struct Pilot {
    uint32_t seed = 12345;
    long update = 0;
    long minUpdates = 0;
    int32_t lastX = 0, lastY = 0;
    int stuckFor = 0;
    int wiggle = 0;  // updates left of turning away from a wall
    bool wiggleRight = true;
    int evade = 0;  // updates left of walking an arc after a shot, out of the line of fire
    size_t destination = 0;  // next sector of the sightseeing part

    uint32_t next() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFFu;
    }
};

// Sector hops from the player's sector to every sector through portals, and for each sector
// the portal wall by which a shortest route leaves the player's sector toward it.
struct Routes {
    std::array<int, SECTOR_COUNT> hops{};
    std::array<int, SECTOR_COUNT> firstPortal{};
};

Routes findRoutes(const GameState& g) {
    Routes r;
    r.hops.fill(-1);
    r.firstPortal.fill(-1);
    const int start = g.player.sector;
    if (!isSector(start)) return r;
    r.hops[static_cast<size_t>(start)] = 0;
    walkPortals(
        g, static_cast<uint16_t>(start), [](uint16_t) { return true; },
        [&](uint16_t from, uint16_t wall, uint16_t to) {
            r.hops[to] = r.hops[from] + 1;
            r.firstPortal[to] = from == start ? wall : r.firstPortal[from];
        });
    return r;
}

// The active enemy fewest portals away (nearest on a tie), or nullptr.
const GameObject* targetEnemy(const GameState& g, const Routes& r) {
    const GameObject* best = nullptr;
    long bestScore = 0;
    for (const GameObject& o : g.objects) {
        if ((o.flags & (OBJ_ENEMY | OBJ_ACTIVE)) != (OBJ_ENEMY | OBJ_ACTIVE)) continue;
        if (!isSector(o.sector) || r.hops[static_cast<size_t>(o.sector)] < 0) continue;
        const long score = r.hops[static_cast<size_t>(o.sector)] * 100000L + playerDistance2D(g.player, o);
        if (!best || score < bestScore) {
            best = &o;
            bestScore = score;
        }
    }
    return best;
}

// How far to turn (angle units, -1024..1023) to face the point.
int turnToward(const GameState& g, double x, double y) {
    const int want = static_cast<int>(portableAtan2(y - g.player.y, x - g.player.x) * ANGLE_UNITS_PER_RADIAN);
    return ((want - g.player.angle) % 2048 + 3072) % 2048 - 1024;
}

// Where to walk to leave through portal wall w: its middle, and once close, a little beyond it.
void portalTarget(const GameState& g, int w, double& x, double& y) {
    const Wall& a = g.walls[static_cast<size_t>(w)];
    const Wall& b = g.walls[static_cast<size_t>(static_cast<uint16_t>(a.point2) % WALL_COUNT)];
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double len = std::sqrt(ex * ex + ey * ey) + 0.01;
    x = (a.x + b.x) / 2.0;
    y = (a.y + b.y) / 2.0;
    if (std::hypot(x - g.player.x, y - g.player.y) < 400) {
        // The sector's inside lies on the side of (-ey, ex); beyond is the other way.
        x += ey / len * 600;
        y -= ex / len * 600;
    }
}

// The sectors the first half of the tour walks through, in order: the hall with the raised
// blocks, the rooms around it, and back to the open area.
constexpr int SIGHTS[] = {128, 140, 156, 140, 164, 158, 128};

// The sector to walk to while sightseeing, or -1 once that part is over.
int nextSight(Pilot& p, const GameState& g) {
    constexpr size_t count = sizeof SIGHTS / sizeof SIGHTS[0];
    while (p.destination < count && SIGHTS[p.destination] == g.player.sector) ++p.destination;
    if (p.destination >= count || p.update >= p.minUpdates * 2 / 5) return -1;
    return SIGHTS[p.destination];
}

uint8_t steer(int turn, int deadZone) {
    if (turn > deadZone) return keyBit(GameKey::Right);
    if (turn < -deadZone) return keyBit(GameKey::Left);
    return 0;
}

// Keys for one update: first see the sights, then head for the enemy fewest portals away, shooting it while the game
// runs and walking into its fire in the last part; turn away from walls that stop the walk;
// jump now and then.
uint8_t decide(Pilot& p, const GameState& g) {
    const bool finale = p.update >= p.minUpdates * 4 / 5;
    uint8_t keys = 0;
    const int32_t moved = std::abs(g.player.x - p.lastX) + std::abs(g.player.y - p.lastY);
    p.stuckFor = (g.moveSpeed > 100 && moved < 8) ? p.stuckFor + 1 : 0;
    p.lastX = g.player.x;
    p.lastY = g.player.y;
    if (p.stuckFor > 10 && p.wiggle == 0) {
        p.wiggle = 10 + static_cast<int>(p.next() % 30);
        p.wiggleRight = (p.next() & 1) != 0;
    }
    const Routes routes = findRoutes(g);
    const GameObject* e = targetEnemy(g, routes);
    if (p.wiggle > 0) {
        --p.wiggle;
        keys |= keyBit(p.wiggleRight ? GameKey::Right : GameKey::Left) | keyBit(GameKey::Up);
    } else if (p.evade > 0) {
        --p.evade;
        keys |= keyBit(p.wiggleRight ? GameKey::Right : GameKey::Left) | keyBit(GameKey::Up);
    } else if (const int sight = nextSight(p, g); sight >= 0 && !(e && e->sector == g.player.sector &&
                                                                   playerDistance2D(g.player, *e) < 700)) {
        double x = 0;
        double y = 0;
        const int portal = routes.firstPortal[static_cast<size_t>(sight)];
        if (portal >= 0) portalTarget(g, portal, x, y);
        const int turn = portal >= 0 ? turnToward(g, x, y) : 0;
        keys |= steer(turn, 12);
        if (std::abs(turn) < 120) keys |= keyBit(GameKey::Up);
    } else if (e && e->sector == g.player.sector) {
        const int turn = turnToward(g, e->x, e->y);
        keys |= steer(turn, 3);
        const int32_t d = playerDistance2D(g.player, *e);
        if (std::abs(turn) < 120 && (finale || d > 300)) keys |= keyBit(GameKey::Up);
        if (!finale && std::abs(turn) <= 5 && g.fireCooldown <= g.frameDt) {
            keys |= keyBit(GameKey::Space);
            p.evade = 20 + static_cast<int>(p.next() % 20);
            p.wiggleRight = (p.next() & 1) != 0;
        }
    } else if (e) {
        double x = 0;
        double y = 0;
        portalTarget(g, routes.firstPortal[static_cast<size_t>(e->sector)], x, y);
        const int turn = turnToward(g, x, y);
        keys |= steer(turn, 12);
        if (std::abs(turn) < 120) keys |= keyBit(GameKey::Up);
    } else {
        keys |= keyBit(GameKey::Up) | keyBit(GameKey::Right);
    }
    if (!finale && p.next() % 90 == 0) keys |= keyBit(GameKey::A);
    if (g.gameOver) keys = static_cast<uint8_t>(keyBit(GameKey::Left) | keyBit(GameKey::Space) |
                                               ((p.update / 40) % 2 ? keyBit(GameKey::Up) : 0));
    return keys;
}

}  // namespace

namespace {

// Everything the planning loop carries, so that it can go back to an earlier point. The
// steps are not in it: going back to a point cuts them to its update count.
struct PlanPoint {
    GameState game;
    Pilot pilot;
    HeadlessPlatform platform;
    TourPlan plan;  // the counts; its steps stay empty
};

// Going back happens at most this often, each time one saved point further: older points are
// never used again and are let go, so memory stays bounded however long the tour.
constexpr int MAX_RETRIES = 400;
constexpr size_t SAVED_POINTS = MAX_RETRIES / 4 + 1;

// One update: the pilot's keys and frame time, run on the game and added to the steps.
void playOne(PlanPoint& at, std::vector<ScriptStep>& steps) {
    GameState& g = at.game;
    Pilot& p = at.pilot;
    ScriptStep step;
    step.dt = static_cast<uint16_t>(12 + p.next() % 12);
    step.keys = decide(p, g);
    steps.push_back(step);
    at.platform.apply(step);
    const int16_t cooldownBefore = g.fireCooldown;
    const bool canJump = g.onGround == 1 && (step.keys & keyBit(GameKey::A));
    runFrame(g, at.platform);
    if (g.fireCooldown == 700 && cooldownBefore != 700) ++at.plan.shotsFired;
    if (canJump) ++at.plan.jumps;
    ++p.update;
    if (g.gameOver && at.plan.gameOverAt == 0) at.plan.gameOverAt = p.update;
}

}  // namespace

TourPlan planTour(GameState& g, long minUpdates, long maxUpdates) {
    minUpdates = std::clamp(minUpdates, 0L, TOUR_MAX_UPDATES);
    maxUpdates = std::clamp(maxUpdates, 0L, 2 * TOUR_MAX_UPDATES);
    auto at = std::make_unique<PlanPoint>();
    at->game = g;
    startLevel(at->game, at->platform);
    at->pilot.minUpdates = minUpdates;
    at->pilot.lastX = at->game.player.x;
    at->pilot.lastY = at->game.player.y;
    std::vector<ScriptStep> steps;
    // A game lost before the finale goes back two saved points and tries other frame times
    // and wiggles from there, so the tour keeps moving and shooting until its last quarter.
    std::deque<std::unique_ptr<PlanPoint>> saved;
    int retries = 0;
    while (at->pilot.update < maxUpdates) {
        const long u = at->pilot.update;
        if (u >= minUpdates && at->plan.gameOverAt > 0 && u >= at->plan.gameOverAt + 100) break;
        if (u % 100 == 0 && (saved.empty() || saved.back()->pilot.update < u)) {
            saved.push_back(std::make_unique<PlanPoint>(*at));
            if (saved.size() > SAVED_POINTS) saved.pop_front();
        }
        playOne(*at, steps);
        const bool early = at->plan.gameOverAt > 0 && at->plan.gameOverAt < minUpdates * 4 / 5;
        if (early && retries < MAX_RETRIES && saved.size() > 0) {
            ++retries;
            if (saved.size() > 1 && retries % 4 == 0) saved.pop_back();
            at = std::make_unique<PlanPoint>(*saved.back());
            at->pilot.seed ^= 0x9E3779B9u * static_cast<uint32_t>(retries);
            steps.resize(static_cast<size_t>(at->pilot.update));
        }
    }
    at->plan.score = at->game.score;
    at->plan.retries = retries;
    at->plan.steps = std::move(steps);
    g = at->game;
    return at->plan;
}

}  // namespace krello
