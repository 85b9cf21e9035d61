// The synthesised effects: the committed checksums, clean starts and ends, headroom, and the
// synthesiser's filter doing what its name says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "replay/crc32.h"
#include "sound/sound_bank.h"
#include "sound/synth.h"
#include "sound/wav_bytes.h"

namespace krello::sound {
namespace {

const std::string CHECKSUMS = std::string(KRELLO_SOURCE_DIR) + "/tests/data/sound.crc";

std::map<std::string, std::string> committedChecksums() {
    std::map<std::string, std::string> sums;
    std::ifstream in(CHECKSUMS);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name, crc;
        words >> name >> crc;
        sums[name] = crc;
    }
    return sums;
}

TEST(SoundEffects, EachMatchesItsCommittedChecksum) {
    const SoundBank bank;
    const auto sums = committedChecksums();
    for (int i = 0; i < SOUND_COUNT; ++i) {
        const auto id = static_cast<SoundId>(i);
        const std::string name(soundName(id));
        const auto wav = wavBytes(bank.samples(id), 1, SAMPLE_RATE);
        ASSERT_TRUE(sums.count(name)) << name << " is missing from " << CHECKSUMS;
        EXPECT_EQ(crc32Text(crc32(wav)), sums.at(name))
            << name << " changed; if on purpose, listen to it and run scripts/sound-checksums.sh";
    }
}

// Every effect starts and ends at rest (no click), leaves headroom for the mix, carries no
// constant offset, and lasts as long as a game sound should.
TEST(SoundEffects, StartAndEndAtRestWithHeadroomAndNoOffset) {
    const SoundBank bank;
    for (int i = 0; i < SOUND_COUNT; ++i) {
        const auto id = static_cast<SoundId>(i);
        const auto s = bank.samples(id);
        SCOPED_TRACE(std::string(soundName(id)));
        ASSERT_GE(s.size(), static_cast<size_t>(samplesIn(60)));
        EXPECT_LE(s.size(), static_cast<size_t>(samplesIn(1600)));
        EXPECT_EQ(s.front(), 0);
        EXPECT_EQ(s.back(), 0);
        int peak = 0;
        int64_t sum = 0;
        for (const int16_t v : s) {
            peak = std::max(peak, std::abs(static_cast<int>(v)));
            sum += v;
        }
        EXPECT_GT(peak, 8000);
        EXPECT_LE(peak, 29000);
        EXPECT_LT(std::llabs(sum / static_cast<int64_t>(s.size())), 200) << "a constant offset";
        // A click is a jump no decaying sound makes: nothing near a full swing between samples.
        for (size_t k = 1; k < s.size(); ++k) ASSERT_LT(std::abs(s[k] - s[k - 1]), 30000) << k;
    }
}

TEST(SoundEffects, FootstepsDifferFromEachOtherAndStayShortAndQuiet) {
    const SoundBank bank;
    const SoundId steps[] = {SoundId::StepA, SoundId::StepB, SoundId::StepC, SoundId::StepD};
    for (int a = 0; a < 4; ++a) {
        const auto s = bank.samples(steps[a]);
        EXPECT_LT(s.size(), static_cast<size_t>(samplesIn(120)));
        for (int b = a + 1; b < 4; ++b) {
            const auto t = bank.samples(steps[b]);
            EXPECT_FALSE(std::equal(s.begin(), s.end(), t.begin(), t.end())) << a << " " << b;
        }
    }
}

double rms(const std::vector<int32_t>& v) {
    double sum = 0;
    for (size_t i = v.size() / 2; i < v.size(); ++i) sum += double(v[i]) * v[i];  // after settling
    return std::sqrt(sum / double(v.size() - v.size() / 2));
}

// A sine through the filter: the ratio of the output's loudness to the input's.
double filterGain(FilterKind kind, int32_t cutoff, int32_t q, int32_t frequency) {
    const SineTable sine;
    StateVariableFilter f;
    Phase phase;
    std::vector<int32_t> in, out;
    for (int i = 0; i < SAMPLE_RATE / 4; ++i) {
        const int32_t x = sine.at(phase.advance(frequency * 256)) / 2;
        in.push_back(x);
        out.push_back(f.step(x, cutoff, q, kind, sine));
    }
    return rms(out) / rms(in);
}

TEST(SoundSynth, TheFilterPassesAndStopsWhatItShould) {
    struct Case {
        FilterKind kind;
        int32_t cutoff, q, frequency;
        double low, high;  // the gain must lie between these
    } cases[] = {
        {FilterKind::LowPass, 1000, 70, 100, 0.95, 1.05},    // well below: through
        {FilterKind::LowPass, 1000, 70, 6000, 0.0, 0.05},    // 2.5 octaves above: -28 dB or more
        {FilterKind::HighPass, 1000, 70, 100, 0.0, 0.02},
        {FilterKind::HighPass, 1000, 70, 6000, 0.95, 1.05},
        {FilterKind::BandPass, 1000, 400, 1000, 0.9, 1.1},   // unity at the centre, however sharp
        {FilterKind::BandPass, 1000, 400, 3000, 0.0, 0.15},
        {FilterKind::LowPass, 7000, 70, 1000, 0.95, 1.05},   // stable at the top of its range
    };
    for (const Case& c : cases) {
        const double g = filterGain(c.kind, c.cutoff, c.q, c.frequency);
        EXPECT_GE(g, c.low) << int(c.kind) << " " << c.frequency;
        EXPECT_LE(g, c.high) << int(c.kind) << " " << c.frequency;
    }
}

}  // namespace
}  // namespace krello::sound
