// The game heard through waveOut (winmm, a system DLL): a few short buffers the mixer refills on a thread of their own.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "platform/win32/windows_api.h"
#include <mmsystem.h>

#include "sound/mixer.h"

namespace krello {

// Opens the default output for as long as it lives. Without a device (none, or one that fails)
// it says so in one line on stderr and the game plays on silent; it never ends the game.
// Its thread waits for the device to hand a buffer back, renders the mixer into it and queues it
// again; the mixer never waits for the game's thread.
class WaveOutAudio {
public:
    // `mixer` may be null (a session without sound): nothing is opened.
    explicit WaveOutAudio(sound::Mixer* mixer);
    WaveOutAudio(const WaveOutAudio&) = delete;
    WaveOutAudio& operator=(const WaveOutAudio&) = delete;
    ~WaveOutAudio();

    bool playing() const { return device_ != nullptr; }

    // Three buffers of 10 ms: at most 30 ms between a sound's frame and its start.
    static constexpr int BUFFERS = 3;
    static constexpr int BUFFER_FRAMES = 220;

private:
    static DWORD WINAPI refillLoop(void* self);
    void refill(WAVEHDR& header);
    void close();

    sound::Mixer* mixer_;
    HWAVEOUT device_ = nullptr;
    HANDLE bufferDone_ = nullptr;  // signalled by the device whenever a buffer has played
    HANDLE thread_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::array<WAVEHDR, BUFFERS> headers_{};
    std::array<std::array<int16_t, BUFFER_FRAMES * sound::Mixer::CHANNELS>, BUFFERS> samples_{};
};

}  // namespace krello
