// A busy loop of the benchmark's own on one core, so figures "with a competing program" can be
// reproduced anywhere: it runs while the object lives.
#pragma once

#include <atomic>
#include <thread>

namespace krello::bench {

class CompetingLoad {
public:
    explicit CompetingLoad(bool on) {
        if (on) spinner_ = std::thread([this] {
            while (!stop_.load(std::memory_order_relaxed)) {
            }
        });
    }
    ~CompetingLoad() {
        stop_.store(true, std::memory_order_relaxed);
        if (spinner_.joinable()) spinner_.join();
    }
    CompetingLoad(const CompetingLoad&) = delete;
    CompetingLoad& operator=(const CompetingLoad&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread spinner_;
};

}  // namespace krello::bench
