// Gathers the level's statistics from its tables and sets them beside the shipped level's.
#include "level/level_stats.h"

#include <algorithm>
#include <bitset>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "level/loop_geometry.h"
#include "level/own_walls.h"
#include "level/surface_rules.h"
#include "level/wall_facts.h"

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

// The distinct values seen, in order. The fields counted are bytes, so a bit for each of
// -256..255 holds them (a tree of a thousand inserts cost more than the rest of the figures);
// anything wider is kept in a list.
struct Values {
    static constexpr int LOW = -256, HIGH = 256;
    std::bitset<HIGH - LOW> bytes;
    std::vector<int> wide;  // values outside LOW..HIGH-1
    void insert(int v) {
        if (v >= LOW && v < HIGH) bytes.set(static_cast<size_t>(v - LOW));
        else wide.push_back(v);
    }
};

std::string list(Values& values) {
    std::vector<int>& wide = values.wide;
    std::sort(wide.begin(), wide.end());
    wide.erase(std::unique(wide.begin(), wide.end()), wide.end());
    std::string s;
    // Appended piece by piece: g++ 12 at -O3 warns (-Wrestrict) on `const char* + std::string`.
    const auto add = [&](int v) {
        if (!s.empty()) s += ' ';
        s += std::to_string(v);
    };
    auto w = wide.begin();
    for (; w != wide.end() && *w < Values::LOW; ++w) add(*w);
    for (int v = Values::LOW; v < Values::HIGH; ++v)
        if (values.bytes.test(static_cast<size_t>(v - Values::LOW))) add(v);
    for (; w != wide.end(); ++w) add(*w);
    return s.empty() ? "none" : s;
}

std::string num(int64_t v) { return std::to_string(v); }

// Appends the figures, moved rather than copied out of a list (a list's elements are const):
// measuring a fuzzed level thousands of times a second, the copies were most of its allocations.
template <size_t N>
void append(std::vector<LevelFigure>& f, LevelFigure (&&figures)[N]) {
    for (LevelFigure& figure : figures) f.push_back(std::move(figure));
}

// The loops found by walking each sector's own walls.
struct Walked {
    std::map<int, int> sectorsByLoops;  // loop count -> sectors
    int loops = 0, inner = 0, innerFirst = 0;
};

// The loops found by walking each sector's own walls: each loop a run of consecutive walls,
// ended by the wall whose point2 is the run's first (or by the end of the walk), so a loop is
// known by its first and last wall and nothing is kept per wall.
Walked walkAll(const GameState& g) {
    Walked r;
    for (int s = 0; s < SECTOR_COUNT; ++s) {
        int loops = 0;
        int open = -1;  // first wall of the loop being walked, -1 between loops
        uint16_t loopStart = static_cast<uint16_t>(g.sectors[s].firstWall);
        const auto loopEnds = [&](int last) {
            if (loopOrientationSum(g, open, last + 1) < 0) {
                ++r.inner;
                if (loops == 0) ++r.innerFirst;
            }
            ++loops;
            open = -1;
        };
        int last = -1;
        walkOwnWalls(g, static_cast<uint16_t>(s), [&](uint16_t w) {
            if (open < 0) open = w;
            last = w;
            if (static_cast<uint16_t>(g.walls[w].point2) == loopStart) {
                loopStart = static_cast<uint16_t>(w + 1);
                loopEnds(w);
            }
        });
        if (open >= 0) loopEnds(last);
        r.sectorsByLoops[loops]++;
        r.loops += loops;
    }
    return r;
}

