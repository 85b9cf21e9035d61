// Parses the level source line by line, then lays its sectors, walls and portals out as tables.
#include "world/level_source.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>

namespace krello {
namespace {

constexpr int kMaxErrors = 100;     // past this many the text is hardly a level; stop listing
constexpr int kRepeatUAuto = 1000;  // marks `repeatU auto`, outside the field's range
constexpr int64_t kHuge = int64_t{1} << 40;  // parsed magnitudes are capped here, never overflowing
constexpr int kPictureRows = 128;
constexpr int kPictureColumns = 64;

using Tokens = std::vector<std::string_view>;

struct WallSettings {
    std::optional<int64_t> texture, shade, repeatU, repeatV;
};

struct SourceLoop {
    int line = 0;
    std::vector<std::string> names;
};

struct SourceWallOverride {
    int line = 0;
    std::string from, to;
    WallSettings settings;
};

struct SourceSector {
    int line = 0;
    std::map<std::string, int64_t, std::less<>> values;  // ceiling, floor, textures, shades, falloff
    WallSettings defaults;
    int defaultsLine = 0;
    std::vector<SourceLoop> loops;
    std::vector<SourceWallOverride> overrides;
};

struct SourcePoint {
    int32_t x = 0, y = 0;
    int line = 0;
};

struct SourceObject {
    int line = 0;
    GameObject record{};
};

struct Source {
    int startLine = 0;
    PlayerState start{};
    std::map<std::string, SourcePoint, std::less<>> points;
    std::vector<SourceSector> sectors;
    std::vector<SourceObject> objects;
    int pictureLine = 0;
    bool pictureClosed = false;
    int pictureRows = 0;
    std::array<uint8_t, ENEMY_PICTURE_BYTES> picture{};
};

// A decimal (optionally negative) or 0x-hexadecimal integer. Magnitudes beyond kHuge are
// capped so that range checks reject them without any arithmetic overflowing.
std::optional<int64_t> parseInteger(std::string_view t) {
    bool negative = false;
    int base = 10;
    size_t i = 0;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        i = 2;
    } else if (!t.empty() && t[0] == '-') {
        negative = true;
        i = 1;
    }
    if (i >= t.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = std::min(kHuge, value * base + digit);
    }
    return negative ? -value : value;
}

bool validName(std::string_view name) {
    if (name.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(name[0])) return false;
    return std::all_of(name.begin(), name.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// The value of a picture character, or -1.
int pixelValue(char c) {
    if (c == '.') return 0;
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

struct Range {
    int64_t min, max;
};

constexpr Range kInt32{INT32_MIN, INT32_MAX};
constexpr Range kInt16{INT16_MIN, INT16_MAX};
constexpr Range kInt8{INT8_MIN, INT8_MAX};
constexpr Range kByte{0, 255};

std::optional<Range> sectorKeyRange(std::string_view key) {
    if (key == "ceiling" || key == "floor") return kInt32;
    if (key == "ceilingTexture" || key == "floorTexture") return kByte;
    if (key == "ceilingShade" || key == "floorShade" || key == "falloff") return kInt8;
    return std::nullopt;
}

std::optional<Range> wallKeyRange(std::string_view key) {
    if (key == "texture") return kByte;
    if (key == "shade" || key == "repeatU" || key == "repeatV") return kInt8;
    return std::nullopt;
}

std::optional<Range> objectKeyRange(std::string_view key) {
    if (key == "size") return kByte;
    if (key == "timer" || key == "angle" || key == "cooldown" || key == "vx" || key == "vy" ||
        key == "vz")
        return kInt16;
    return std::nullopt;
}

// Reads the text into a Source, reporting every malformed statement.
class Parser {
public:
    Parser(const std::string& file, std::vector<std::string>& errors) : file_(file), errors_(errors) {}

    void parse(std::string_view text) {
        int line = 0;
        size_t pos = 0;
        while (pos < text.size() && !stopped()) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            ++line;
            parseLine(line, text.substr(pos, end - pos));
            pos = end + 1;
        }
        if (!stopped()) finish(line);
    }

    Source source;

private:
    enum class Mode { BeforeLevel, Body, Picture, AfterPicture };

    bool stopped() const { return stopped_; }

    void error(int line, const std::string& message) {
        if (stopped_) return;
        if (static_cast<int>(errors_.size()) >= kMaxErrors) {
            errors_.push_back(file_ + ": too many errors, giving up");
            stopped_ = true;
            return;
        }
        errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
    }

    void parseLine(int line, std::string_view raw) {
        for (char c : raw) {
            const auto u = static_cast<unsigned char>(c);
            if ((u < 0x20 && c != '\t' && c != '\r') || u >= 0x7F) {
                error(line, "byte " + hex(u) + " is not text");
                if (mode_ == Mode::BeforeLevel) stopped_ = true;
                return;
            }
        }
        const size_t hash = raw.find('#');
        const Tokens t = split(raw.substr(0, hash));
        if (t.empty()) return;
        if (mode_ == Mode::Picture) return pictureRow(line, t);
        if (mode_ == Mode::BeforeLevel) return levelStatement(line, t);
        statement(line, t);
    }

    static std::string hex(unsigned value) {
        static const char digits[] = "0123456789ABCDEF";
        return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
    }

    static Tokens split(std::string_view s) {
        Tokens t;
        size_t i = 0;
        while (i < s.size()) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
            size_t j = i;
            while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\r') ++j;
            if (j > i) t.push_back(s.substr(i, j - i));
            i = j;
        }
        return t;
    }

    void levelStatement(int line, const Tokens& t) {
        if (t[0] != "level") {
            error(line, "the first statement must be 'level 1', not '" + std::string(t[0]) + "'");
            stopped_ = true;
            return;
        }
        int64_t version = 0;
        if (t.size() != 2) error(line, "'level' takes one value, the format version 1");
        else if (number(line, "level", t[1], {1, 1}, version)) mode_ = Mode::Body;
        if (mode_ != Mode::Body) stopped_ = true;
    }

    // Reads a number into `out` after checking its range; reports and returns false otherwise.
    bool number(int line, std::string_view what, std::string_view token, Range r, int64_t& out) {
        const std::optional<int64_t> v = parseInteger(token);
        if (!v) {
            error(line, std::string(what) + ": '" + std::string(token) + "' is not a number");
            return false;
        }
        if (*v < r.min || *v > r.max) {
            error(line, std::string(what) + ": " + std::string(token) + " is out of range " +
                            std::to_string(r.min) + ".." + std::to_string(r.max));
            return false;
        }
        out = *v;
        return true;
    }

    bool argumentCount(int line, const Tokens& t, size_t count, const char* shape) {
        if (t.size() == count) return true;
        error(line, "'" + std::string(t[0]) + "' expects " + shape);
        return false;
    }

    void statement(int line, const Tokens& t) {
        const std::string_view k = t[0];
        if (k == "level") return error(line, "'level' may appear only once, as the first statement");
        if (k == "point") return point(line, t);
        if (k == "start") return start(line, t);
        if (k == "sector") return sector(line, t);
        if (k == "object") return object(line, t);
        if (k == "picture") return picture(line, t);
        if (k == "end") return error(line, "'end' without 'picture'");
        if (mode_ == Mode::AfterPicture || currentSector_ < 0)
            return error(line, "'" + std::string(k) + "' is not a statement outside a sector");
        SourceSector& s = source.sectors[static_cast<size_t>(currentSector_)];
        if (k == "loop") return loop(line, t, s);
        if (k == "wall") return wallOverride(line, t, s);
        if (k == "walls") return wallDefaults(line, t, s);
        sectorValues(line, t, s);
    }

    void point(int line, const Tokens& t) {
        if (!argumentCount(line, t, 4, "NAME X Y")) return;
        const std::string name(t[1]);
        if (!validName(name)) return error(line, "'" + name + "' is not a point name");
        SourcePoint p{0, 0, line};
        int64_t x = 0, y = 0;
        const bool xOk = number(line, "point x", t[2], kInt32, x);
        const bool yOk = number(line, "point y", t[3], kInt32, y);
        if (!xOk || !yOk) return;
        p.x = static_cast<int32_t>(x);
        p.y = static_cast<int32_t>(y);
        const auto [it, added] = source.points.emplace(name, p);
        if (!added)
            error(line, "point " + name + " defined twice (first on line " +
                            std::to_string(it->second.line) + ")");
    }

    void start(int line, const Tokens& t) {
        if (source.startLine != 0)
            return error(line, "'start' given twice (first on line " +
                                   std::to_string(source.startLine) + ")");
        source.startLine = line;
        if (!argumentCount(line, t, 6, "X Y Z ANGLE SECTOR")) return;
        int64_t v[5] = {};
        const char* names[5] = {"start x", "start y", "start z", "start angle", "start sector"};
        const Range ranges[5] = {kInt32, kInt32, kInt32, kInt16, kInt16};
        bool ok = true;
        for (int i = 0; i < 5; ++i) ok = number(line, names[i], t[i + 1], ranges[i], v[i]) && ok;
        if (!ok) return;
        source.start = {static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]),
                        static_cast<int32_t>(v[2]), static_cast<int16_t>(v[3]),
                        static_cast<int16_t>(v[4])};
    }

