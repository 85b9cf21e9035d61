// How an effect is made: up to four layers of oscillator or noise, each filtered and shaped.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "sound/synth.h"

namespace krello::sound {

// One voice of an effect: a wave whose pitch may sweep, through a filter whose cutoff may sweep,
// shaped by an envelope. Times are milliseconds from the layer's start, pitches Hz.
struct Layer {
    Wave wave = Wave::Sine;
    int32_t startMs = 0;         // when the layer begins within the effect
    int32_t pitchFrom = 440;     // Hz at the start (not used by noise)
    int32_t pitchTo = 440;       // Hz at the end of the pitch sweep
    int32_t pitchMs = 0;         // length of the pitch sweep
    int pitchPower = 2;          // shape of the pitch sweep (see fallingCurve)
    int32_t vibratoHz = 0;       // a slow wobble of the pitch, 0 for none
    int32_t vibratoPermille = 0; // how far the wobble reaches, in thousandths of the pitch
    FilterKind filter = FilterKind::None;
    int32_t cutoffFrom = 1000;   // Hz at the start
    int32_t cutoffTo = 1000;     // Hz at the end of the cutoff sweep
    int32_t cutoffMs = 0;        // length of the cutoff sweep
    int cutoffPower = 2;
    int32_t q = 70;              // resonance in hundredths
    int32_t toneHz = 0;          // a second, gentle low-pass after the filter; 0 for none
    int32_t attackMs = 1;
    int32_t holdMs = 0;
    int32_t decayMs = 100;
    int decayPower = 2;
    int32_t level = 100;         // share of the mix, percent
    uint32_t seed = 1;           // the noise sequence's start
};

struct Recipe {
    std::string_view name;
    int32_t peakPercent = 70;  // the loudest sample, percent of full scale
    int layerCount = 0;
    std::array<Layer, 4> layers{};
};

// The effect's 16-bit samples at SAMPLE_RATE: the layers summed, the constant offset removed,
// scaled to the recipe's peak, trimmed after its last audible sample and faded in over its
// first 16 samples and out over its last 5 ms, so it starts and stops without a click.
std::vector<int16_t> renderEffect(const Recipe& recipe, const SineTable& sine);

// The recipe of each effect (effect_recipes.cpp): the sound design, in one table.
const Recipe& recipeFor(int soundIndex);

}  // namespace krello::sound