void sectorFigures(const GameState& g, const Walked& k, std::vector<LevelFigure>& f) {
    int four = 0;
    Span perSector, ceil, floor, height, ceilShade, floorShade;
    Values ceilSlots, floorSlots, falloffs;
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
    const std::string startShade = isSector(startSector)
                                       ? num(g.sectors[static_cast<size_t>(startSector)].ceilingShade)
                                       : "none";
    append(f, {
        {"sectors with 4 walls", num(four), {}},
        {"walls per sector", perSector.text(), {}},
        {"sectors with 1/2/3/4 loops", byLoops, {}},
        {"loops", num(k.loops), {}},
        {"inner loops", num(k.inner), {}},
        {"sectors with an inner loop first", num(k.innerFirst), {}},
        {"ceilingZ", ceil.text(), {}},
        {"floorZ", floor.text(), {}},
        {"sector heights", height.text(), {}},
        {"ceiling slots", list(ceilSlots), {}},
        {"floor slots", list(floorSlots), {}},
        {"ceilings with 0x55", num(ceil55), {}},
        {"floors with 0x55", num(floor55), {}},
        {"ceilingShade", ceilShade.text(), {}},
        {"ceilingShade of the start sector", startShade, {}},
        {"sectors with ceilingShade 125..127", num(blackHigh), {}},
        {"floorShade", floorShade.text(), {}},
        {"shadeFalloff values", list(falloffs), {}},
    });
}

