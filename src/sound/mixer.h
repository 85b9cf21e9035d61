// The one mixer every back end pulls from: a fixed set of voices, stereo out, fed commands by the game.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sound/command_queue.h"
#include "sound/listener.h"
#include "sound/sound_bank.h"
#include "sound/sound_id.h"
#include "sound/synth.h"

namespace krello::sound {

// A sound to start, as the game's thread hands it over.
struct PlayCommand {
    enum class Kind : uint8_t { Play, StopAll };
    Kind kind = Kind::Play;
    SoundId sound = SoundId::PlayerFire;
    uint8_t priority = 0;  // with every voice busy, a sound takes the voice of a lower one
    StereoGain gain{};     // Q15, each ear
};

// Mixes the bank's effects into 16-bit interleaved stereo (left first) at SAMPLE_RATE.
//
// Two threads may use it: the game's thread calls play, stopAll, setVolume and setMuted; the
// audio thread (an SDL callback, the waveOut buffer loop, the page's audio processor) calls
// render. They share only a lock-free command queue and two atomic settings, so neither ever
// waits for the other and nothing is allocated after construction. A headless run simply
// calls both from its one thread. A back end pulls buffers of at most about 30 ms (661
// frames); every sound queued before a render starts at that render's first frame.
class Mixer {
public:
    static constexpr int VOICES = 16;
    static constexpr int CHANNELS = 2;
    static constexpr int QUEUE = 64;  // commands between two renders; more are dropped

    explicit Mixer(const SoundBank& bank) : bank_(bank) {}

    // --- the game's thread ---
    // Queues a sound; false when the queue is full, and the sound is dropped.
    bool play(const PlayCommand& command);
    // Silences every voice at the next render (a new game, a level change).
    void stopAll();
    // Master volume 0..100 (clamped), heard on a square law so the lower half of the range is
    // still useful; changes glide over 20 ms so they do not click. Mute keeps the volume.
    void setVolume(int percent);
    void setMuted(bool muted);
    int volume() const { return volume_.load(std::memory_order_relaxed); }
    bool muted() const { return muted_.load(std::memory_order_relaxed); }

    // --- the audio thread ---
    // Fills `frames` stereo frames (2 * frames samples) of `out`. Any length, 0 included.
    void render(int16_t* out, size_t frames);
    // Voices sounding now.
    int activeVoices() const;

private:
    struct Voice {
        const int16_t* samples = nullptr;
        uint32_t length = 0;  // 0: the voice is free
        uint32_t position = 0;
        StereoGain gain{};
        uint8_t priority = 0;
    };
    static constexpr size_t CHUNK = 256;  // frames mixed at a time

    void takeCommands();
    void start(const PlayCommand& c);
    void mixChunk(int16_t* out, size_t frames);

    const SoundBank& bank_;
    CommandQueue<PlayCommand, QUEUE> queue_;
    std::atomic<int> volume_{100};
    std::atomic<bool> muted_{false};
    // The audio thread's own: voices, the gliding master gain and the mixing sums.
    std::array<Voice, VOICES> voices_{};
    int32_t master_ = -1;  // Q16; -1 until the first render takes the volume as it is
    std::array<int32_t, CHUNK * CHANNELS> sums_{};
};

}  // namespace krello::sound
