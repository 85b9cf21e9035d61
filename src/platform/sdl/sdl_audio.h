// The game heard through SDL audio: a device whose callback pulls the session's mixer.
#pragma once

#include <SDL.h>

#include "sound/mixer.h"

namespace krello {

// Opens the default output for as long as it lives. Without a device (none, or one that fails to
// open) it says so in one line on stderr and the game plays on silent; it never ends the game.
// The callback runs on SDL's audio thread and only renders the mixer, which never waits.
class SdlAudio {
public:
    // `mixer` may be null (a session without sound): nothing is opened.
    explicit SdlAudio(sound::Mixer* mixer);
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;
    ~SdlAudio();

    bool playing() const { return device_ != 0; }

    // 512 frames at 22,050 Hz: 23 ms a buffer, within the 30 ms a sound may wait for its start.
    static constexpr Uint16 BUFFER_FRAMES = 512;

private:
    static void pull(void* mixer, Uint8* stream, int bytes);

    sound::Mixer* mixer_;
    SDL_AudioDeviceID device_ = 0;
};

}  // namespace krello