// The length-weighted median texel ratio of the drawn walls, and the share of their length
// whose texels lie between 1:2 and 2:1.
void texelFigures(std::vector<std::pair<double, double>> parts, std::vector<LevelFigure>& f) {
    std::sort(parts.begin(), parts.end());
    double total = 0, run = 0, square = 0, median = 0;
    for (const auto& [ratio, length] : parts) {
        total += length;
        if (ratio >= 0.5 && ratio <= 2.0) square += length;
    }
    for (const auto& [ratio, length] : parts) {
        run += length;
        if (run * 2 >= total) {
            median = ratio;
            break;
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", median);
    f.push_back({"texel width per height, median", text, {}});
    f.push_back({"drawn wall length with texels 1:2..2:1",
                 num(total > 0 ? static_cast<int64_t>(square / total * 100) : 0) + "%", {}});
}

void wallFigures(const GameState& g, std::vector<LevelFigure>& f) {
    const std::vector<WallFacts> facts = wallFacts(g);
    int portals = 0, pairs = 0, hidden = 0, hidden1415 = 0, negative = 0, drawnNegative = 0;
    int common = 0, closed = 0;
    std::vector<std::pair<double, double>> texels;  // (texel ratio, length) of each drawn wall
    texels.reserve(WALL_COUNT);
    Span x, y, length, shade, positiveU, negativeU, repeatV;
    Values drawnSlots, drawnNegativeValues, ramps;
    for (int w = 0; w < WALL_COUNT; ++w) {
        const Wall& wall = g.walls[static_cast<size_t>(w)];
        const bool portal = wall.nextSector != -1;
        portals += portal;
        pairs += portal && wall.otherWall > w;
        x.add(wall.x), y.add(wall.y), shade.add(wall.shade), repeatV.add(wall.repeatV);
        common += wall.repeatV == 8 || wall.repeatV == 16;
        ramps.insert(rampOffset(wall.texture) >> 6);
        const WallFacts& fact = facts[static_cast<size_t>(w)];
        const bool drawn = fact.drawn;
        if (fact.length) {
            length.add(static_cast<int64_t>(*fact.length));
            if (drawn) texels.emplace_back(fact.texelRatio, *fact.length);
        }
        closed += portal && fact.opening && *fact.opening <= 0;
        if (drawn) drawnSlots.insert(textureSlot(wall.texture));
        if (portal && !isSurfaceSlot(wall.texture)) {
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
    append(f, {
        {"portal walls", num(portals), {}},
        {"portal pairs", num(pairs), {}},
        {"solid walls", num(WALL_COUNT - portals), {}},
        {"portal walls without an opening", num(closed), {}},
        {"x extent", x.text(), {}},
        {"y extent", y.text(), {}},
        {"wall lengths", length.text(), {}},
        {"slots of drawn wall parts", list(drawnSlots), {}},
        {"colour ramps used", list(ramps), {}},
        {"portal walls with slots 9..15", num(hidden), {}},
        {"  of them slots 14 or 15", num(hidden1415), {}},
        {"wall shade", shade.text(), {}},
        {"repeatU, non-negative", positiveU.text(), {}},
        {"walls with negative repeatU", num(negative), {}},
        {"negative repeatU", negativeU.text(), {}},
        {"drawn walls with negative repeatU", num(drawnNegative), {}},
        {"  their repeatU", list(drawnNegativeValues), {}},
        {"repeatV", repeatV.text(), {}},
        {"repeatV 8 or 16 on most walls", common * 2 > WALL_COUNT ? "yes" : "no", {}},
    });
    texelFigures(std::move(texels), f);
}

void objectFigures(const GameState& g, std::vector<LevelFigure>& f) {
    int kinds[4] = {};
    for (const GameObject& o : g.objects) {
        const int kind = kindCode(o);
        if (kind >= KIND_ENEMY_AWAKE && kind <= KIND_ENEMY_SHOT) ++kinds[kind - KIND_ENEMY_AWAKE];
    }
    const PlayerState& p = g.player;
    append(f, {
        {"player start x y z angle sector",
         num(p.x) + " " + num(p.y) + " " + num(p.z) + " " + num(p.angle) + " " + num(p.sector), {}},
        {"awake/dormant enemies", num(kinds[0]) + "/" + num(kinds[1]), {}},
        {"player-shot/enemy-shot slots", num(kinds[2]) + "/" + num(kinds[3]), {}},
    });
}

std::string_view trimmed(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string_view::npos) return {};
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// The golden list's lines as (name, expected), in order, as parts of the list's text; comments
// and blank lines skipped.
std::vector<std::pair<std::string_view, std::string_view>> goldenLines(std::string_view golden) {
    std::vector<std::pair<std::string_view, std::string_view>> out;
    while (!golden.empty()) {
        const size_t end = golden.find('\n');
        std::string_view line = golden.substr(0, end);
        golden = end == std::string_view::npos ? std::string_view{} : golden.substr(end + 1);
        line = line.substr(0, line.find('#'));
        const size_t colon = line.find(": ");
        if (colon == std::string_view::npos) continue;
        out.emplace_back(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 2)));
    }
    return out;
}

// Sets each figure's expectation from the golden list; a figure the list lacks, and a line
// that names no figure, both end up differing.
void expectGolden(const std::vector<std::pair<std::string_view, std::string_view>>& lines,
                  std::vector<LevelFigure>& f) {
    // Each figure's name trimmed once, not once a comparison: views into f's names, which stay
    // where they are since f never grows past what is reserved here.
    f.reserve(f.size() + lines.size());
    std::vector<std::string_view> names;
    names.reserve(f.size() + lines.size());
    for (LevelFigure& figure : f) {
        names.push_back(trimmed(figure.name));
        std::string_view shipped = "(not in the golden list)";  // the last line naming it wins
        for (const auto& [name, expected] : lines)
            if (name == names.back()) shipped = expected;
        figure.shipped = shipped;
    }
    for (const auto& [name, expected] : lines) {
        if (std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
        f.push_back({std::string(name), "(not measured)", std::string(expected)});
    }
}

bool number(const std::string& text, double& value) {
    std::string t = text;
    if (!t.empty() && t.back() == '%') t.pop_back();
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    return !t.empty() && end == t.c_str() + t.size();
}

}  // namespace

bool figureMeets(const std::string& actual, const std::string& expected) {
    static const std::string kinds[] = {"at least ", "at most ", "between "};
    for (const std::string& kind : kinds) {
        if (expected.rfind(kind, 0) != 0) continue;
        const std::string rest = expected.substr(kind.size());
        const size_t sep = rest.find(" and ");
        double value = 0, a = 0, b = 0;
        if (!number(actual, value) || !number(rest.substr(0, sep), a)) return false;
        if (kind == "at least ") return value >= a;
        if (kind == "at most ") return value <= a;
        return sep != std::string::npos && number(rest.substr(sep + 5), b) && value >= a && value <= b;
    }
    return actual == expected;
}

std::vector<LevelFigure> levelFigures(const GameState& g, std::string_view golden) {
    const Walked k = walkAll(g);
    std::vector<LevelFigure> f;
    int walls = 0;
    for (const Sector& s : g.sectors) walls += s.wallCount;
    f.push_back({"sectors", num(SECTOR_COUNT), {}});
    f.push_back({"walls in sectors", num(walls), {}});
    sectorFigures(g, k, f);
    wallFigures(g, f);
    objectFigures(g, f);
    expectGolden(goldenLines(golden), f);
    return f;
}

}  // namespace krello
