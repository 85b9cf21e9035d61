// An autopilot that plays the level to produce a tour input script: it walks, turns, jumps,
// hunts and shoots enemies, and finally walks into enemy fire until the game is over.
#pragma once

#include <string>
#include <vector>

#include "replay/input_script.h"
#include "world/game_state.h"

namespace krello {

struct TourPlan {
    std::vector<ScriptStep> steps;
    long score = 0;
    long gameOverAt = 0;  // the update that ended the game, 0 if it never ended
    long jumps = 0;
    long shotsFired = 0;
    long retries = 0;  // times the planner went back after losing too early
};

// The longest tour asked for: a tour is a test's input, a few thousand updates; a million
// keeps its script under 10 MB and its planning within minutes.
constexpr long TOUR_MAX_UPDATES = 1000000;

// Plays the freshly loaded level in g (start-up not yet run) for at least minUpdates updates
// and at most maxUpdates, deciding each update's keys from the state the previous one left.
// minUpdates is cut to 0..TOUR_MAX_UPDATES and maxUpdates to 0..2 * TOUR_MAX_UPDATES.
// The plan ends 100 updates after game over once minUpdates are done. The pilot keeps its own
// pseudo-random sequence for frame times, so the game's generator sees only the game's draws.
TourPlan planTour(GameState& g, long minUpdates, long maxUpdates);

}  // namespace krello
