// A WAV file in memory: the RIFF header of 16-bit PCM, then the samples, all little-endian.
#include "sound/wav_bytes.h"

namespace krello::sound {

namespace {

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> wavBytes(std::span<const int16_t> samples, int channels, int sampleRate) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<uint32_t>(channels * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put(out, 16, 4);  // the size of a PCM format block
    put(out, 1, 2);   // PCM
    put(out, static_cast<uint32_t>(channels), 2);
    put(out, static_cast<uint32_t>(sampleRate), 4);
    put(out, static_cast<uint32_t>(sampleRate) * blockAlign, 4);
    put(out, blockAlign, 2);
    put(out, 16, 2);  // bits a sample
    putTag(out, "data");
    put(out, dataBytes, 4);
    for (const int16_t s : samples) put(out, static_cast<uint16_t>(s), 2);
    return out;
}

}  // namespace krello::sound
