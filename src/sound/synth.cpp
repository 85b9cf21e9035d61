// The synthesiser's parts: integer oscillators, noise, curves, a state-variable filter, a DC blocker.
#include "sound/synth.h"

#include <algorithm>

#include "world/fixed_math.h"
#include "world/portable_trig.h"

namespace krello::sound {

namespace {

constexpr int TABLE_BITS = 11;  // 2048 points a turn, as the game's angle unit
constexpr int FRACTION_BITS = 32 - TABLE_BITS;
constexpr int32_t FILTER_MAX_HZ = 7000;  // the doubled rate keeps the filter stable below this
constexpr int SIGNAL_SHIFT = 8;          // the filter's states carry eight more bits than a sample

int32_t power(int32_t q15, int n) {
    int32_t r = Q15_ONE;
    for (int i = 0; i < n; ++i) r = static_cast<int32_t>((int64_t{r} * q15) >> 15);
    return r;
}

}  // namespace

SineTable::SineTable() {
    // The game's portable sine gives the same doubles everywhere; rounding them to Q15 once,
    // here, is the only floating-point step of the whole synthesiser.
    for (int k = 0; k <= 2048; ++k) {
        const double s = sinCosOfAngle(k).sin * 32767.0;
        points_[static_cast<size_t>(k)] = truncToInt32(s + (s < 0 ? -0.5 : 0.5));
    }
}

int32_t SineTable::at(uint32_t phase) const {
    const uint32_t k = phase >> FRACTION_BITS;
    const int32_t fraction = static_cast<int32_t>((phase >> (FRACTION_BITS - 15)) & 0x7FFF);
    const int32_t a = points_[k];
    const int32_t b = points_[k + 1];
    return a + static_cast<int32_t>((int64_t{b - a} * fraction) >> 15);
}

int32_t fallingCurve(int32_t t, int32_t length, int n) {
    if (length <= 0 || t >= length) return 0;
    if (t <= 0) return Q15_ONE;
    const int32_t rest = static_cast<int32_t>(int64_t{length - t} * Q15_ONE / length);
    return power(rest, n);
}

int32_t Sweep::at(int32_t t) const {
    if (t >= length) return to;
    const int32_t c = fallingCurve(t, length, power);
    return to + static_cast<int32_t>((int64_t{from - to} * c) >> 15);
}

int32_t Envelope::at(int32_t t) const {
    if (t < 0) return 0;
    if (t < attack) return static_cast<int32_t>(int64_t{t} * Q15_ONE / attack);
    t -= attack;
    if (t < hold) return Q15_ONE;
    return fallingCurve(t - hold, decay, power);
}

int32_t Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<int32_t>(state_ >> 16) - 32768;
}

uint32_t Phase::advance(int32_t frequencyQ8) {
    const uint32_t before = phase_;
    // 2^32 per turn: a frequency of f/256 Hz adds f * 2^24 / SAMPLE_RATE a sample.
    const int64_t f = std::max<int32_t>(frequencyQ8, 0);
    phase_ += static_cast<uint32_t>((f << 24) / SAMPLE_RATE);
    return before;
}

int32_t waveAt(Wave wave, uint32_t phase, const SineTable& sine) {
    switch (wave) {
    case Wave::Sine:
        return sine.at(phase);
    case Wave::Triangle: {
        // Up from -1 to 1 over the first half of the turn, down over the second.
        const int32_t p = static_cast<int32_t>(phase >> 16);  // 0..65535
        return p < 32768 ? p * 2 - 32768 : 32767 - (p - 32768) * 2;
    }
    case Wave::Saw:
        return static_cast<int32_t>(phase >> 16) - 32768;
    case Wave::Noise:
        break;
    }
    return 0;
}

int32_t StateVariableFilter::step(int32_t input, int32_t cutoffHz, int32_t qHundredths, FilterKind kind,
                                  const SineTable& sine) {
    if (kind == FilterKind::None) return input;
    const int32_t cutoff = std::clamp<int32_t>(cutoffHz, 20, FILTER_MAX_HZ);
    // f = 2 sin(pi fc / (2 rate)): the phase of pi fc / (2 rate) is fc * 2^30 / rate.
    const auto phase = static_cast<uint32_t>((int64_t{cutoff} << 30) / SAMPLE_RATE);
    const int64_t f = int64_t{sine.at(phase)} * 4;  // Q16
    const int64_t damp = int64_t{65536} * 100 / std::max<int32_t>(qHundredths, 50);  // 1/q in Q16
    const int32_t in = input * (1 << SIGNAL_SHIFT);
    int32_t high = 0;
    for (int pass = 0; pass < 2; ++pass) {
        low_ += static_cast<int32_t>((f * band_) >> 16);
        high = in - low_ - static_cast<int32_t>((damp * band_) >> 16);
        band_ += static_cast<int32_t>((f * high) >> 16);
    }
    int32_t out = 0;
    switch (kind) {
    case FilterKind::LowPass:
        out = low_;
        break;
    case FilterKind::BandPass:
        out = static_cast<int32_t>((int64_t{band_} * damp) >> 16);
        break;
    case FilterKind::HighPass:
        out = high;
        break;
    case FilterKind::None:
        break;
    }
    return out >> SIGNAL_SHIFT;
}

int32_t DcBlocker::step(int32_t input) {
    // y = x - x' + 0.995 y': a high-pass near 17 Hz, below anything the effects mean to say.
    const int32_t out = input - lastIn_ + static_cast<int32_t>((int64_t{lastOut_} * 32604) >> 15);
    lastIn_ = input;
    lastOut_ = out;
    return out;
}

}  // namespace krello::sound