    void sector(int line, const Tokens& t) {
        if (mode_ == Mode::AfterPicture) return error(line, "'sector' after the picture");
        if (!source.objects.empty()) return error(line, "'sector' after the objects");
        currentSector_ = -1;
        if (!argumentCount(line, t, 2, "its index N")) return;
        const int64_t expected = static_cast<int64_t>(source.sectors.size());
        if (expected >= SECTOR_COUNT)
            return error(line, "more than " + std::to_string(SECTOR_COUNT) + " sectors");
        int64_t n = expected;
        if (number(line, "sector", t[1], kInt16, n) && n != expected)
            error(line, "sector " + std::to_string(n) + " out of order: expected sector " +
                            std::to_string(expected));
        source.sectors.push_back(SourceSector{});
        source.sectors.back().line = line;
        currentSector_ = static_cast<int>(expected);
    }

    void sectorValues(int line, const Tokens& t, SourceSector& s) {
        if (t.size() % 2 != 0)
            return error(line, "'" + std::string(t.back()) + "' has no value");
        for (size_t i = 0; i < t.size(); i += 2) {
            const std::optional<Range> r = sectorKeyRange(t[i]);
            if (!r) {
                error(line, "unknown sector key '" + std::string(t[i]) + "'");
                continue;
            }
            int64_t v = 0;
            if (!number(line, t[i], t[i + 1], *r, v)) continue;
            if (!s.values.emplace(std::string(t[i]), v).second)
                error(line, std::string(t[i]) + " given twice in sector " +
                                std::to_string(currentSector_));
        }
    }

