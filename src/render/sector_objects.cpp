// Each sector's active objects, listed once a frame after the sort, for the billboards.
#include "render/render_state.h"
#include "render/sprites.h"
#include "world/portable_trig.h"

namespace krello {

void listSectorObjects(const GameState& g, SectorObjects& lists) {
    const SinCos heading = sinCosOfAngle(g.player.angle);
    listSectorObjects(g, heading.cos, heading.sin, lists);
}

void listSectorObjects(const GameState& g, double headingCos, double headingSin, SectorObjects& lists) {
    // A counting sort by sector that keeps table order within each sector.
    std::array<uint8_t, SECTOR_COUNT + 1> count{};
    auto listed = [](const GameObject& o) {
        return (o.flags & OBJ_ACTIVE) != 0 && isSector(o.sector);
    };
    for (const GameObject& o : g.objects)
        if (listed(o)) ++count[static_cast<uint16_t>(o.sector) + 1];
    lists.first[0] = 0;
    for (int s = 0; s < SECTOR_COUNT; ++s) lists.first[s + 1] = static_cast<uint8_t>(lists.first[s] + count[s + 1]);
    std::array<uint8_t, SECTOR_COUNT> next{};
    for (int s = 0; s < SECTOR_COUNT; ++s) next[s] = lists.first[s];
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        const GameObject& o = g.objects[i];
        if (!listed(o)) continue;
        const int k = next[static_cast<uint16_t>(o.sector)]++;
        lists.object[k] = static_cast<uint8_t>(i);
        lists.seen[k] = seeObject(g.player, headingCos, headingSin, o);
    }
}

}  // namespace krello
