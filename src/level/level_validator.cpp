// Checks the level's layout, loops, portals, heights, placements and texture slots, record by record.
#include "level/level_validator.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

#include "level/level_extent.h"
#include "level/loop_geometry.h"
#include "level/surface_rules.h"
#include "level/wall_meetings.h"
#include "world/portal_walk.h"

namespace krello {
namespace {

struct Loop {
    int first = 0;  // first wall
    int end = 0;    // one past the last wall
    Wide sum = 0;   // sum of x(i)*y(i+1) - x(i+1)*y(i): positive for the outer loop
};

class Validator {
public:
    Validator(const GameState& g, const LevelOrigin& origin, LevelSize size, size_t listed)
        : g_(g), origin_(origin), listed_(listed), full_(size == LevelSize::Full || origin.source == nullptr),
          allEnemies_(full_ || size == LevelSize::Playable) {
        sectors_ = full_ ? SECTOR_COUNT : std::clamp(origin.source->sectorCount, 0, SECTOR_COUNT);
        walls_ = full_ ? WALL_COUNT : std::clamp(origin.source->wallCount, 0, WALL_COUNT);
        objects_ = full_ ? OBJECT_COUNT : std::clamp(origin.source->objectCount, 0, OBJECT_COUNT);
        wallSector_.fill(-1);
        allLoops_.reserve(static_cast<size_t>(walls_));  // a loop has a wall at least: never grown
        meetings_.reserve(static_cast<size_t>(walls_));
        outer_.fill(-1);
    }

    std::vector<std::string> run() {
        checkExtent();
        checkLayout();
        for (int s = 0; s < sectors_; ++s) {
            checkLoops(s);
            checkGeometry(s);
            checkSector(s);
        }
        for (int w = 0; w < walls_; ++w) checkWall(w);
        checkReach();
        checkStart();
        checkObjects();
        if (unlisted_ > 0) out_.push_back("and " + n(static_cast<int64_t>(unlisted_)) + " more faults");
        return std::move(out_);
    }

private:
    // --- messages: one line each, naming the file, the source line if any, and the record ---

    std::string place(const std::array<int, SECTOR_COUNT>* sl, const std::array<int, WALL_COUNT>* wl,
                      const std::array<int, OBJECT_COUNT>* ol, int index, int startLine) const {
        int line = startLine;
        if (origin_.source && index >= 0) {
            if (sl) line = (*sl)[static_cast<size_t>(index)];
            if (wl) line = (*wl)[static_cast<size_t>(index)];
            if (ol) line = (*ol)[static_cast<size_t>(index)];
        }
        return line > 0 ? origin_.file + ":" + std::to_string(line) : origin_.file;
    }

    // Each fault's message is made only while the list has room; past `listed` faults are
    // only counted, since a corrupt table has thousands and a caller shows the first few.
    bool listFull() {
        if (out_.size() < listed_) return false;
        ++unlisted_;
        return true;
    }
    template <typename Message>
    void sectorError(int s, const Message& m) {
        if (listFull()) return;
        const auto* lines = origin_.source ? &origin_.source->sectorLine : nullptr;
        out_.push_back(joined(place(lines, nullptr, nullptr, s, 0), ": sector ", std::to_string(s), ": ", m()));
    }
    template <typename Message>
    void wallError(int w, const Message& m) {
        if (listFull()) return;
        const auto* lines = origin_.source ? &origin_.source->wallLine : nullptr;
        std::string in = wallSector_[static_cast<size_t>(w)] >= 0
                             ? " (sector " + std::to_string(wallSector_[static_cast<size_t>(w)]) + ")"
                             : "";
        out_.push_back(joined(place(nullptr, lines, nullptr, w, 0), ": wall ", std::to_string(w), in, ": ", m()));
    }
    template <typename Message>
    void objectError(int o, const Message& m) {
        if (listFull()) return;
        const auto* lines = origin_.source ? &origin_.source->objectLine : nullptr;
        out_.push_back(joined(place(nullptr, nullptr, lines, o, 0), ": object ", std::to_string(o), ": ", m()));
    }
    template <typename Message>
    void startError(const Message& m) {
        if (listFull()) return;
        const int line = origin_.source ? origin_.source->startLine : 0;
        out_.push_back(joined(place(nullptr, nullptr, nullptr, -1, line), ": start: ", m()));
    }
    template <typename Message>
    void levelError(const Message& m) {
        if (!listFull()) out_.push_back(joined(origin_.file, ": ", m()));
    }

