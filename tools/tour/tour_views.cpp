// Named viewpoints through the built-in level, rendered by the tool, the frame checks and the benchmark.
#include "tour/tour_views.h"

#include <array>

#include "level/loop_geometry.h"
#include "world/fixed_math.h"

namespace krello {
namespace {

// Positions come from where the level puts its player and its objects; angles aim at what is
// worth seeing from there. 2048 units are a full turn, 0 faces +x and 512 faces +y.
constexpr std::array<TourView, 16> kViews{{
    {"start", 7542, 38995, 0, 323, 151, true},               // the ledge, the shaft's mouth ahead
    {"start_back", 7542, 38995, 0, 1347, 151, true},         // the ledge's back wall
    {"shaft_bottom", 9200, 41400, 0, 600, 150, true},        // down from the shaft into the courtyard
    {"shaft_middle", 9200, 41400, -250000, 600, 150, false}, // halfway up the shaft
    {"court", 10500, 45000, 0, 900, 128, true},              // the courtyard, the tower beyond
    {"court_south", 11000, 46000, 0, 560, 128, true},        // down the courtyard
    {"west_door", 2600, 42400, 0, 1000, 128, true},          // the door to the west stairs
    {"west_hall_enemy", -600, 44350, 0, 0, 129, true},       // the awake enemy in the upper west hall
    {"tower_stair", 5950, 62000, 0, 1536, 152, true},        // up the stair beside the tower
    {"tower_enemy", 5250, 52500, 0, 811, 148, true},         // the awake enemy in the tower room
    {"hall", 27000, 58000, 0, 1195, 140, true},              // across the hall
    {"hall_blocks", 19000, 58500, 0, 1786, 140, true},       // the raised blocks
    {"stairs", 13400, 42650, 0, 1536, 21, true},             // up the stairs 21..14
    {"room_156", 20480, 48384, 0, 1536, 156, true},          // the high room at the top of the blue stairs
    {"room_158", 23900, 43300, 0, 1024, 158, true},          // the cellar's guards' pen, out of its mouth
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