    // Reads `key value` pairs from t[from..] into wall settings.
    void wallSettings(int line, const Tokens& t, size_t from, WallSettings& w) {
        if ((t.size() - from) % 2 != 0)
            return error(line, "'" + std::string(t.back()) + "' has no value");
        for (size_t i = from; i < t.size(); i += 2) {
            const std::optional<Range> r = wallKeyRange(t[i]);
            if (!r) {
                error(line, "unknown wall key '" + std::string(t[i]) + "'");
                continue;
            }
            std::optional<int64_t>& slot = t[i] == "texture" ? w.texture
                                         : t[i] == "shade"   ? w.shade
                                         : t[i] == "repeatU" ? w.repeatU
                                                             : w.repeatV;
            if (slot) {
                error(line, std::string(t[i]) + " given twice");
                continue;
            }
            int64_t v = 0;
            if (t[i] == "repeatU" && t[i + 1] == "auto") slot = kRepeatUAuto;
            else if (number(line, t[i], t[i + 1], *r, v)) slot = v;
        }
    }

    void wallDefaults(int line, const Tokens& t, SourceSector& s) {
        if (s.defaultsLine != 0)
            return error(line, "'walls' given twice in sector " + std::to_string(currentSector_) +
                                   " (first on line " + std::to_string(s.defaultsLine) + ")");
        s.defaultsLine = line;
        wallSettings(line, t, 1, s.defaults);
    }