    static std::string n(int64_t v) { return std::to_string(v); }
    // A fault's line made in one string of the right size: joining with + grew it a piece at a
    // time, several allocations a fault, and a damaged image words twenty.
    template <typename... Parts>
    static std::string joined(const Parts&... parts) {
        std::string line;
        line.reserve((std::string_view(parts).size() + ...));
        (line.append(parts), ...);
        return line;
    }
    static std::string loopName(const Loop& l) {
        return "loop of walls " + n(l.first) + ".." + n(l.end - 1);
    }

    Pt point(int w) const {
        const Wall& wall = g_.walls[static_cast<size_t>(w)];
        return {wall.x, wall.y};
    }
    // The wall's point2, or -1 when it lies outside the walls in use.
    int next(int w) const {
        const int p2 = g_.walls[static_cast<size_t>(w)].point2;
        return p2 >= 0 && p2 < walls_ ? p2 : -1;
    }

    // --- how far the level reaches ---

    void checkExtent() {
        const LevelExtent e = levelExtent(g_, walls_, sectors_);
        spanError(e.minX, e.maxX, LEVEL_MAX_SPAN, "the walls' x coordinates");
        spanError(e.minY, e.maxY, LEVEL_MAX_SPAN, "the walls' y coordinates");
        spanError(e.top, e.bottom, LEVEL_MAX_HEIGHT_SPAN, "the ceiling and floor heights");
    }

    void spanError(int64_t lo, int64_t hi, int64_t limit, std::string_view what) {
        if (lo > hi || hi - lo <= limit) return;
        levelError([&] {
            return joined(what, " run from ", n(lo), " to ", n(hi), ", a span of ", n(hi - lo),
                          " units; the renderer and the game's distances handle at most ", n(limit));
        });
    }

    // --- walls stored sector by sector ---

    void checkLayout() {
        int64_t expected = 0;
        for (int s = 0; s < sectors_; ++s) {
            const Sector& sec = g_.sectors[static_cast<size_t>(s)];
            const int first = static_cast<uint16_t>(sec.firstWall);
            const int count = sec.wallCount;
            bool ok = true;
            if (first != expected) {
                sectorError(s, [&] {
                    return joined("firstWall ", n(first), ", but its walls should start at wall ", n(expected),
                                  ", right after the previous sector's");
                });
                ok = false;
            }
            if (count < 3) {
                sectorError(s, [&] { return joined("has ", n(count), " walls; a sector needs at least 3"); });
                ok = false;
            }
            if (first + count > walls_) {
                sectorError(s, [&] {
                    return joined("its walls ", n(first), "..", n(first + count - 1), " run past the ", n(walls_),
                                  " walls of the level");
                });
                ok = false;
            }
            if (ok)
                for (int w = first; w < first + count; ++w) wallSector_[static_cast<size_t>(w)] = s;
            rangeOk_[static_cast<size_t>(s)] = ok;
            expected += count;
        }
        if (expected != walls_)
            levelError([&] { return joined("the sectors' wall counts add up to ", n(expected), ", not ", n(walls_)); });
    }

    // --- closed loops of consecutive walls ---

    // The sector's loops, empty when its walls do not form closed loops.
    std::span<Loop> loops(int s) {
        const auto [from, to] = loopRange_[static_cast<size_t>(s)];
        return std::span<Loop>(allLoops_).subspan(from, to - from);
    }
    std::span<const Loop> loops(int s) const {
        const auto [from, to] = loopRange_[static_cast<size_t>(s)];
        return std::span<const Loop>(allLoops_).subspan(from, to - from);
    }

