// Every effect's samples, made once at start-up and only read afterwards (by the mixer's thread too).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/sound_id.h"

namespace krello::sound {

// The effects as 16-bit mono samples at SAMPLE_RATE. Made from the fixed recipes, so they are
// the same bytes on every platform; a few hundred kilobytes, allocated once.
class SoundBank {
public:
    SoundBank();  // synthesises every effect
    std::span<const int16_t> samples(SoundId id) const { return samples_[static_cast<size_t>(soundIndex(id))]; }

private:
    std::array<std::vector<int16_t>, SOUND_COUNT> samples_;
};

}  // namespace krello::sound
