// The game heard through SDL audio: a device whose callback pulls the session's mixer.
#include "platform/sdl/sdl_audio.h"

#include <cstdio>

#include "sound/synth.h"

namespace krello {

SdlAudio::SdlAudio(sound::Mixer* mixer) : mixer_(mixer) {
    if (mixer_ == nullptr) return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "krello: no sound: %s\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = sound::SAMPLE_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = sound::Mixer::CHANNELS;
    want.samples = BUFFER_FRAMES;
    want.callback = &SdlAudio::pull;
    want.userdata = mixer_;
    // No changes allowed: SDL converts the rate and format to the device's itself, so the
    // callback always fills 16-bit stereo at the mixer's rate.
    SDL_AudioSpec got{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
    if (device_ == 0) {
        std::fprintf(stderr, "krello: no sound: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
}

SdlAudio::~SdlAudio() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);  // waits for a callback under way
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::pull(void* mixer, Uint8* stream, int bytes) {
    const auto frames = static_cast<size_t>(bytes) / (sizeof(int16_t) * sound::Mixer::CHANNELS);
    static_cast<sound::Mixer*>(mixer)->render(reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace krello