    void checkLoops(int s) {
        if (!rangeOk_[static_cast<size_t>(s)]) return;
        const Sector& sec = g_.sectors[static_cast<size_t>(s)];
        const int first = static_cast<uint16_t>(sec.firstWall);
        const int end = first + sec.wallCount;
        const size_t from = allLoops_.size();
        int loopStart = first;
        for (int w = first; w < end; ++w) {
            const int p2 = g_.walls[static_cast<size_t>(w)].point2;
            if (p2 == loopStart) {
                const int loop = static_cast<int>(allLoops_.size());
                for (int v = loopStart; v <= w; ++v) wallLoop_[static_cast<size_t>(v)] = loop;
                allLoops_.push_back({loopStart, w + 1, 0});
                loopStart = w + 1;
            } else if (p2 != w + 1 || w + 1 == end) {
                wallError(w, [&] {
                    return joined("point2 ", n(p2), " is neither the next wall ", n(w + 1), " nor the first wall ",
                                  n(loopStart), " of its loop, so the loop does not close inside sector ", n(s));
                });
                allLoops_.resize(from);
                return;
            }
        }
        loopRange_[static_cast<size_t>(s)] = {from, allLoops_.size()};
    }

    // --- one outer loop, inner loops inside it, no crossings ---

    void checkGeometry(int s) {
        const std::span<Loop> loops = this->loops(s);
        if (loops.empty()) return;
        int outerCount = 0;
        for (Loop& l : loops) {
            if (l.end - l.first < 3) sectorError(s, [&] { return joined(loopName(l), " has fewer than 3 walls"); });
            for (int w = l.first; w < l.end; ++w)
                if (point(w) == point(g_.walls[static_cast<size_t>(w)].point2)) wallError(w, [&] { return "has zero length"; });
            l.sum = loopOrientationSum(g_, l.first, l.end);
            if (l.sum == 0) sectorError(s, [&] { return joined(loopName(l), " encloses no area"); });
            if (l.sum > 0) {
                ++outerCount;
                outer_[static_cast<size_t>(s)] = static_cast<int>(&l - loops.data());
            }
        }
        if (outerCount != 1) {
            sectorError(s, [&] {
                return joined("has ", n(outerCount),
                              " outer loops (running with the inside on the right); a sector needs exactly one");
            });
            outer_[static_cast<size_t>(s)] = -1;
        }
        if (!checkCrossings(s)) outer_[static_cast<size_t>(s)] = -1;
        if (outer_[static_cast<size_t>(s)] >= 0) checkNesting(s);
    }

    // Walls that meet are faults unless they are neighbours of one loop, or different loops
    // touching at a corner of both; listed in wall order.
    bool checkCrossings(int s) {
        const std::span<const Loop> loops = this->loops(s);
        const std::vector<WallMeeting>& meetings = meetings_.find(g_, loops.front().first, loops.back().end);
        bool ok = true;
        for (const WallMeeting& m : meetings) {
            const int i = m.first, j = m.second;
            const Contact k = m.kind;
            const int ni = g_.walls[static_cast<size_t>(i)].point2, nj = g_.walls[static_cast<size_t>(j)].point2;
            const bool sameLoop = wallLoop_[static_cast<size_t>(i)] == wallLoop_[static_cast<size_t>(j)];
            const bool adjacent = sameLoop && (ni == j || nj == i);
            if (k == Contact::Corner && (adjacent || !sameLoop)) continue;
            wallError(i, [&] { return k == Contact::Fault ? "crosses or overlaps wall " + n(j)
                                             : "touches wall " + n(j) + " of its own loop"; });
            ok = false;
        }
        return ok;
    }

