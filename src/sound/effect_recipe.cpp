// An effect made from its recipe: layers rendered and summed, then levelled, trimmed and faded.
#include "sound/effect_recipe.h"

#include <algorithm>
#include <cstdlib>

namespace krello::sound {

namespace {

constexpr int32_t FADE_IN = 16;                 // samples: softens a hard start, keeps the punch
constexpr int32_t FADE_OUT = SAMPLE_RATE / 200;  // 5 ms
constexpr int32_t AUDIBLE = 2;                   // the quietest sample worth keeping at the end

int32_t layerLength(const Layer& l) { return samplesIn(l.attackMs + l.holdMs + l.decayMs); }

void addLayer(const Layer& l, const SineTable& sine, std::vector<int32_t>& mix) {
    const Envelope envelope{samplesIn(l.attackMs), samplesIn(l.holdMs), samplesIn(l.decayMs), l.decayPower};
    const Sweep pitch{l.pitchFrom * 256, l.pitchTo * 256, samplesIn(l.pitchMs), l.pitchPower};
    const Sweep cutoff{l.cutoffFrom, l.cutoffTo, samplesIn(l.cutoffMs), l.cutoffPower};
    Phase phase;
    Phase wobble;
    Noise noise(l.seed);
    StateVariableFilter filter;
    StateVariableFilter tone;
    const auto start = static_cast<size_t>(samplesIn(l.startMs));
    const int32_t length = envelope.length();
    for (int32_t t = 0; t < length; ++t) {
        int32_t frequency = pitch.at(t);
        if (l.vibratoHz > 0) {
            const int64_t swing = int64_t{frequency} * l.vibratoPermille / 1000;
            frequency += static_cast<int32_t>((swing * sine.at(wobble.advance(l.vibratoHz * 256))) >> 15);
        }
        const int32_t source = l.wave == Wave::Noise ? noise.next() : waveAt(l.wave, phase.advance(frequency), sine);
        int32_t filtered = filter.step(source, cutoff.at(t), l.q, l.filter, sine);
        if (l.toneHz > 0) filtered = tone.step(filtered, l.toneHz, 70, FilterKind::LowPass, sine);
        const int64_t shaped = (int64_t{filtered} * envelope.at(t)) >> 15;
        mix[start + static_cast<size_t>(t)] += static_cast<int32_t>(shaped * l.level / 100);
    }
}

}  // namespace

std::vector<int16_t> renderEffect(const Recipe& recipe, const SineTable& sine) {
    int32_t length = 0;
    for (int i = 0; i < recipe.layerCount; ++i) {
        const Layer& l = recipe.layers[static_cast<size_t>(i)];
        length = std::max(length, samplesIn(l.startMs) + layerLength(l));
    }
    std::vector<int32_t> mix(static_cast<size_t>(length), 0);
    for (int i = 0; i < recipe.layerCount; ++i) addLayer(recipe.layers[static_cast<size_t>(i)], sine, mix);

    DcBlocker dc;
    int32_t peak = 1;
    for (int32_t& s : mix) {
        s = dc.step(s);
        peak = std::max(peak, std::abs(s));
    }
    const int64_t target = int64_t{32767} * recipe.peakPercent / 100;
    int32_t end = 0;
    for (int32_t i = 0; i < length; ++i) {
        int32_t& s = mix[static_cast<size_t>(i)];
        s = static_cast<int32_t>(s * target / peak);
        if (std::abs(s) >= AUDIBLE) end = i + 1;
    }

    std::vector<int16_t> samples(static_cast<size_t>(end));
    const int32_t fadeOut = std::min(FADE_OUT, end / 4);
    for (int32_t i = 0; i < end; ++i) {
        int64_t s = mix[static_cast<size_t>(i)];
        if (i < FADE_IN) s = s * i / FADE_IN;
        if (end - i <= fadeOut) s = s * (end - 1 - i) / std::max(fadeOut, 1);
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(s);
    }
    return samples;
}

}  // namespace krello::sound
