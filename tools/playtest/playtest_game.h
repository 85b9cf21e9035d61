// One playtest game: the bot at the keys of a fresh game, headless, until game over or the time limit.
#pragma once

#include <cstdint>
#include <cstdio>

#include "playtest/game_record.h"
#include "playtest/level_areas.h"
#include "playtest/level_graph.h"
#include "playtest/skill_profile.h"
#include "render/render_path.h"
#include "replay/demo.h"
#include "world/game_state.h"

namespace krello::playtest {

// What every game of a playtest shares; only read while games run, so any number of threads
// may play from one.
struct PlaytestSetup {
    const GameState* level = nullptr;  // the level's fresh tables (start-up not run)
    DemoLevel demoLevel;               // how demos name the level
    const LevelGraph* graph = nullptr;
    const LevelAreas* areas = nullptr;
    SkillProfile skill = NOVICE;
    uint32_t limitMs = 600000;         // game time a game may last
    RenderPath renderPath = RenderPath::Scalar;  // how the bot's eyes draw (every path draws alike)
};

// The seed of game `index` (from 1) of a playtest started with `seed`: game i of seed S is
// game 1 of seed S + i - 1, so any game can be played again alone.
constexpr uint64_t gameSeed(uint64_t seed, int index) { return seed + static_cast<uint64_t>(index - 1); }

// Plays one game with the bot and returns what the referee wrote down. Every frame is drawn,
// and the bot sees what it drew. With `demo`, the game is recorded into it from the level
// start-up on (finished, not closed); a write that fails is a std::runtime_error.
GameRecord playGame(const PlaytestSetup& setup, uint64_t seed, std::FILE* demo);

}  // namespace krello::playtest