    // Inner loops lie inside the outer loop and not inside one another. With no crossings,
    // the middle of one wall tells where a whole loop lies (coordinates doubled to stay exact).
    void checkNesting(int s) {
        const std::span<const Loop> loops = this->loops(s);
        const int outer = outer_[static_cast<size_t>(s)];
        for (size_t i = 0; i < loops.size(); ++i) {
            if (static_cast<int>(i) == outer) continue;
            const Pt a = point(loops[i].first), b = point(g_.walls[static_cast<size_t>(loops[i].first)].point2);
            const Pt mid{a.x + b.x, a.y + b.y};
            if (locate(mid, loops[static_cast<size_t>(outer)], 2) != Side::Inside)
                sectorError(
                    s, [&] { return joined("inner ", loopName(loops[i]), " does not lie inside the outer loop"); });
            for (size_t j = 0; j < loops.size(); ++j)
                if (j != i && static_cast<int>(j) != outer && locate(mid, loops[j], 2) == Side::Inside)
                    sectorError(s, [&] {
                        return joined("inner ", loopName(loops[i]), " lies inside the inner ", loopName(loops[j]));
                    });
        }
    }

    // Where p lies against a loop whose coordinates are multiplied by `scale`.
    Side locate(Pt p, const Loop& l, int64_t scale) const { return krello::locate(g_, l.first, l.end, p, scale); }

    // Empty when (x, y) lies inside sector s (or s is too broken to tell), else what is wrong.
    std::string placement(int s, int32_t x, int32_t y) const {
        const int outer = outer_[static_cast<size_t>(s)];
        if (outer < 0) return {};
        const std::span<const Loop> loops = this->loops(s);
        const Pt p{x, y};
        const auto at = [&] { return joined("(", n(x), ", ", n(y), ")"); };
        const Side side = locate(p, loops[static_cast<size_t>(outer)], 1);
        if (side == Side::Edge) return at() + " lies on a wall of sector " + n(s);
        if (side == Side::Outside) return at() + " lies outside sector " + n(s) + "'s outer loop";
        for (size_t i = 0; i < loops.size(); ++i) {
            if (static_cast<int>(i) == outer) continue;
            const Side inner = locate(p, loops[i], 1);
            if (inner == Side::Edge) return at() + " lies on a wall of sector " + n(s);
            if (inner == Side::Inside)
                return at() + " lies inside the inner " + loopName(loops[i]) + " of sector " + n(s);
        }
        return {};
    }

    // --- heights, surfaces and runtime fields of a sector ---

    void checkSector(int s) {
        const Sector& sec = g_.sectors[static_cast<size_t>(s)];
        if (sec.ceilingZ >= sec.floorZ)
            sectorError(s,
                        [&] { return joined("ceilingZ ", n(sec.ceilingZ), " is not above floorZ ", n(sec.floorZ)); });
        if (sec.ceilingZ % 1024 != 0)
            sectorError(s, [&] { return joined("ceilingZ ", n(sec.ceilingZ), " is not a multiple of 1024"); });
        if (sec.floorZ % 1024 != 0)
            sectorError(s, [&] { return joined("floorZ ", n(sec.floorZ), " is not a multiple of 1024"); });
        if (!isSurfaceSlot(sec.ceilingTexture))
            sectorError(s, [&] {
                return joined("ceilingTexture uses slot ", n(textureSlot(sec.ceilingTexture)),
                              "; a drawn surface needs slot 0..8");
            });
        if (!isSurfaceSlot(sec.floorTexture))
            sectorError(s, [&] {
                return joined("floorTexture uses slot ", n(textureSlot(sec.floorTexture)),
                              "; a drawn surface needs slot 0..8");
            });
        if (sec.objectCount != -1)
            sectorError(s, [&] { return joined("objectCount ", n(sec.objectCount), " should be -1 in the level"); });
    }

    // --- portals, solid walls, texture slots ---

