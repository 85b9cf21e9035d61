// The level builder: a parsed source laid out as tables, its names resolved and its portals found.
#include "level/level_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>

#include "io/shown_text.h"
#include "level/surface_rules.h"

namespace krello {
namespace {

// The geometry of one laid-out wall, kept while portals are matched.
struct WallPlace {
    int sector = 0;
    int line = 0;
    std::string from, to;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Turns a parsed Source into tables.
class Builder {
public:
    Builder(const Source& s, const std::string& file, std::vector<std::string>& errors)
        : src_(s), file_(file), errors_(errors) {}

    void build(LevelSize size, GameState& g, LevelSourceMap& map) {
        g.player = src_.start;
        g.sectors.fill(Sector{});
        g.walls.fill(Wall{});
        g.objects.fill(GameObject{});
        g.enemyPicture = src_.picture;
        for (Sector& s : g.sectors) s.objectCount = -1;
        for (Wall& w : g.walls) w.mark = -1;
        map.startLine = src_.startLine;
        for (size_t i = 0; i < src_.sectors.size(); ++i) layOutSector(static_cast<int>(i), g, map);
        map.sectorCount = static_cast<int>(src_.sectors.size());
        map.wallCount = static_cast<int>(places_.size());
        if (errors_.empty()) matchPortals(g);
        for (size_t i = 0; i < src_.objects.size(); ++i) {
            g.objects[i] = src_.objects[i].record;
            map.objectLine[i] = src_.objects[i].line;
        }
        map.objectCount = static_cast<int>(src_.objects.size());
        if (size == LevelSize::Full) requireEverything();
        if (size == LevelSize::Playable && src_.pictureLine == 0) errors_.push_back(file_ + ": no picture");
    }

private:
    void error(int line, const std::string& message) {
        if (errors_.size() > LEVEL_SOURCE_MAX_ERRORS) return;
        if (errors_.size() == LEVEL_SOURCE_MAX_ERRORS) {
            errors_.push_back(tooManyErrors(file_));
            return;
        }
        errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
    }

    void requireEverything() {
        if (errors_.size() >= LEVEL_SOURCE_MAX_ERRORS) return;
        const auto n = [](size_t v) { return std::to_string(v); };
        if (src_.sectors.size() != SECTOR_COUNT)
            errors_.push_back(file_ + ": " + n(src_.sectors.size()) + " sectors, the level needs " +
                              n(SECTOR_COUNT));
        if (src_.objects.size() != OBJECT_COUNT)
            errors_.push_back(file_ + ": " + n(src_.objects.size()) + " objects, the level needs " +
                              n(OBJECT_COUNT));
        if (src_.pictureLine == 0) errors_.push_back(file_ + ": no picture");
    }

    std::optional<int64_t> value(const SourceSector& s, const char* key) const {
        const auto it = s.values.find(key);
        if (it == s.values.end()) return std::nullopt;
        return it->second;
    }

    void layOutSector(int index, GameState& g, LevelSourceMap& map) {
        const SourceSector& s = src_.sectors[static_cast<size_t>(index)];
        Sector& out = g.sectors[static_cast<size_t>(index)];
        map.sectorLine[static_cast<size_t>(index)] = s.line;
        const auto ceiling = value(s, "ceiling");
        const auto floor = value(s, "floor");
        if (!ceiling) error(s.line, "sector " + std::to_string(index) + " has no ceiling");
        if (!floor) error(s.line, "sector " + std::to_string(index) + " has no floor");
        if (s.loops.empty()) error(s.line, "sector " + std::to_string(index) + " has no loop");
        out.ceilingZ = static_cast<int32_t>(ceiling.value_or(0));
        out.floorZ = static_cast<int32_t>(floor.value_or(0));
        out.ceilingTexture = static_cast<uint8_t>(value(s, "ceilingTexture").value_or(0));
        out.ceilingShade = static_cast<int8_t>(value(s, "ceilingShade").value_or(0));
        out.floorTexture = static_cast<uint8_t>(value(s, "floorTexture").value_or(0));
        out.floorShade = static_cast<int8_t>(value(s, "floorShade").value_or(0));
        out.shadeFalloff = static_cast<int8_t>(value(s, "falloff").value_or(0));
        const size_t first = places_.size();
        out.firstWall = static_cast<int16_t>(std::min<size_t>(first, WALL_COUNT));
        for (const SourceLoop& l : s.loops) layOutLoop(index, l, g, map);
        out.wallCount = static_cast<uint16_t>(places_.size() - first);
        applySettings(s, first, g);
    }

    const SourcePoint* findPoint(int line, const std::string& name) {
        const auto it = src_.points.find(name);
        if (it != src_.points.end()) return &it->second;
        error(line, "unknown point '" + io::shownText(name) + "'");
        return nullptr;
    }

    void layOutLoop(int sector, const SourceLoop& l, GameState& g, LevelSourceMap& map) {
        std::vector<const SourcePoint*> pts;
        for (const std::string& name : l.names) pts.push_back(findPoint(l.line, name));
        if (std::find(pts.begin(), pts.end(), nullptr) != pts.end()) return;
        const size_t first = places_.size();
        if (first + pts.size() > WALL_COUNT) {
            if (!wallsOverflowed_)
                error(l.line, "more than " + std::to_string(WALL_COUNT) + " walls");
            wallsOverflowed_ = true;
            return;
        }
        for (size_t i = 0; i < pts.size(); ++i) {
            const size_t j = (i + 1) % pts.size();
            const size_t w = first + i;
            if (pts[i]->x == pts[j]->x && pts[i]->y == pts[j]->y)
                error(l.line, "the wall " + l.names[i] + " -> " + l.names[j] + " has zero length");
            places_.push_back({sector, l.line, l.names[i], l.names[j], pts[i]->x, pts[i]->y,
                               pts[j]->x, pts[j]->y});
            Wall& out = g.walls[w];
            out.x = pts[i]->x;
            out.y = pts[i]->y;
            out.point2 = static_cast<int16_t>(first + j);
            out.otherWall = -1;
            out.nextSector = -1;
            map.wallLine[w] = l.line;
        }
    }

