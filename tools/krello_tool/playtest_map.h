// The playtest's map: the level map with the routes the games walked as heat, the deaths and the kills.
#pragma once

#include <vector>

#include "krello_tool/level_map.h"
#include "playtest/game_record.h"
#include "world/game_state.h"

namespace krello::tool {

// The level map (drawLevelMap), dimmed, with over it: the time the games spent at each place as
// heat (dark amber to white), every kill as a green cross, and every death as a red cross joined
// by a red line to a red ring where the enemy stood that fired the fatal shot.
MapPicture drawPlaytestMap(const GameState& level, const std::vector<playtest::GameRecord>& games);

}  // namespace krello::tool