    void checkWall(int w) {
        const Wall& wall = g_.walls[static_cast<size_t>(w)];
        if (wall.mark != -1) wallError(w, [&] { return joined("mark ", n(wall.mark), " should be -1 in the level"); });
        const int s = wallSector_[static_cast<size_t>(w)];
        if (s < 0) return;
        if ((wall.nextSector == -1) != (wall.otherWall == -1)) {
            wallError(w, [&] {
                return joined("nextSector ", n(wall.nextSector), " with otherWall ", n(wall.otherWall),
                              ": a portal needs both, a solid wall neither");
            });
            return;
        }
        if (wall.nextSector == -1) {
            if (!isSurfaceSlot(wall.texture))
                wallError(w, [&] {
                    return joined("solid wall uses texture slot ", n(textureSlot(wall.texture)),
                                  "; a drawn surface needs slot 0..8");
                });
            return;
        }
        if (checkPortal(w, s)) portalSlot(w, s);
    }

    bool checkPortal(int w, int s) {
        const Wall& wall = g_.walls[static_cast<size_t>(w)];
        const int ns = wall.nextSector, ow = wall.otherWall;
        if (ns < 0 || ns >= sectors_)
            return wallError(w, [&] { return joined("nextSector ", n(ns), " is not a sector"); }), false;
        if (ns == s) return wallError(w, [&] { return "is a portal into its own sector"; }), false;
        if (ow < 0 || ow >= walls_)
            return wallError(w, [&] { return joined("otherWall ", n(ow), " is not a wall"); }), false;
        portal_[static_cast<size_t>(s)] = true;
        const Wall& other = g_.walls[static_cast<size_t>(ow)];
        bool ok = true;
        if (wallSector_[static_cast<size_t>(ow)] != ns)
            ok = false,
            wallError(w, [&] { return joined("otherWall ", n(ow), " does not lie in nextSector ", n(ns)); });
        if (other.otherWall != w)
            ok = false, wallError(w, [&] {
                return joined("otherWall ", n(ow), " leads back to wall ", n(other.otherWall), ", not to this one");
            });
        if (other.nextSector != s)
            ok = false, wallError(w, [&] {
                return joined("otherWall ", n(ow), " leads into sector ", n(other.nextSector),
                              ", not back into sector ", n(s));
            });
        const int p2 = next(w), op2 = next(ow);
        if (p2 < 0 || op2 < 0 || !(point(ow) == point(p2)) || !(point(op2) == point(w)))
            ok = false, wallError(w, [&] {
                return joined("does not run over the same edge as its otherWall ", n(ow), " in the opposite direction");
            });
        return ok;
    }

    // A portal's opening, and the slot of its drawn upper or lower part (surface_rules.h).
    void portalSlot(int w, int s) {
        const Wall& wall = g_.walls[static_cast<size_t>(w)];
        const Sector& here = g_.sectors[static_cast<size_t>(s)];
        const Sector& there = g_.sectors[static_cast<size_t>(wall.nextSector)];
        const bool sound = here.ceilingZ < here.floorZ && there.ceilingZ < there.floorZ;
        if (portalOpening(here, there) <= 0 && sound && w < wall.otherWall)
            wallError(w, [&] {
                return joined("portal into sector ", n(wall.nextSector),
                              " shows no opening: the two sectors' heights do not overlap, so it "
                              "draws as a solid wall that everything walks through");
            });
        if (portalShowsWallPart(here, there) && !isSurfaceSlot(wall.texture))
            wallError(w, [&] {
                return joined("portal with a drawn upper or lower part uses texture slot ",
                              n(textureSlot(wall.texture)), "; a drawn surface needs slot 0..8");
            });
    }

    // --- every sector reachable from the start through portals ---

    void checkReach() {
        for (int s = 0; s < sectors_; ++s)
            if (rangeOk_[static_cast<size_t>(s)] && !portal_[static_cast<size_t>(s)])
                sectorError(s, [&] { return "has no portal"; });
        const int start = g_.player.sector;
        if (start < 0 || start >= sectors_) return;
        std::array<bool, SECTOR_COUNT> seen{};
        seen[static_cast<size_t>(start)] = true;
        // Only sectors whose walls form sound loops are walked: the walls of any other cannot be
        // trusted to be its own.
        walkPortals(
            g_, static_cast<uint16_t>(start), [&](uint16_t s) { return !loops(s).empty(); },
            [&](uint16_t, uint16_t, uint16_t to) { seen[to] = true; });
        for (int s = 0; s < sectors_; ++s)
            if (!seen[static_cast<size_t>(s)] && portal_[static_cast<size_t>(s)])
                sectorError(s, [&] {
                    return joined("cannot be reached from the start sector ", n(start), " through portals");
                });
    }

