// The playtest bot's decisions: remember what was seen, dodge, fight, search, or walk on.
#include "playtest/bot_brain.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/platform_seam.h"
#include "playtest/turn_keys.h"
#include "world/angle.h"
#include "world/portable_trig.h"

namespace krello::playtest {
namespace {

// How a player plays, whatever the skill. Fixed, like the skills: the playtest measures the
// level with them.
constexpr double SAME_ENEMY = 600.0;        // an enemy seen this near one remembered is that one
constexpr uint32_t FORGET_MS = 10000;       // an enemy not seen for this long is forgotten
constexpr uint32_t SEARCH_MS = 3000;        // looks toward where an enemy went out of sight this long
constexpr double SAME_SHOT = 250.0;         // a shot seen this near one seen a frame before is that one
constexpr uint32_t SHOT_GONE_MS = 300;      // a shot not seen for this long has gone
constexpr uint32_t FIRE_INTERVAL_MS = 700;  // the gun's rhythm, which a player soon learns
constexpr double ON_TARGET = 1.5;           // angle units between the view and the aim point to fire
constexpr double CROSSING = 20.0;           // a view sweeping over the aim point within this fires too
constexpr uint32_t GIVE_UP_MS = 12000;      // a fight that scores nothing this long is given up
constexpr uint32_t IGNORE_MS = 8000;        // and enemies are then left alone this long
constexpr uint32_t FIGHT_OVER_MS = 2000;    // a fight is over when no enemy was fought this long
constexpr double APPROACH = 3500.0;         // walks toward an enemy farther than this
constexpr double APPROACH_ANGLE = 64.0;     // when it lies within this of the view
constexpr int32_t STEP_RISE = 4096;         // jumps where the floor ahead rises more than a stair step
constexpr double JUMP_REACH = 700.0;        // from this near the step
constexpr uint32_t REPLAN_MS = 1000;        // looks at the map again at least this often
constexpr double FRONT = 150.0;             // lines up this far before a portal's middle
constexpr double BEYOND = 400.0;            // then walks to this far past it
constexpr double WALK_ANGLE = 128.0;        // walks while the way lies within this of the view
constexpr double WAY_BACK_ANGLE = 32.0;     // within this, going back into the sector the game holds
constexpr double RETREAT_WALK_ANGLE = 256.0;
constexpr double ROOM_ENOUGH = 600.0;       // room to step aside into
constexpr double WALL_STOP = 150.0;         // stops stepping aside this near a wall
constexpr uint32_t STUCK_WINDOW_MS = 2000;  // exploring this long and moving less than
constexpr double STUCK_MOVE = 150.0;        // this much is being stuck
constexpr uint32_t UNSTICK_MS = 700;        // then it turns aside while walking, and jumps
constexpr uint32_t ASTRAY_MS = 300;         // outside the sector the game holds this long, it goes back
constexpr uint32_t AVOID_MS = 30000;        // a portal it stuck at twice is left out of routes this long
constexpr double DEGREES_TO_UNITS = 2048.0 / 360.0;

constexpr uint8_t UP = keyBit(GameKey::Up);
constexpr uint8_t JUMP = keyBit(GameKey::A);
constexpr uint8_t FIRE = keyBit(GameKey::Space);

Vec2 positionOf(const PlayerState& p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// The heading, in angle units, that looks from `from` to `to`.
double bearing(Vec2 from, Vec2 to) { return portableAtan2(to.y - from.y, to.x - from.x) * ANGLE_UNITS_PER_RADIAN; }

// The unit vector of a heading, to the nearest angle unit (the portable sine and cosine, so a
// seed decides alike on every platform).
Vec2 headingVector(double units) {
    const SinCos sc = sinCosOfAngle(static_cast<int32_t>(units + (units < 0 ? -0.5 : 0.5)));
    return {sc.cos, sc.sin};
}

}  // namespace

BotBrain::BotBrain(const LevelGraph& graph, const LevelAreas& areas, const SkillProfile& skill, uint64_t seed)
    : graph_(graph),
      areas_(areas),
      skill_(skill),
      random_(seed),
      visitedArea_(static_cast<size_t>(areas.count()), false),
      areaVisitedAt_(static_cast<size_t>(areas.count()), 0) {
    routes_.cost.fill(std::numeric_limits<double>::infinity());
    routes_.first.fill(-1);
}

uint8_t BotBrain::think(const Perception& now) {
    if (now.timeMs > lastThink_) lastDt_ = static_cast<uint16_t>(std::min<uint32_t>(now.timeMs - lastThink_, 200));
    sinceTrigger_ += now.timeMs - lastThink_;
    lastThink_ = now.timeMs;
    // Where the player sees itself, which is where the game says unless a step was pushed
    // back just past a portal (or -1, outside every sector).
    here_ = graph_.sectorAt(positionOf(now.self), now.self.sector);
    remember(now);
    markVisited(here_, now.timeMs);
    if (now.gameOver) return 0;
    if (here_ != now.self.sector) {
        if (astraySince_ == 0) {
            astraySince_ = now.timeMs;
            unstickRight_ = random_.below(2) == 1;
        }
        if (now.timeMs - astraySince_ > ASTRAY_MS) return wayBack(now);
    } else {
        astraySince_ = 0;
    }
    if (skill_.retreats && now.timeMs < retreatUntil_) return retreat(now);
    if (now.timeMs >= ignoreUntil_) {
        const int target = visibleTarget(now);
        if (target >= 0) return fight(now, enemies_[static_cast<size_t>(target)], target);
        // Out of sight: look where it was last seen for a while.
        const RememberedEnemy* last = nullptr;
        for (const RememberedEnemy& e : enemies_)
            if (e.used && (!last || e.lastSeen > last->lastSeen)) last = &e;
        if (last && digestedAny_ && lastView_ - last->lastSeen < SEARCH_MS) return search(now, *last);
    }
    if (now.timeMs - lastFight_ > FIGHT_OVER_MS) engagedSince_ = 0;
    return explore(now);
}

// Keeps the frame, then acts on every frame that is now `reactionMs` old.
void BotBrain::remember(const Perception& now) {
    Shown& slot = shown_[shownNext_];
    slot.timeMs = now.timeMs;
    slot.count = now.count;
    for (uint8_t i = 0; i < now.count; ++i) slot.seen[i] = now.seen[i];
    shownNext_ = (shownNext_ + 1) % shown_.size();
    if (shownCount_ < shown_.size()) ++shownCount_;
    const size_t oldest = (shownNext_ + shown_.size() - shownCount_) % shown_.size();
    for (size_t k = 0; k < shownCount_; ++k) {
        const Shown& frame = shown_[(oldest + k) % shown_.size()];
        if (frame.timeMs + static_cast<uint32_t>(skill_.reactionMs) > now.timeMs) break;
        if (digestedAny_ && frame.timeMs <= digestedUpTo_) continue;
        digest(frame, now);
        digestedUpTo_ = frame.timeMs;
        digestedAny_ = true;
        lastView_ = frame.timeMs;
    }
    for (RememberedEnemy& e : enemies_)
        if (e.used && now.timeMs - e.lastSeen > FORGET_MS) e.used = false;
}

void BotBrain::digest(const Shown& frame, const Perception& now) {
    for (uint8_t i = 0; i < frame.count; ++i) {
        const Sighting& s = frame.seen[i];
        const Vec2 at{static_cast<double>(s.x), static_cast<double>(s.y)};
        if (s.kind == Seen::Enemy) {
            // The same enemy as the nearest one remembered that this frame has not yet placed.
            // A new one takes a free place, or the place of the one seen longest ago.
            RememberedEnemy* same = nullptr;
            RememberedEnemy* spare = nullptr;
            for (RememberedEnemy& e : enemies_) {
                if (!e.used) {
                    if (!spare || spare->used) spare = &e;
                } else if (!spare || (spare->used && e.lastSeen < spare->lastSeen)) {
                    spare = &e;
                }
                if (e.used && e.lastSeen != frame.timeMs && distance(e.at, at) < SAME_ENEMY &&
                    (!same || distance(e.at, at) < distance(same->at, at)))
                    same = &e;
            }
            RememberedEnemy& e = same ? *same : *spare;
            e = {at, s.sector, frame.timeMs, true};
        } else {
            TrackedShot* same = nullptr;
            for (TrackedShot& t : shots_)
                if (t.used && t.lastSeen != frame.timeMs && distance(t.at, at) < SAME_SHOT) same = &t;
            if (!same) {
                noticeShot(at, now);
                for (TrackedShot& t : shots_)
                    if (!t.used) {
                        same = &t;
                        break;
                    }
            }
            if (same) *same = {at, frame.timeMs, true};
        }
    }
    for (TrackedShot& t : shots_)
        if (t.used && frame.timeMs - t.lastSeen > SHOT_GONE_MS) t.used = false;
}

// A shot has appeared: a regular turns across its line and walks out of it.
void BotBrain::noticeShot(Vec2 shot, const Perception& now) {
    if (!skill_.retreats) return;
    const Vec2 me = positionOf(now.self);
    const double line = bearing(shot, me);
    const double sides[2] = {line + 512.0, line - 512.0};
    double room[2];
    double turn[2];
    for (int k = 0; k < 2; ++k) {
        room[k] = graph_.room(here_, me, headingVector(sides[k]), 2000.0);
        turn[k] = std::fabs(wrapAngleUnits(sides[k] - now.self.angle));
    }
    int pick = turn[0] <= turn[1] ? 0 : 1;
    if (room[pick] < ROOM_ENOUGH && room[1 - pick] > room[pick]) pick = 1 - pick;
    retreatHeading_ = sides[pick];
    retreatUntil_ = now.timeMs + static_cast<uint32_t>(skill_.retreatMs);
}

void BotBrain::markVisited(int sector, uint32_t now) {
    const int area = areas_.areaOfSector(sector);
    if (area < 0) return;
    visitedArea_[static_cast<size_t>(area)] = true;
    areaVisitedAt_[static_cast<size_t>(area)] = now;
}

// The nearest enemy the last frame acted on showed.
int BotBrain::visibleTarget(const Perception& now) const {
    int best = -1;
    double bestDistance = 0.0;
    for (size_t i = 0; i < enemies_.size(); ++i) {
        const RememberedEnemy& e = enemies_[i];
        if (!e.used || !digestedAny_ || e.lastSeen != lastView_) continue;
        const double d = distance(e.at, positionOf(now.self));
        if (best < 0 || d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

// Across the shot's line, as far as the room allows: a player stops at a wall.
uint8_t BotBrain::retreat(const Perception& now) {
    const double error = wrapAngleUnits(retreatHeading_ - now.self.angle);
    const TurnChoice turn = chooseTurn(error, now.turnSpeed, static_cast<int16_t>(lastDt_));
    const bool room = graph_.room(here_, positionOf(now.self), headingVector(now.self.angle), WALL_STOP) >= WALL_STOP;
    progressOn_ = false;
    return static_cast<uint8_t>(turn.keys | (std::fabs(error) < RETREAT_WALK_ANGLE && room ? UP : 0));
}

uint8_t BotBrain::fight(const Perception& now, const RememberedEnemy& target, int index) {
    if (engagedSince_ == 0 || now.score != scoreAtEngage_) {
        engagedSince_ = now.timeMs;
        scoreAtEngage_ = now.score;
    }
    lastFight_ = now.timeMs;
    if (now.timeMs - engagedSince_ > GIVE_UP_MS) {
        ignoreUntil_ = now.timeMs + IGNORE_MS;
        engagedSince_ = 0;
        return explore(now);
    }
    if (index != target_) {  // a new target: aim afresh
        target_ = index;
        aimErrorUnits_ = random_.normal() * skill_.aimSigmaDeg * DEGREES_TO_UNITS;
    }
    const Vec2 me = positionOf(now.self);
    const double error = wrapAngleUnits(bearing(me, target.at) + aimErrorUnits_ - now.self.angle);
    const TurnChoice turn = chooseTurn(error, now.turnSpeed, static_cast<int16_t>(lastDt_));
    uint8_t keys = turn.keys;
    // The shot leaves along the heading of the next update.
    const double after = error - turn.nextTurn;
    const bool onTarget = std::fabs(after) <= ON_TARGET ||
                          (std::fabs(error) < CROSSING && std::fabs(after) < CROSSING && (error > 0) != (after > 0));
    if (onTarget && sinceTrigger_ >= FIRE_INTERVAL_MS) {
        keys |= FIRE;
        sinceTrigger_ = 0;
        aimErrorUnits_ = random_.normal() * skill_.aimSigmaDeg * DEGREES_TO_UNITS;
    }
    if (distance(me, target.at) > APPROACH && std::fabs(error) < APPROACH_ANGLE) keys |= UP;
    progressOn_ = false;
    return keys;
}

uint8_t BotBrain::search(const Perception& now, const RememberedEnemy& target) {
    const double error = wrapAngleUnits(bearing(positionOf(now.self), target.at) - now.self.angle);
    progressOn_ = false;
    return chooseTurn(error, now.turnSpeed, static_cast<int16_t>(lastDt_)).keys;
}

// The nearest sector of an area not yet reached; once all are, of the one reached longest ago.
int BotBrain::chooseGoal(const Perception& now) const {
    int best = -1;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        const int area = areas_.areaOfSector(s);
        if (area < 0 || visitedArea_[static_cast<size_t>(area)] || !(routes_.cost[static_cast<size_t>(s)] < 1.0e300))
            continue;
        if (best < 0 || routes_.cost[static_cast<size_t>(s)] < routes_.cost[static_cast<size_t>(best)]) best = s;
    }
    if (best >= 0) return best;
    const int here = areas_.areaOfSector(now.self.sector);
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        const int area = areas_.areaOfSector(s);
        if (area < 0 || area == here || !(routes_.cost[static_cast<size_t>(s)] < 1.0e300)) continue;
        if (best < 0) {
            best = s;
            continue;
        }
        const int bestArea = areas_.areaOfSector(best);
        const uint32_t at = areaVisitedAt_[static_cast<size_t>(area)];
        const uint32_t bestAt = areaVisitedAt_[static_cast<size_t>(bestArea)];
        if (at < bestAt || (area == bestArea && routes_.cost[static_cast<size_t>(s)] < routes_.cost[static_cast<size_t>(best)]))
            best = s;
    }
    return best;
}

uint8_t BotBrain::explore(const Perception& now) {
    if (now.timeMs < unstickUntil_) return unstick(now);
    const Vec2 me = positionOf(now.self);
    const int sector = here_ >= 0 ? here_ : now.self.sector;
    if (now.timeMs >= replanAt_ || routes_.start != sector ||
        (goal_ >= 0 && areas_.areaOfSector(goal_) >= 0 && visitedArea_[static_cast<size_t>(areas_.areaOfSector(goal_))])) {
        planRoutes(graph_, sector, me, avoid_, now.timeMs, routes_);
        goal_ = chooseGoal(now);
        replanAt_ = now.timeMs + REPLAN_MS;
    }
    uint8_t keys = 0;
    const int step = goal_ >= 0 ? routes_.first[static_cast<size_t>(goal_)] : -1;
    if (step < 0) {
        // Nowhere left to go: walk the room's edge.
        nextPortal_ = -1;
        keys = static_cast<uint8_t>(UP | keyBit(GameKey::Right));
    } else {
        const Portal& portal = graph_.portals(sector)[static_cast<size_t>(step)];
        nextPortal_ = portal.wall;
        // First to a point before the opening's middle, then straight through it: a step that
        // crosses a portal near its end and meets a wall just behind is pushed back, and leaves
        // the player outside the sector the game then says it is in.
        const Vec2 along{portal.inward.y, -portal.inward.x};
        const Vec2 rel = me - portal.mid;
        const double before = rel.x * portal.inward.x + rel.y * portal.inward.y;
        const double aside = std::fabs(rel.x * along.x + rel.y * along.y);
        const bool linedUp = before < FRONT + 60.0 && aside < std::max(portal.width / 2.0 - 60.0, 30.0);
        Vec2 to = linedUp ? portal.mid - portal.inward * BEYOND : portal.mid + portal.inward * FRONT;
        Vec2 via;
        if (!graph_.walkable(sector, me, to, portal.wall) && graph_.detour(sector, me, to, portal.wall, via)) to = via;
        keys = walkToward(now, to, WALK_ANGLE);
        if (portal.rise > STEP_RISE && distance(me, portal.mid) < JUMP_REACH && now.onGround) keys |= JUMP;
    }
    watchProgress(now);
    return keys;
}

uint8_t BotBrain::walkToward(const Perception& now, Vec2 to, double walkAngle) {
    const double error = wrapAngleUnits(bearing(positionOf(now.self), to) - now.self.angle);
    const uint8_t keys = chooseTurn(error, now.turnSpeed, static_cast<int16_t>(lastDt_)).keys;
    return static_cast<uint8_t>(keys | (std::fabs(error) < walkAngle ? UP : 0));
}

// Exploring that gets nowhere for a while is being stuck: turn aside while walking, and jump;
// at the same portal twice, leave that portal out of the routes for a while.
void BotBrain::watchProgress(const Perception& now) {
    const Vec2 me = positionOf(now.self);
    if (!progressOn_) {
        progressOn_ = true;
        progressFrom_ = me;
        progressSince_ = now.timeMs;
        return;
    }
    if (now.timeMs - progressSince_ < STUCK_WINDOW_MS) return;
    if (distance(me, progressFrom_) < STUCK_MOVE) {
        unstickUntil_ = now.timeMs + UNSTICK_MS;
        unstickRight_ = random_.below(2) == 1;
        stuckTimes_ = nextPortal_ == stuckPortal_ ? stuckTimes_ + 1 : 1;
        stuckPortal_ = nextPortal_;
        if (stuckTimes_ >= 2 && nextPortal_ >= 0) {
            avoid_[static_cast<size_t>(nextPortal_)] = now.timeMs + AVOID_MS;
            replanAt_ = now.timeMs;
            stuckTimes_ = 0;
        }
    }
    progressFrom_ = me;
    progressSince_ = now.timeMs;
}

// Outside the sector the game holds, the player walks through every wall but that sector's:
// back into one of its solid walls, which puts it inside again; failing that, wander.
uint8_t BotBrain::wayBack(const Perception& now) {
    progressOn_ = false;
    Vec2 to;
    if (graph_.wayBack(now.self.sector, positionOf(now.self), to)) return walkToward(now, to, WAY_BACK_ANGLE);
    const uint32_t phase = (now.timeMs - astraySince_) % 1000;
    if (phase < 500) return keyBit(GameKey::Down);
    return static_cast<uint8_t>(UP | keyBit(unstickRight_ ? GameKey::Right : GameKey::Left) | (now.onGround ? JUMP : 0));
}

uint8_t BotBrain::unstick(const Perception& now) {
    progressOn_ = false;
    uint8_t keys = static_cast<uint8_t>(UP | keyBit(unstickRight_ ? GameKey::Right : GameKey::Left));
    if (now.onGround && unstickUntil_ - now.timeMs > UNSTICK_MS - 100) keys |= JUMP;
    return keys;
}

}  // namespace krello::playtest
