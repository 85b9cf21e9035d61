// Gathers the level's statistics from its tables and sets them beside the shipped level's.
#include "world/level_stats.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <set>

#include "world/wall_walk.h"

namespace krello {
namespace {

// A running minimum and maximum, printed as "lo..hi".
struct Span {
    int64_t lo = INT64_MAX, hi = INT64_MIN;
    void add(int64_t v) { lo = std::min(lo, v), hi = std::max(hi, v); }
    std::string text() const {
        return lo > hi ? "none" : std::to_string(lo) + ".." + std::to_string(hi);
    }
};

std::string list(const std::set<int>& values) {
    std::string s;
    for (int v : values) {
        if (!s.empty()) s += ' ';
        s += std::to_string(v);
    }
    return s.empty() ? "none" : s;
}

std::string num(int64_t v) { return std::to_string(v); }

// Per-wall facts found by walking each sector's loops.
struct Walked {
    std::vector<int> wallSector = std::vector<int>(WALL_COUNT, -1);
    std::map<int, int> sectorsByLoops;  // loop count -> sectors
    int loops = 0, inner = 0, innerFirst = 0;
};

// The sign of x(i)*y(i+1) - x(i+1)*y(i) over a loop: positive for an outer loop. 128 bits hold
// any sum of 1138 products of 32-bit coordinates.
int loopSign(const GameState& g, const std::vector<uint16_t>& loop) {
    __int128 sum = 0;
    for (uint16_t w : loop) {
        const Wall& a = g.walls[w];
        const uint16_t p2 = static_cast<uint16_t>(a.point2);
        if (p2 >= WALL_COUNT) return 0;
        const Wall& b = g.walls[p2];
        sum += static_cast<__int128>(a.x) * b.y - static_cast<__int128>(b.x) * a.y;
    }
    return sum > 0 ? 1 : (sum < 0 ? -1 : 0);
}

Walked walkAll(const GameState& g) {
    Walked r;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        std::vector<std::vector<uint16_t>> loops(1);
        uint16_t loopStart = static_cast<uint16_t>(g.sectors[s].firstWall);
        walkSectorWalls(g, static_cast<uint16_t>(s), [&](uint16_t w) {
            if (r.wallSector[w] < 0) r.wallSector[w] = s;
            loops.back().push_back(w);
            if (static_cast<uint16_t>(g.walls[w].point2) == loopStart) {
                loopStart = static_cast<uint16_t>(w + 1);
                loops.emplace_back();
            }
        });
        if (loops.back().empty()) loops.pop_back();
        r.sectorsByLoops[static_cast<int>(loops.size())]++;
        r.loops += static_cast<int>(loops.size());
        for (size_t i = 0; i < loops.size(); ++i) {
            if (loopSign(g, loops[i]) >= 0) continue;
            ++r.inner;
            if (i == 0) ++r.innerFirst;
        }
    }
    return r;
}

// A portal shows an upper or lower part when the next sector's ceiling is lower or floor higher.
bool drawnWall(const GameState& g, const Walked& k, int w) {
    const Wall& wall = g.walls[static_cast<size_t>(w)];
    if (wall.nextSector == -1) return true;
    const int s = k.wallSector[static_cast<size_t>(w)];
    if (s < 0 || wall.nextSector < 0 || wall.nextSector >= SECTOR_COUNT) return false;
    const Sector& here = g.sectors[static_cast<size_t>(s)];
    const Sector& there = g.sectors[static_cast<size_t>(wall.nextSector)];
    return there.ceilingZ > here.ceilingZ || there.floorZ < here.floorZ;
}

void sectorFigures(const GameState& g, const Walked& k, std::vector<LevelFigure>& f) {
    int four = 0;
    Span perSector, ceil, floor, height, ceilShade, floorShade;
    std::set<int> ceilSlots, floorSlots, falloffs;
    int ceil55 = 0, floor55 = 0, blackHigh = 0;
    for (const Sector& s : g.sectors) {
        four += s.wallCount == 4;
        perSector.add(s.wallCount);
        ceil.add(s.ceilingZ), floor.add(s.floorZ);
        height.add(int64_t{s.floorZ} - s.ceilingZ);
        ceilShade.add(s.ceilingShade), floorShade.add(s.floorShade);
        ceilSlots.insert(textureSlot(s.ceilingTexture));
        floorSlots.insert(textureSlot(s.floorTexture));
        falloffs.insert(s.shadeFalloff);
        ceil55 += s.ceilingTexture == 0x55;
        floor55 += s.floorTexture == 0x55;
        blackHigh += s.ceilingShade >= 125;
    }
    std::string byLoops;
    for (int n = 1; n <= 4; ++n) {
        if (n > 1) byLoops += '/';
        byLoops += num(k.sectorsByLoops.count(n) ? k.sectorsByLoops.at(n) : 0);
    }
    const int startSector = g.player.sector;
    const std::string startShade = startSector >= 0 && startSector < SECTOR_COUNT
                                       ? num(g.sectors[static_cast<size_t>(startSector)].ceilingShade)
                                       : "none";
    f.insert(f.end(), {
        {"sectors with 4 walls", num(four), "119"},
        {"walls per sector", perSector.text(), "3..37"},
        {"sectors with 1/2/3/4 loops", byLoops, "178/7/4/2"},
        {"loops", num(k.loops), "212"},
        {"inner loops", num(k.inner), "21"},
        {"sectors with an inner loop first", num(k.innerFirst), "5"},
        {"ceilingZ", ceil.text(), "-466944..-4096"},
        {"floorZ", floor.text(), "-453632..9216"},
        {"sector heights", height.text(), "2048..475136"},
        {"ceiling slots", list(ceilSlots), "0 2 3 4 5 6 7"},
        {"floor slots", list(floorSlots), "0 1 2 3 4 5 6 7"},
        {"ceilings with 0x55", num(ceil55), "20"},
        {"floors with 0x55", num(floor55), "4"},
        {"ceilingShade", ceilShade.text(), "-15..127"},
        {"ceilingShade of the start sector", startShade, "65"},
        {"sectors with ceilingShade 125..127", num(blackHigh), "15"},
        {"floorShade", floorShade.text(), "-15..31"},
        {"shadeFalloff values", list(falloffs), "0 8 16 32 48"},
    });
}

void wallFigures(const GameState& g, const Walked& k, std::vector<LevelFigure>& f) {
    int portals = 0, pairs = 0, hidden = 0, hidden1415 = 0, negative = 0, drawnNegative = 0;
    int common = 0;
    Span x, y, length, shade, positiveU, negativeU, repeatV;
    std::set<int> drawnSlots, drawnNegativeValues, ramps;
    for (int w = 0; w < WALL_COUNT; ++w) {
        const Wall& wall = g.walls[static_cast<size_t>(w)];
        const bool portal = wall.nextSector != -1;
        portals += portal;
        pairs += portal && wall.otherWall > w;
        x.add(wall.x), y.add(wall.y), shade.add(wall.shade), repeatV.add(wall.repeatV);
        common += wall.repeatV == 8 || wall.repeatV == 16;
        ramps.insert(rampOffset(wall.texture) >> 6);
        const uint16_t p2 = static_cast<uint16_t>(wall.point2);
        if (p2 < WALL_COUNT) {
            const double dx = static_cast<double>(g.walls[p2].x) - wall.x;
            const double dy = static_cast<double>(g.walls[p2].y) - wall.y;
            length.add(static_cast<int64_t>(std::sqrt(dx * dx + dy * dy)));
        }
        const bool drawn = drawnWall(g, k, w);
        if (drawn) drawnSlots.insert(textureSlot(wall.texture));
        if (portal && textureSlot(wall.texture) >= 9) {
            ++hidden;
            hidden1415 += textureSlot(wall.texture) >= 14;
        }
        if (wall.repeatU < 0) {
            ++negative;
            negativeU.add(wall.repeatU);
            if (drawn) ++drawnNegative, drawnNegativeValues.insert(wall.repeatU);
        } else {
            positiveU.add(wall.repeatU);
        }
    }
    for (const Sector& s : g.sectors) {
        ramps.insert(rampOffset(s.ceilingTexture) >> 6);
        ramps.insert(rampOffset(s.floorTexture) >> 6);
    }
    f.insert(f.end(), {
        {"portal walls", num(portals), "726"},
        {"portal pairs", num(pairs), "363"},
        {"solid walls", num(WALL_COUNT - portals), "412"},
        {"x extent", x.text(), "-3328..31744"},
        {"y extent", y.text(), "37376..65024"},
        {"wall lengths", length.text(), "31..19968"},
        {"slots of drawn wall parts", list(drawnSlots), "0 1 2 3 4 5 6 7 8"},
        {"colour ramps used", list(ramps), "0 1 2 3"},
        {"portal walls with slots 9..15", num(hidden), "215"},
        {"  of them slots 14 or 15", num(hidden1415), "92"},
        {"wall shade", shade.text(), "-21..79"},
        {"repeatU, non-negative", positiveU.text(), "1..127"},
        {"walls with negative repeatU", num(negative), "12"},
        {"negative repeatU", negativeU.text(), "-106..-1"},
        {"drawn walls with negative repeatU", num(drawnNegative), "4"},
        {"  their repeatU", list(drawnNegativeValues), "-1"},
        {"repeatV", repeatV.text(), "2..48"},
        {"repeatV 8 or 16 on most walls", common * 2 > WALL_COUNT ? "yes" : "no", "yes"},
    });
}

void objectFigures(const GameState& g, std::vector<LevelFigure>& f) {
    int kinds[4] = {};
    for (const GameObject& o : g.objects) {
        const int kind = kindCode(o);
        if (kind >= KIND_ENEMY_AWAKE && kind <= KIND_ENEMY_SHOT) ++kinds[kind - KIND_ENEMY_AWAKE];
    }
    const PlayerState& p = g.player;
    f.insert(f.end(), {
        {"player start x y z angle sector",
         num(p.x) + " " + num(p.y) + " " + num(p.z) + " " + num(p.angle) + " " + num(p.sector),
         "7542 38995 2048 323 151"},
        {"awake/dormant enemies", num(kinds[0]) + "/" + num(kinds[1]), "2/8"},
        {"player-shot/enemy-shot slots", num(kinds[2]) + "/" + num(kinds[3]), "5/8"},
    });
}

}  // namespace

std::vector<LevelFigure> levelFigures(const GameState& g) {
    const Walked k = walkAll(g);
    std::vector<LevelFigure> f;
    int walls = 0;
    for (const Sector& s : g.sectors) walls += s.wallCount;
    f.push_back({"sectors", num(SECTOR_COUNT), "191"});
    f.push_back({"walls in sectors", num(walls), "1138"});
    sectorFigures(g, k, f);
    wallFigures(g, k, f);
    objectFigures(g, f);
    return f;
}

}  // namespace krello
