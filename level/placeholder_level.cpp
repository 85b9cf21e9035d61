// A stand-in for the level until the level source and its compiler exist: the player's start
// and the 23 objects of the level in the right layout, every sector and wall zero.
#include <array>

#include "world/builtin_level.h"

namespace krello {
namespace {

struct ObjectRow {
    uint16_t kind;
    int32_t x, y, z;
    int16_t sector;
};

constexpr ObjectRow kObjects[OBJECT_COUNT] = {
    {10, 20480, 51456, 0, 140},       {10, 1280, 41472, 9216, 128},
    {10, 11008, 46592, 9216, 128},    {10, 11776, 60928, 9216, 128},
    {10, 17152, 61696, 8192, 164},    {10, 23808, 56576, 0, 140},
    {10, 20480, 48384, -43008, 156},  {10, 23552, 43264, 8192, 158},
    {9, 4608, 52992, -46080, 148},    {9, 768, 44544, -8192, 129},
    {11, 31488, 44800, -10240, 154},  {11, 31232, 44800, -10240, 154},
    {11, 30976, 44800, -10240, 154},  {11, 30720, 44800, -10240, 154},
    {11, 30464, 44800, -10240, 154},  {12, 30976, 44416, -10240, 154},
    {12, 31232, 44416, -10240, 154},  {12, 31488, 44416, -10240, 154},
    {12, 31488, 44160, -10240, 154},  {12, 31232, 44160, -10240, 154},
    {12, 30976, 44160, -10240, 154},  {12, 30720, 44160, -10240, 154},
    {12, 30464, 44160, -10240, 154},
};

std::array<uint8_t, LEVEL_IMAGE_BYTES> buildPlaceholder() {
    GameState g;
    g.player = {7542, 38995, 2048, 323, 151};
    for (Sector& s : g.sectors) s.objectCount = -1;
    for (Wall& w : g.walls) w.mark = -1;
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        GameObject& o = g.objects[i];
        const ObjectRow& r = kObjects[i];
        o.x = r.x; o.y = r.y; o.z = r.z; o.sector = r.sector;
        o.sprite = static_cast<uint8_t>(r.kind);
        o.size = 64;
        o.timer = (i == 8 || i == 9) ? 1 : 0;
        o.angle = 1536;
        o.cooldown = -1;
        o.reserved16[2] = 32;
        o.reserved16[4] = 64;
        o.reserved38[4] = 0xFF;
        o.reserved38[5] = 0xFF;
    }
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    encodeLevelImage(g, image);
    return image;
}

const std::array<uint8_t, LEVEL_IMAGE_BYTES> kImage = buildPlaceholder();

}  // namespace

std::span<const uint8_t, LEVEL_IMAGE_BYTES> builtinLevelImage() { return kImage; }

void loadBuiltinLevel(GameState& g) { decodeLevelImage(builtinLevelImage(), g); }

}  // namespace krello
