// Many playtest games at once: each on a thread of its own, the results in game order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "playtest/game_record.h"
#include "playtest/playtest_game.h"

namespace krello::playtest {

// Plays `games` games, game i (from 1) with gameSeed(seed, i), on up to `threads` threads, and
// returns their records in game order. A game depends on its seed alone, so the records are the
// same whatever the thread count. `demos` is empty, or holds a stream per game to record it into.
// A game that fails stops the rest; its exception is rethrown here.
std::vector<GameRecord> playGames(const PlaytestSetup& setup, uint64_t seed, int games, int threads,
                                  const std::vector<std::FILE*>& demos);

}  // namespace krello::playtest