    // The sector's defaults, then each `wall` line's own settings, then automatic repeats.
    void applySettings(const SourceSector& s, size_t first, GameState& g) {
        std::vector<WallSettings> settings(places_.size() - first, s.defaults);
        for (const SourceWallOverride& o : s.overrides) {
            size_t found = settings.size();
            for (size_t i = 0; i < settings.size(); ++i) {
                const WallPlace& p = places_[first + i];
                if (samePoint(p.x1, p.y1, o.from) && samePoint(p.x2, p.y2, o.to)) found = i;
            }
            if (found == settings.size()) {
                error(o.line, "no wall " + o.from + " -> " + o.to + " in this sector");
                continue;
            }
            WallSettings& w = settings[found];
            if (o.settings.texture) w.texture = o.settings.texture;
            if (o.settings.shade) w.shade = o.settings.shade;
            if (o.settings.repeatU) w.repeatU = o.settings.repeatU;
            if (o.settings.repeatV) w.repeatV = o.settings.repeatV;
        }
        for (size_t i = 0; i < settings.size(); ++i) applyWall(settings[i], places_[first + i],
                                                               g.walls[first + i]);
    }

    bool samePoint(int32_t x, int32_t y, const std::string& name) const {
        const auto it = src_.points.find(name);
        return it != src_.points.end() && it->second.x == x && it->second.y == y;
    }

    static void applyWall(const WallSettings& s, const WallPlace& p, Wall& w) {
        w.texture = static_cast<uint8_t>(s.texture.value_or(0));
        w.shade = static_cast<int8_t>(s.shade.value_or(0));
        w.repeatV = static_cast<int8_t>(s.repeatV.value_or(16));
        const int64_t u = s.repeatU.value_or(REPEAT_U_AUTO);
        w.repeatU = static_cast<int8_t>(u == REPEAT_U_AUTO ? autoRepeatU(length(p), w.repeatV) : u);
    }

    static double length(const WallPlace& p) {
        const double dx = static_cast<double>(p.x2) - p.x1;
        const double dy = static_cast<double>(p.y2) - p.y1;
        return std::sqrt(dx * dx + dy * dy);
    }

    // Two walls of different sectors over one edge, in opposite directions, see each other.
    void matchPortals(GameState& g) {
        std::map<std::array<int32_t, 4>, std::vector<int>> edges;
        for (size_t w = 0; w < places_.size(); ++w) {
            const WallPlace& p = places_[w];
            std::array<int32_t, 4> key{p.x1, p.y1, p.x2, p.y2};
            if (std::make_pair(p.x2, p.y2) < std::make_pair(p.x1, p.y1))
                key = {p.x2, p.y2, p.x1, p.y1};
            edges[key].push_back(static_cast<int>(w));
        }
        for (const auto& [key, ws] : edges) {
            if (ws.size() == 2) pairWalls(ws[0], ws[1], g);
            else if (ws.size() > 2) edgeSharedTooOften(ws);
        }
    }

    void pairWalls(int a, int b, GameState& g) {
        const WallPlace& pa = places_[static_cast<size_t>(a)];
        const WallPlace& pb = places_[static_cast<size_t>(b)];
        const std::string edge = pa.from + " -> " + pa.to;
        if (pa.x1 == pb.x1 && pa.y1 == pb.y1)
            return error(pb.line, "the wall " + edge + " runs over the same edge in the same "
                                  "direction as a wall on line " + std::to_string(pa.line));
        if (pa.sector == pb.sector)
            return error(pb.line, "portal into its own sector: the edge " + edge +
                                      " runs both ways in sector " + std::to_string(pa.sector));
        g.walls[static_cast<size_t>(a)].otherWall = static_cast<int16_t>(b);
        g.walls[static_cast<size_t>(a)].nextSector = static_cast<int16_t>(pb.sector);
        g.walls[static_cast<size_t>(b)].otherWall = static_cast<int16_t>(a);
        g.walls[static_cast<size_t>(b)].nextSector = static_cast<int16_t>(pa.sector);
    }

    void edgeSharedTooOften(const std::vector<int>& ws) {
        const WallPlace& p = places_[static_cast<size_t>(ws.back())];
        std::string lines;
        for (int w : ws) {
            if (!lines.empty()) lines += ", ";
            lines += std::to_string(places_[static_cast<size_t>(w)].line);
        }
        error(p.line, "the edge " + p.from + " -> " + p.to + " is shared by " +
                          std::to_string(ws.size()) + " walls (lines " + lines +
                          "); at most two walls may share an edge");
    }

    const Source& src_;
    const std::string& file_;
    std::vector<std::string>& errors_;
    std::vector<WallPlace> places_;
    bool wallsOverflowed_ = false;
};

}  // namespace

void buildLevel(const Source& source, const std::string& file, LevelSize size, GameState& g,
                LevelSourceMap& map, std::vector<std::string>& errors) {
    Builder(source, file, errors).build(size, g, map);
}

}  // namespace krello
