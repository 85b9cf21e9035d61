// Named viewpoints through the built-in level, rendered by the tool, the frame checks and the benchmark.
#include "tour/tour_views.h"

#include <array>

#include "level/loop_geometry.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// Positions come from where the level puts its player and its objects; angles aim at what is
// worth seeing from there. 2048 units are a full turn, 0 faces +x and 512 faces +y.
constexpr std::array<TourView, 15> kViews{{
    {"start", 7542, 38995, 0, 323, 151, true},               // the ledge, the shaft's mouth ahead
    {"start_back", 7542, 38995, 0, 1347, 151, true},         // the ledge's back wall
    {"shaft_bottom", 9300, 41900, 0, 512, 150, true},        // out of the shaft into the open area
    {"shaft_middle", 9300, 41900, -250000, 512, 150, false}, // halfway up the shaft
    {"open_area", 6000, 47000, 0, 1167, 128, true},          // towards the west terrace's enemy
    {"open_area_south", 11008, 46592, 0, 496, 128, true},    // down the open area
    {"tower_enemy", 4608, 47500, -50000, 512, 4, false},     // above the tower, its enemy on top
    {"terrace_enemy", -1500, 42000, 0, 275, 129, true},      // the awake enemy on the terrace
    {"terrace_enemy_near", -500, 43300, 0, 253, 129, true},  // the same enemy, 1,800 away
    {"hall", 27000, 58000, 0, 1195, 140, true},              // across the hall
    {"hall_blocks", 19000, 58500, 0, 1786, 140, true},       // the raised blocks
    {"stairs", 13400, 42650, 0, 1536, 21, true},             // up the stairs 21..14
    {"room_156", 20480, 48384, 0, 1536, 156, true},          // up the blue stairs
    {"room_158", 23552, 43264, 0, 1024, 158, true},
    {"shot_store", 31488, 44800, 0, 1024, 154, true},        // where the idle shots wait
}};

}  // namespace

std::span<const TourView> tourViews() { return kViews; }

bool placeViewer(GameState& g, const TourView& view) {
    const uint16_t sector = static_cast<uint16_t>(view.sector);
    if (!pointInSector(g, sector, view.x, view.y)) return false;
    g.player.x = view.x;
    g.player.y = view.y;
    g.player.z = view.standing ? sub32(g.sectors[sector].floorZ, EYE_HEIGHT) : view.z;
    g.player.angle = view.angle;
    g.player.sector = view.sector;
    return true;
}

}  // namespace krello