    // --- the player's start and the objects ---

    void checkStart() {
        const PlayerState& p = g_.player;
        if (p.angle < 0 || p.angle > 2047)
            startError([&] { return joined("angle ", n(p.angle), " is not in 0..2047"); });
        if (p.sector < 0 || p.sector >= sectors_)
            return startError([&] { return joined("sector ", n(p.sector), " is not a sector"); });
        const std::string where = placement(p.sector, p.x, p.y);
        if (!where.empty()) startError([&] { return where; });
    }

    void checkObjects() {
        int enemies = 0;
        for (int i = 0; i < objects_; ++i) {
            const GameObject& o = g_.objects[static_cast<size_t>(i)];
            const int kind = kindCode(o);
            if (kind < KIND_ENEMY_AWAKE || kind > KIND_ENEMY_SHOT)
                objectError(i, [&] { return joined("kind ", n(kind), " is not one of 9..12"); });
            if (kind == KIND_ENEMY_AWAKE || kind == KIND_ENEMY_DORMANT) ++enemies;
            if (o.flags != 0) objectError(i, [&] { return joined("flags ", n(o.flags), " should be 0 in the level"); });
            if (o.sector < 0 || o.sector >= sectors_) {
                objectError(i, [&] { return joined("sector ", n(o.sector), " is not a sector"); });
                continue;
            }
            const std::string where = placement(o.sector, o.x, o.y);
            if (!where.empty()) objectError(i, [&] { return where; });
            const int32_t floor = g_.sectors[static_cast<size_t>(o.sector)].floorZ;
            if (o.z != floor)
                objectError(i, [&] { return joined("z ", n(o.z), " is not on its sector's floor ", n(floor)); });
        }
        if (enemies > SPAWN_COUNT || (allEnemies_ && enemies != SPAWN_COUNT))
            levelError([&] {
                return joined(n(enemies), " enemies (kinds 9 and 10); the spawn table holds exactly ", n(SPAWN_COUNT));
            });
    }

    const GameState& g_;
    const LevelOrigin& origin_;
    size_t listed_;        // faults whose lines are made; the rest are counted in unlisted_
    size_t unlisted_ = 0;
    bool full_;        // every record of the tables is checked, not only those a source defined
    bool allEnemies_;  // the level must fill the spawn table exactly
    int sectors_ = 0, walls_ = 0, objects_ = 0;
    // Fixed tables, not lists: a fuzzed image is validated thousands of times a second, and
    // these were most of a validation's allocations.
    std::array<int, WALL_COUNT> wallSector_;
    std::array<bool, SECTOR_COUNT> rangeOk_{};
    std::vector<Loop> allLoops_;                                      // every sector's loops, sector by sector
    std::array<int, WALL_COUNT> wallLoop_;  // each wall's loop in allLoops_, set for sectors whose loops close
    std::array<std::pair<size_t, size_t>, SECTOR_COUNT> loopRange_{};  // each sector's part of allLoops_
    std::array<int, SECTOR_COUNT> outer_;  // index of each sector's outer loop, -1 when it is unknown
    std::array<bool, SECTOR_COUNT> portal_{};  // the sector has a portal wall with a sound nextSector and otherWall
    WallMeetings meetings_;
    std::vector<std::string> out_;
};

}  // namespace

std::vector<std::string> validateLevel(const GameState& g, const LevelOrigin& origin, LevelSize size,
                                       size_t listed) {
    return Validator(g, origin, size, listed).run();
}

}  // namespace krello
