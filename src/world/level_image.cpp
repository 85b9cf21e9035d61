// Decodes and encodes the level image, little-endian, reserved bytes included: field by field, or
// table by table on a host whose byte order is the image's.
#include "world/level_image.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace krello {
namespace {

// Reads or writes consecutive little-endian fields at a moving offset. One class serves both
// directions so that the field lists below are written once and cannot drift apart.
class ByteCursor {
public:
    ByteCursor(const uint8_t* in, uint8_t* out, size_t offset) : in_(in), out_(out), pos_(offset) {}

    template <typename T>
    void field(T& value) {
        using U = std::make_unsigned_t<T>;
        if (in_) {
            U u = 0;
            for (size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>(u | (U(in_[pos_ + i]) << (8 * i)));
            value = static_cast<T>(u);
        } else {
            const U u = static_cast<U>(value);
            for (size_t i = 0; i < sizeof(T); ++i) out_[pos_ + i] = static_cast<uint8_t>(u >> (8 * i));
        }
        pos_ += sizeof(T);
    }

    template <size_t N>
    void bytes(uint8_t (&b)[N]) {
        if (in_) std::memcpy(b, in_ + pos_, N);
        else std::memcpy(out_ + pos_, b, N);
        pos_ += N;
    }

private:
    const uint8_t* in_;
    uint8_t* out_;
    size_t pos_;
};

template <typename Cursor, typename Player>
void player(Cursor& c, Player& p) {
    c.field(p.x); c.field(p.y); c.field(p.z); c.field(p.angle); c.field(p.sector);
}

template <typename Cursor, typename S>
void sector(Cursor& c, S& s) {
    c.field(s.firstWall); c.field(s.wallCount); c.field(s.ceilingZ); c.field(s.floorZ);
    c.bytes(s.reserved12); c.field(s.ceilingTexture); c.bytes(s.reserved17);
    c.field(s.ceilingShade); c.bytes(s.reserved21); c.field(s.floorTexture); c.bytes(s.reserved25);
    c.field(s.floorShade); c.bytes(s.reserved29); c.field(s.shadeFalloff); c.bytes(s.reserved33);
    c.field(s.objectCount);
}

template <typename Cursor, typename W>
void wall(Cursor& c, W& w) {
    c.field(w.x); c.field(w.y); c.field(w.point2); c.field(w.otherWall); c.field(w.nextSector);
    c.bytes(w.reserved14); c.field(w.texture); c.bytes(w.reserved17); c.field(w.shade);
    c.field(w.reserved21); c.field(w.repeatU); c.field(w.repeatV); c.bytes(w.reserved24);
    c.field(w.mark);
}

template <typename Cursor, typename O>
void object(Cursor& c, O& o) {
    c.field(o.x); c.field(o.y); c.field(o.z); c.field(o.timer); c.field(o.sprite);
    c.field(o.kindHigh); c.bytes(o.reserved16); c.field(o.size); c.bytes(o.reserved22);
    c.field(o.sector); c.field(o.flags); c.field(o.angle); c.field(o.cooldown);
    c.field(o.vx); c.field(o.vy); c.field(o.vz); c.bytes(o.reserved38);
}

// Walks every field of the image in order; `g` is read (encode) or written (decode).
void transcode(ByteCursor& c, GameState& g) {
    player(c, g.player);
    for (Sector& s : g.sectors) sector(c, s);
    for (Wall& w : g.walls) wall(c, w);
    for (GameObject& o : g.objects) object(c, o);
    for (uint8_t& b : g.enemyPicture) c.field(b);
}

// Each table as one copy: the records' layout is the image's (records.h asserts every size and
// offset; the round trip through the field lists is tested), so on a little-endian host the
// copies give what the field lists do. Loading is a fuzzed image's first step, thousands of
// times a second, and reading it field by field was a twentieth of that time.
template <typename Table>
void copyTable(std::span<const uint8_t> image, size_t offset, Table& table) {
    static_assert(std::is_trivially_copyable_v<Table>);
    std::memcpy(&table, image.data() + offset, sizeof table);
}

}  // namespace

bool decodeLevelImage(std::span<const uint8_t> image, GameState& g) {
    if (image.size() != LEVEL_IMAGE_BYTES) return false;
    if constexpr (std::endian::native == std::endian::little) {
        copyTable(image, IMAGE_PLAYER_OFFSET, g.player);
        copyTable(image, IMAGE_SECTORS_OFFSET, g.sectors);
        copyTable(image, IMAGE_WALLS_OFFSET, g.walls);
        copyTable(image, IMAGE_OBJECTS_OFFSET, g.objects);
        copyTable(image, IMAGE_PICTURE_OFFSET, g.enemyPicture);
    } else {
        ByteCursor c(image.data(), nullptr, 0);
        transcode(c, g);
    }
    return true;
}

void encodeLevelImage(const GameState& g, std::span<uint8_t, LEVEL_IMAGE_BYTES> image) {
    ByteCursor c(nullptr, image.data(), 0);
    // The cursor only reads from g when encoding; the cast lets one field list serve both ways.
    transcode(c, const_cast<GameState&>(g));
}

}  // namespace krello
