// The page's sound: the session's mixer pulled by the page's Web Audio processor, a buffer at a time.
#pragma once

#include <array>
#include <cstdint>

#include "platform/web/web_shell.h"
#include "sound/mixer.h"

namespace krello {

// What the page's audio processor (krello_audio.js) pulls from. The page has one thread, so the
// processor's callback and the game's frames never overlap; the mixer's queue is used all the same.
class WebAudioFeed {
public:
    // A pull of at most this many frames (30 ms at 22,050 Hz); the page asks in pieces.
    static constexpr int MOST_FRAMES = 661;

    explicit WebAudioFeed(WebShell& shell) : shell_(shell) {}

    // The page's sound settings: off pulls silence; volume 0..100, or -1 for the session's own.
    void configure(bool on, int volume);
    // Sounds queued while nobody listened (before the first key press) are dropped, not heard
    // all at once.
    void started();
    // `frames` (clamped to MOST_FRAMES) stereo frames of the session under way, or silence.
    const int16_t* pull(int frames);

private:
    WebShell& shell_;
    bool on_ = true;
    int volume_ = -1;  // -1: the session's own, from the settings table
    std::array<int16_t, MOST_FRAMES * sound::Mixer::CHANNELS> samples_{};
};

// Makes the page's feed for `shell` (the page's one shell, which outlives it), for the page's
// functions krello_audio_pull, krello_audio_started and krello_audio_configure.
void hearPage(WebShell& shell);

// The settings panel's sound settings, heard from the next pull on.
void hearSettings(bool on, int volume);

}  // namespace krello
