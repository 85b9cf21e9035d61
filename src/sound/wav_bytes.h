// A WAV file in memory: 16-bit PCM samples behind the 44-byte header every player reads.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace krello::sound {

// The bytes of a WAV file holding `samples` (interleaved when channels is 2), little-endian
// whatever the machine, so the same sound is the same file everywhere.
std::vector<uint8_t> wavBytes(std::span<const int16_t> samples, int channels, int sampleRate);

}  // namespace krello::sound