    void loop(int line, const Tokens& t, SourceSector& s) {
        if (t.size() < 4) return error(line, "a loop needs at least 3 points");
        SourceLoop l{line, {}};
        for (size_t i = 1; i < t.size(); ++i) l.names.emplace_back(t[i]);
        s.loops.push_back(std::move(l));
    }

    void wallOverride(int line, const Tokens& t, SourceSector& s) {
        if (t.size() < 3) return error(line, "'wall' expects two point names, then settings");
        SourceWallOverride o{line, std::string(t[1]), std::string(t[2]), {}};
        wallSettings(line, t, 3, o.settings);
        s.overrides.push_back(std::move(o));
    }

    void object(int line, const Tokens& t) {
        if (mode_ == Mode::AfterPicture) return error(line, "'object' after the picture");
        currentSector_ = -1;
        if (t.size() < 7) return error(line, "'object' expects I KIND X Y Z SECTOR, then settings");
        const int64_t expected = static_cast<int64_t>(source.objects.size());
        if (expected >= OBJECT_COUNT)
            return error(line, "more than " + std::to_string(OBJECT_COUNT) + " objects");
        int64_t v[6] = {};
        const char* names[6] = {"object index", "object kind", "object x", "object y", "object z",
                                "object sector"};
        const Range ranges[6] = {kInt16, {KIND_ENEMY_AWAKE, KIND_ENEMY_SHOT}, kInt32, kInt32,
                                 kInt32, kInt16};
        bool ok = true;
        for (int i = 0; i < 6; ++i) ok = number(line, names[i], t[i + 1], ranges[i], v[i]) && ok;
        if (ok && v[0] != expected)
            error(line, "object " + std::to_string(v[0]) + " out of order: expected object " +
                            std::to_string(expected));
        SourceObject o{line, defaultObject()};
        o.record.sprite = static_cast<uint8_t>(v[1]);
        o.record.x = static_cast<int32_t>(v[2]);
        o.record.y = static_cast<int32_t>(v[3]);
        o.record.z = static_cast<int32_t>(v[4]);
        o.record.sector = static_cast<int16_t>(v[5]);
        objectSettings(line, t, o.record);
        source.objects.push_back(o);
    }

    static GameObject defaultObject() {
        GameObject o{};
        o.size = 64;
        o.angle = 1536;
        o.cooldown = -1;
        o.reserved16[2] = 32;
        o.reserved16[4] = 64;
        o.reserved38[4] = 0xFF;
        o.reserved38[5] = 0xFF;
        return o;
    }

    void objectSettings(int line, const Tokens& t, GameObject& o) {
        if ((t.size() - 7) % 2 != 0)
            return error(line, "'" + std::string(t.back()) + "' has no value");
        std::vector<std::string_view> seen;
        for (size_t i = 7; i < t.size(); i += 2) {
            const std::optional<Range> r = objectKeyRange(t[i]);
            int64_t v = 0;
            if (!r) {
                error(line, "unknown object key '" + std::string(t[i]) + "'");
                continue;
            }
            if (std::find(seen.begin(), seen.end(), t[i]) != seen.end()) {
                error(line, std::string(t[i]) + " given twice");
                continue;
            }
            seen.push_back(t[i]);
            if (!number(line, t[i], t[i + 1], *r, v)) continue;
            const auto k = t[i];
            if (k == "size") o.size = static_cast<uint8_t>(v);
            else if (k == "timer") o.timer = static_cast<int16_t>(v);
            else if (k == "angle") o.angle = static_cast<int16_t>(v);
            else if (k == "cooldown") o.cooldown = static_cast<int16_t>(v);
            else if (k == "vx") o.vx = static_cast<int16_t>(v);
            else if (k == "vy") o.vy = static_cast<int16_t>(v);
            else o.vz = static_cast<int16_t>(v);
        }
    }

