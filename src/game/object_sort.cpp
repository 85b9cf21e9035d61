// The far-to-near object sort that puts nearer billboards after farther ones.
#include "game/object_sort.h"

#include <array>
#include <utility>

#include "world/distance.h"

namespace krello {

void sortObjects(GameState& g) {
    auto& objects = g.objects;
    // A record's distance depends on the record and the player alone, and the player stays put
    // while the table is sorted: so each record's distance is taken once and travels with it
    // through every exchange. The comparisons, and so the exact exchange sequence that fixes the
    // order the next update scans, are those of taking both distances afresh each time.
    std::array<int32_t, OBJECT_COUNT> distance;
    for (int i = 0; i < OBJECT_COUNT; ++i) distance[i] = playerDistance2D(g.player, objects[i]);
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        for (int j = i; j < OBJECT_COUNT; ++j) {
            if (distance[j] > distance[i]) {
                std::swap(objects[i], objects[j]);
                std::swap(distance[i], distance[j]);
            }
        }
    }
}

}  // namespace krello
