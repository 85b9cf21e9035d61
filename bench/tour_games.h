// The built-in level after start-up, one copy per tour view with the viewer placed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "replay/game_run.h"
#include "tour/tour_views.h"

namespace krello::bench {

inline std::vector<std::unique_ptr<GameState>> tourGames() {
    GameRun run;
    std::vector<std::string> problems;
    run.loadLevel("", problems);
    run.start();
    std::vector<std::unique_ptr<GameState>> games;
    for (const TourView& view : tourViews()) {
        auto g = std::make_unique<GameState>(run.game());
        if (placeViewer(*g, view)) games.push_back(std::move(g));
    }
    return games;
}

}  // namespace krello::bench
