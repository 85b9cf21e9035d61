// Named viewpoints through the built-in level, rendered by the tool, the frame checks and the benchmark.
#include "render/tour_views.h"

#include <array>

#include "world/fixed_math.h"

namespace krello {
namespace {

// Positions come from where the level puts its player and its objects; angles aim at what is
// worth seeing from there. 2048 units are a full turn, 0 faces +x and 512 faces +y.
constexpr std::array<TourView, 12> kViews{{
    {"start", 7542, 38995, 0, 323, 151, true},
    {"start_shaft", 7542, 38995, 0, 277, 151, true},
    {"start_back", 7542, 38995, 0, 1347, 151, true},
    {"open_area", 11008, 46592, 0, 1182, 128, true},
    {"open_area_south", 1280, 41472, 0, 566, 128, true},
    {"open_area_far", 11776, 60928, 0, 1600, 128, true},
    {"hall", 20480, 51456, 0, 360, 140, true},
    {"hall_blocks", 23808, 56576, 0, 1300, 140, true},
    {"room_156", 20480, 48384, 0, 0, 156, true},
    {"room_158", 23552, 43264, 0, 1024, 158, true},
    {"enemy_148", 4608, 52992, 0, 1024, 148, true},
    {"shot_store", 31488, 44800, 0, 1024, 154, true},
}};

}  // namespace

std::span<const TourView> tourViews() { return kViews; }

bool placeViewer(GameState& g, const TourView& view) {
    const uint16_t sector = static_cast<uint16_t>(view.sector);
    if (sector >= SECTOR_COUNT) return false;
    g.player.x = view.x;
    g.player.y = view.y;
    g.player.z = view.standing ? sub32(g.sectors[sector].floorZ, STANDING_EYE) : view.z;
    g.player.angle = view.angle;
    g.player.sector = view.sector;
    return true;
}

}  // namespace krello