    void picture(int line, const Tokens& t) {
        if (mode_ == Mode::AfterPicture) return error(line, "a second picture");
        if (t.size() != 1) error(line, "'picture' takes no values");
        currentSector_ = -1;
        source.pictureLine = line;
        mode_ = Mode::Picture;
    }

    void pictureRow(int line, const Tokens& t) {
        if (t.size() == 1 && t[0] == "end") {
            if (source.pictureRows != kPictureRows)
                error(line, "the picture has " + std::to_string(source.pictureRows) +
                                " rows, not " + std::to_string(kPictureRows));
            source.pictureClosed = true;
            mode_ = Mode::AfterPicture;
            return;
        }
        const int row = source.pictureRows++;
        if (row >= kPictureRows) {
            if (row == kPictureRows) error(line, "the picture has more than 128 rows");
            return;
        }
        if (t.size() != 1 || t[0].size() != kPictureColumns)
            return error(line, "a picture row must be 64 pixel characters");
        for (int c = 0; c < kPictureColumns; ++c) {
            const int v = pixelValue(t[0][static_cast<size_t>(c)]);
            if (v < 0)
                return error(line, std::string("'") + t[0][static_cast<size_t>(c)] +
                                       "' is not a pixel ('.', 0..9, A..F)");
            uint8_t& b = source.picture[static_cast<size_t>(row * 32 + c / 2)];
            b = static_cast<uint8_t>(c % 2 == 0 ? (b & 0xF0) | v : (b & 0x0F) | (v << 4));
        }
    }

    void finish(int lastLine) {
        if (mode_ == Mode::BeforeLevel) return error(lastLine, "no 'level 1' statement");
        if (mode_ == Mode::Picture) error(lastLine, "the picture is not closed by 'end'");
        if (source.startLine == 0) error(lastLine, "no 'start' statement");
        if (source.sectors.empty()) error(lastLine, "no sectors");
    }

    const std::string& file_;
    std::vector<std::string>& errors_;
    Mode mode_ = Mode::BeforeLevel;
    int currentSector_ = -1;
    bool stopped_ = false;
};

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
    }

private:
    void error(int line, const std::string& message) {
        errors_.push_back(file_ + ":" + std::to_string(line) + ": " + message);
    }

    void requireEverything() {
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
        error(line, "unknown point '" + name + "'");
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
        const int64_t u = s.repeatU.value_or(kRepeatUAuto);
        w.repeatU = static_cast<int8_t>(u == kRepeatUAuto ? autoRepeatU(p, w.repeatV) : u);
    }

    // Square texels on a 4:3 display. A texture row spans 1024 / repeatV height units and a
    // column length / (16 * repeatU) floor units; a floor unit projects 20 times larger than a
    // height unit and a 320x200 pixel is 1.2 times taller than wide, so a texel is square when
    // repeatU = length * repeatV * 125 / 122880.
    static int autoRepeatU(const WallPlace& p, int repeatV) {
        const double dx = static_cast<double>(p.x2) - p.x1;
        const double dy = static_cast<double>(p.y2) - p.y1;
        const double length = std::sqrt(dx * dx + dy * dy);
        const double r = std::round(length * repeatV * 125.0 / 122880.0);
        return static_cast<int>(std::clamp(r, 1.0, 127.0));
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
        for (int w : ws) lines += (lines.empty() ? "" : ", ") + std::to_string(places_[static_cast<size_t>(w)].line);
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

bool compileLevelSource(std::string_view text, const std::string& file, LevelSize size,
                        GameState& g, LevelSourceMap& map, std::vector<std::string>& errors) {
    errors.clear();
    map = LevelSourceMap{};
    map.file = file;
    Parser parser(file, errors);
    parser.parse(text);
    if (!errors.empty()) return false;
    Builder(parser.source, file, errors).build(size, g, map);
    return errors.empty();
}

}  // namespace krello
