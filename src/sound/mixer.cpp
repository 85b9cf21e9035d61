// The mixer: queued sounds onto free (or the least needed) voices, summed, scaled and softly limited.
#include "sound/mixer.h"

#include <algorithm>

namespace krello::sound {

namespace {

constexpr int32_t UNITY = 65536;                   // the master gain at full volume, Q16
constexpr int32_t GLIDE = UNITY / (SAMPLE_RATE / 50);  // per frame: a full swing takes 20 ms
constexpr int32_t KNEE = 24576;                    // sums louder than 3/4 of full scale ...
constexpr int32_t ROOM = 32767 - KNEE;             // ... bend into the room left, never clip

int32_t masterTarget(int volume, bool muted) {
    if (muted) return 0;
    const int v = std::clamp(volume, 0, 100);
    return static_cast<int32_t>(int64_t{UNITY} * v * v / 10000);
}

// A soft limiter: unchanged up to the knee, then approaching full scale without reaching it,
// so a crowd of sounds gets denser instead of cracking.
int16_t limit(int32_t x) {
    if (x > KNEE) {
        const int32_t over = x - KNEE;
        return static_cast<int16_t>(KNEE + static_cast<int32_t>(int64_t{over} * ROOM / (over + ROOM)));
    }
    if (x < -KNEE) {
        const int32_t over = -KNEE - x;
        return static_cast<int16_t>(-KNEE - static_cast<int32_t>(int64_t{over} * ROOM / (over + ROOM)));
    }
    return static_cast<int16_t>(x);
}

}  // namespace

bool Mixer::play(const PlayCommand& command) { return queue_.push(command); }

void Mixer::stopAll() { queue_.push(PlayCommand{PlayCommand::Kind::StopAll}); }

void Mixer::setVolume(int percent) { volume_.store(std::clamp(percent, 0, 100), std::memory_order_relaxed); }

void Mixer::setMuted(bool muted) { muted_.store(muted, std::memory_order_relaxed); }

int Mixer::activeVoices() const {
    return static_cast<int>(std::count_if(voices_.begin(), voices_.end(), [](const Voice& v) { return v.length > 0; }));
}

void Mixer::takeCommands() {
    PlayCommand c;
    while (queue_.pop(c)) {
        if (c.kind == PlayCommand::Kind::StopAll) {
            voices_.fill(Voice{});
        } else {
            start(c);
        }
    }
}

void Mixer::start(const PlayCommand& c) {
    const auto samples = bank_.samples(c.sound);
    if (samples.empty() || (c.gain.left == 0 && c.gain.right == 0)) return;
    // A free voice; else the least important one, and of those the one furthest through its
    // sound; a sound less important than every one playing is not started.
    Voice* chosen = nullptr;
    for (Voice& v : voices_) {
        if (v.length == 0) {
            chosen = &v;
            break;
        }
        if (v.priority > c.priority) continue;
        if (!chosen || v.priority < chosen->priority ||
            (v.priority == chosen->priority && v.position > chosen->position))
            chosen = &v;
    }
    if (!chosen) return;
    *chosen = Voice{samples.data(), static_cast<uint32_t>(samples.size()), 0, c.gain, c.priority};
}

void Mixer::render(int16_t* out, size_t frames) {
    takeCommands();
    while (frames > 0) {
        const size_t n = std::min(frames, CHUNK);
        mixChunk(out, n);
        out += n * CHANNELS;
        frames -= n;
    }
}

void Mixer::mixChunk(int16_t* out, size_t frames) {
    std::fill_n(sums_.begin(), frames * CHANNELS, 0);
    for (Voice& v : voices_) {
        if (v.length == 0) continue;
        const size_t n = std::min<size_t>(frames, v.length - v.position);
        const int16_t* s = v.samples + v.position;
        for (size_t i = 0; i < n; ++i) {
            sums_[2 * i] += (s[i] * v.gain.left) >> 15;
            sums_[2 * i + 1] += (s[i] * v.gain.right) >> 15;
        }
        v.position += static_cast<uint32_t>(n);
        if (v.position >= v.length) v = Voice{};
    }
    const int32_t target = masterTarget(volume_.load(std::memory_order_relaxed), muted_.load(std::memory_order_relaxed));
    if (master_ < 0) master_ = target;
    for (size_t i = 0; i < frames; ++i) {
        master_ = master_ < target ? std::min(master_ + GLIDE, target) : std::max(master_ - GLIDE, target);
        out[2 * i] = limit(static_cast<int32_t>((int64_t{sums_[2 * i]} * master_) >> 16));
        out[2 * i + 1] = limit(static_cast<int32_t>((int64_t{sums_[2 * i + 1]} * master_) >> 16));
    }
}

}  // namespace krello::sound
