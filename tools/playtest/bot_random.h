// The playtest bot's own random numbers: seeded per game, apart from the game's one generator.
#pragma once

#include <cstdint>

namespace krello::playtest {

// SplitMix64: a 64-bit state stepped by a constant and mixed. Every draw is integer or exact
// IEEE arithmetic, so a seed gives the same numbers on every platform and compiler; the game's
// own generator never sees these draws.
class BotRandom {
public:
    explicit BotRandom(uint64_t seed) : state_(seed) {}

    uint64_t next() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), 53 bits.
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    // Uniform whole number in [0, n), n > 0.
    uint32_t below(uint32_t n) { return static_cast<uint32_t>((next() >> 32) * n >> 32); }

    // Close to a standard normal: the sum of twelve uniforms less six (mean 0, deviation 1,
    // tails cut at 6). No logarithm or cosine, whose last bits differ between C libraries.
    double normal() {
        double sum = 0.0;
        for (int i = 0; i < 12; ++i) sum += uniform();
        return sum - 6.0;
    }

private:
    uint64_t state_;
};

// A seed for one purpose of one game, so the frame times and the bot's choices draw from
// separate sequences and neither shifts the other.
constexpr uint64_t streamSeed(uint64_t gameSeed, uint64_t purpose) {
    return gameSeed * 0xD1B54A32D192ED03ull + purpose * 0x9E3779B97F4A7C15ull + 1;
}

}  // namespace krello::playtest
