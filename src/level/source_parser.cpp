// The level source parser: text read line by line into statements, each checked as it comes.
#include "level/source_parser.h"

#include <algorithm>

#include "io/shown_text.h"

namespace krello {
namespace {

constexpr int64_t kHuge = int64_t{1} << 40;  // parsed magnitudes are capped here, never overflowing
constexpr int kPictureRows = 128;
constexpr int kPictureColumns = 64;

// The reserved bytes of an object record that the game's image carries (see defaultObject).
constexpr uint8_t RESERVED16_BYTE2 = 32;
constexpr uint8_t RESERVED16_BYTE4 = 64;
constexpr uint8_t RESERVED38_BYTES4_5 = 0xFF;

using Tokens = std::vector<std::string_view>;

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

// A word from the source in quotes, for messages. Built by appending: g++ 12 at -O3 warns
// (-Wrestrict) on `"'" + std::string`.
// Echoed bounded and escaped: a huge or hostile token still makes a short, plain line.
std::string quoted(std::string_view word) {
    std::string q(1, '\'');
    q += io::shownText(word);
    q += '\'';
    return q;
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
        if (errors_.size() >= LEVEL_SOURCE_MAX_ERRORS) {
            errors_.push_back(tooManyErrors(file_));
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
        split(raw.substr(0, hash), tokens_);
        const Tokens& t = tokens_;
        if (t.empty()) return;
        if (mode_ == Mode::Picture) return pictureRow(line, t);
        if (mode_ == Mode::BeforeLevel) return levelStatement(line, t);
        statement(line, t);
    }

    static std::string hex(unsigned value) {
        static const char digits[] = "0123456789ABCDEF";
        return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
    }

    // Into the parser's one list, kept from line to line: a level has thousands of lines, and a
    // list made for each was most of the parser's time.
    static void split(std::string_view s, Tokens& t) {
        t.clear();
        size_t i = 0;
        while (i < s.size()) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
            size_t j = i;
            while (j < s.size() && s[j] != ' ' && s[j] != '\t' && s[j] != '\r') ++j;
            if (j > i) t.push_back(s.substr(i, j - i));
            i = j;
        }
    }

    void levelStatement(int line, const Tokens& t) {
        if (t[0] != "level") {
            error(line, "the first statement must be 'level 1', not " + quoted(t[0]));
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
            error(line, std::string(what) + ": " + quoted(token) + " is not a number");
            return false;
        }
        if (*v < r.min || *v > r.max) {
            error(line, std::string(what) + ": " + io::shownText(token) + " is out of range " +
                            std::to_string(r.min) + ".." + std::to_string(r.max));
            return false;
        }
        out = *v;
        return true;
    }

    bool argumentCount(int line, const Tokens& t, size_t count, const char* shape) {
        if (t.size() == count) return true;
        error(line, quoted(t[0]) + " expects " + shape);
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
            return error(line, quoted(k) + " is not a statement outside a sector");
        SourceSector& s = source.sectors[static_cast<size_t>(currentSector_)];
        if (k == "loop") return loop(line, t, s);
        if (k == "wall") return wallOverride(line, t, s);
        if (k == "walls") return wallDefaults(line, t, s);
        sectorValues(line, t, s);
    }

    void point(int line, const Tokens& t) {
        if (!argumentCount(line, t, 4, "NAME X Y")) return;
        const std::string name(t[1]);
        if (!validName(name)) return error(line, quoted(name) + " is not a point name");
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
            return error(line, quoted(t.back()) + " has no value");
        for (size_t i = 0; i < t.size(); i += 2) {
            const std::optional<Range> r = sectorKeyRange(t[i]);
            if (!r) {
                error(line, "unknown sector key " + quoted(t[i]));
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
            return error(line, quoted(t.back()) + " has no value");
        for (size_t i = from; i < t.size(); i += 2) {
            const std::optional<Range> r = wallKeyRange(t[i]);
            if (!r) {
                error(line, "unknown wall key " + quoted(t[i]));
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
            if (t[i] == "repeatU" && t[i + 1] == "auto") slot = REPEAT_U_AUTO;
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
        // Every object record of the game's own level image carries these reserved bytes. The
        // game never reads them; they are written as they stand so that a compiled image is
        // that image byte for byte (docs/level-format.md lists them).
        o.reserved16[2] = RESERVED16_BYTE2;
        o.reserved16[4] = RESERVED16_BYTE4;
        o.reserved38[4] = RESERVED38_BYTES4_5;
        o.reserved38[5] = RESERVED38_BYTES4_5;
        return o;
    }

    void objectSettings(int line, const Tokens& t, GameObject& o) {
        if ((t.size() - 7) % 2 != 0)
            return error(line, quoted(t.back()) + " has no value");
        std::vector<std::string_view> seen;
        for (size_t i = 7; i < t.size(); i += 2) {
            const std::optional<Range> r = objectKeyRange(t[i]);
            int64_t v = 0;
            if (!r) {
                error(line, "unknown object key " + quoted(t[i]));
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
                return error(line, quoted(t[0].substr(static_cast<size_t>(c), 1)) +
                                       " is not a pixel ('.', 0..9, A..F)");
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
    Tokens tokens_;  // the words of the line being read
};

}  // namespace

bool parseLevelSource(std::string_view text, const std::string& file, Source& source,
                      std::vector<std::string>& errors) {
    const size_t before = errors.size();
    Parser parser(file, errors);
    parser.parse(text);
    source = std::move(parser.source);
    return errors.size() == before;
}

}  // namespace krello
