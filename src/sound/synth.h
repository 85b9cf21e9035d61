// The synthesiser's parts the effects are made from: oscillators, noise, envelopes, sweeps, a filter.
#pragma once

#include <array>
#include <cstdint>

namespace krello::sound {

// Every effect and the mixer run at this rate: 16-bit samples, 22,050 a second. The effects are
// short noises and tones, so the 11 kHz this can carry is plenty, and half the rate of CD
// audio halves the memory and the mixing.
constexpr int SAMPLE_RATE = 22050;

// Samples in a span of milliseconds.
constexpr int32_t samplesIn(int32_t ms) { return static_cast<int32_t>(int64_t{ms} * SAMPLE_RATE / 1000); }

// Fixed point: Q15 holds -1..1 as -32768..32767, Q16 holds 1.0 as 65536.
constexpr int32_t Q15_ONE = 32768;

// All arithmetic here is on integers, so the same parameters make the same samples on every
// compiler and processor; only the table below is computed once from the game's portable sine.

// A sine of a 32-bit phase (2^32 a turn) in Q15: 2048 table points, linear between them.
class SineTable {
public:
    SineTable();
    int32_t at(uint32_t phase) const;

private:
    std::array<int32_t, 2049> points_{};  // sin(2 pi k / 2048) in Q15, k = 0..2048
};

// (1 - t/length)^power in Q15 for t in 0..length: 1 at the start, 0 at the end. Power 1 is a
// straight line; higher powers fall fast and then slowly, as a struck or plucked thing does.
int32_t fallingCurve(int32_t t, int32_t length, int power);

// A value going from `from` to `to` over `length` samples along fallingCurve, then staying at
// `to`: pitch drops and filter closings that sound like a natural decay.
struct Sweep {
    int32_t from = 0;
    int32_t to = 0;
    int32_t length = 0;  // samples; 0 holds `to` from the start
    int power = 1;
    int32_t at(int32_t t) const;
};

// Attack (straight rise), hold, then decay along fallingCurve; Q15, silent before and after.
struct Envelope {
    int32_t attack = 0;  // samples
    int32_t hold = 0;    // samples
    int32_t decay = 0;   // samples
    int power = 2;
    int32_t at(int32_t t) const;
    int32_t length() const { return attack + hold + decay; }
};

// White noise from a 32-bit xorshift sequence with its own fixed seed (never the game's
// random numbers, which the game alone may draw).
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    int32_t next();  // Q15

private:
    uint32_t state_;
};

enum class Wave : uint8_t { Sine, Triangle, Saw, Noise };

// A phase that advances by a frequency given in 1/256 Hz, so sweeps glide without steps.
class Phase {
public:
    uint32_t advance(int32_t frequencyQ8);  // returns the phase before the step
private:
    uint32_t phase_ = 0;
};

// The Q15 sample of a periodic wave at a phase.
int32_t waveAt(Wave wave, uint32_t phase, const SineTable& sine);

enum class FilterKind : uint8_t { None, LowPass, BandPass, HighPass };

// A resonant state-variable filter, run twice a sample so it stays stable up to 7 kHz. The
// band-pass output is scaled to unity gain at its centre, so resonance colours without
// making the sound louder.
class StateVariableFilter {
public:
    // input Q15; cutoff in Hz; q in hundredths (70 = 0.7, gentle; 400 = 4, ringing).
    int32_t step(int32_t input, int32_t cutoffHz, int32_t qHundredths, FilterKind kind, const SineTable& sine);

private:
    int32_t low_ = 0;   // Q23: eight bits below the sample's, for quiet tails without steps
    int32_t band_ = 0;  // Q23
};

// Removes the constant offset filtered noise can leave, so sounds end and start at rest.
class DcBlocker {
public:
    int32_t step(int32_t input);

private:
    int32_t lastIn_ = 0;
    int32_t lastOut_ = 0;
};

}  // namespace krello::sound
