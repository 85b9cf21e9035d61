// The far-to-near object sort that puts nearer billboards after farther ones.
#include "game/object_sort.h"

#include <utility>

#include "world/distance.h"

namespace krello {

void sortObjects(GameState& g) {
    auto& objects = g.objects;
    // Both distances are taken afresh for every comparison: after an exchange, record i holds
    // another object. The exact exchange sequence fixes the order the next update scans.
    for (int i = 0; i < OBJECT_COUNT; ++i) {
        for (int j = i; j < OBJECT_COUNT; ++j) {
            if (playerDistance2D(g.player, objects[j]) > playerDistance2D(g.player, objects[i])) {
                std::swap(objects[i], objects[j]);
            }
        }
    }
}

}  // namespace krello
