// The playtest's games shared out among threads, each game whole on one thread.
#include "playtest/playtest_batch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>

#ifndef KRELLO_NO_THREADS
#include <thread>
#endif

namespace krello::playtest {

std::vector<GameRecord> playGames(const PlaytestSetup& setup, uint64_t seed, int games, int threads,
                                  const std::vector<std::FILE*>& demos) {
    std::vector<GameRecord> records(static_cast<size_t>(std::max(games, 0)));
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::mutex errorLock;
    std::exception_ptr error;
    auto work = [&] {
        for (int i = next++; i < games && !failed; i = next++) {
            try {
                std::FILE* demo = demos.empty() ? nullptr : demos[static_cast<size_t>(i)];
                records[static_cast<size_t>(i)] = playGame(setup, gameSeed(seed, i + 1), demo);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(errorLock);
                if (!error) error = std::current_exception();
                failed = true;
            }
        }
    };
#ifndef KRELLO_NO_THREADS
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(threads, games); ++t) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
#else
    (void)threads;
    work();
#endif
    if (error) std::rethrow_exception(error);
    return records;
}

}  // namespace krello::playtest
