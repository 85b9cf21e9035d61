// The built-in level after start-up, one copy per tour view with the viewer placed.
#pragma once

#include <memory>
#include <vector>

#include "game/start_level.h"
#include "level/builtin_level.h"
#include "replay/headless_platform.h"
#include "tour/tour_views.h"

namespace krello::bench {

inline std::vector<std::unique_ptr<GameState>> tourGames() {
    auto started = std::make_unique<GameState>();
    loadBuiltinLevel(*started);
    HeadlessPlatform platform;
    startLevel(*started, platform);
    std::vector<std::unique_ptr<GameState>> games;
    for (const TourView& view : tourViews()) {
        auto g = std::make_unique<GameState>(*started);
        if (placeViewer(*g, view)) games.push_back(std::move(g));
    }
    return games;
}

}  // namespace krello::bench
