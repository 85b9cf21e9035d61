// The mixed sound of a headless run: the mixer pulled for each update's span of game time.
#include "krello_tool/sound_capture.h"

#include "sound/synth.h"
#include "sound/wav_bytes.h"

namespace krello::tool {

namespace {

constexpr int64_t TAIL_LIMIT_MS = 3000;  // longer than the longest effect
constexpr int64_t TAIL_STEP = sound::SAMPLE_RATE / 100;

}  // namespace

void SoundCapture::started(const GameRun& run) {
    sound_.restart(run.game());
    samples_.clear();
    gameMs_ = 0;
}

void SoundCapture::renderUntil(int64_t frames) {
    const size_t have = samples_.size() / sound::Mixer::CHANNELS;
    if (frames <= static_cast<int64_t>(have)) return;
    samples_.resize(static_cast<size_t>(frames) * sound::Mixer::CHANNELS);
    mixer_.render(samples_.data() + have * sound::Mixer::CHANNELS, static_cast<size_t>(frames) - have);
}

void SoundCapture::stepped(const GameRun& run) {
    const GameState& g = run.game();
    sound_.afterFrame(g);
    gameMs_ += g.frameDt;
    renderUntil(gameMs_ * sound::SAMPLE_RATE / 1000);
}

std::vector<uint8_t> SoundCapture::wav() {
    const int64_t end = static_cast<int64_t>(samples_.size() / sound::Mixer::CHANNELS);
    for (int64_t tail = 0; mixer_.activeVoices() > 0 && tail < sound::samplesIn(TAIL_LIMIT_MS); tail += TAIL_STEP)
        renderUntil(end + tail + TAIL_STEP);
    return sound::wavBytes(samples_, sound::Mixer::CHANNELS, sound::SAMPLE_RATE);
}

}  // namespace krello::tool
