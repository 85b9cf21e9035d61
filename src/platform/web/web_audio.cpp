// The page's sound: the session's mixer pulled by the page's Web Audio processor, a buffer at a time.
#include "platform/web/web_audio.h"

#include <emscripten.h>

#include <algorithm>

namespace {

// The page's one feed, for the functions the page calls by name.
krello::WebAudioFeed* pageFeed = nullptr;

}  // namespace

namespace krello {

void WebAudioFeed::configure(bool on, int volume) {
    on_ = on;
    volume_ = volume < 0 ? -1 : std::min(volume, 100);
}

void WebAudioFeed::started() {
    sound::Mixer* mixer = shell_.mixer();
    if (mixer == nullptr) return;
    mixer->render(samples_.data(), 0);  // the stale sounds start...
    mixer->stopAll();
    mixer->render(samples_.data(), 0);  // ...and stop before a sample of them is made
}

const int16_t* WebAudioFeed::pull(int frames) {
    const auto n = static_cast<size_t>(std::clamp(frames, 0, MOST_FRAMES));
    sound::Mixer* mixer = shell_.mixer();
    if (mixer == nullptr || !on_) {
        std::fill_n(samples_.begin(), n * sound::Mixer::CHANNELS, int16_t{0});
        return samples_.data();
    }
    if (volume_ >= 0) mixer->setVolume(volume_);
    mixer->render(samples_.data(), n);
    return samples_.data();
}

void hearPage(WebShell& shell) {
    static WebAudioFeed feed(shell);
    pageFeed = &feed;
}

void hearSettings(bool on, int volume) {
    if (pageFeed != nullptr) pageFeed->configure(on, volume);
}

}  // namespace krello

extern "C" {

// krello_audio.js: the processor's pulls, its start on the first key press or click, the settings.
EMSCRIPTEN_KEEPALIVE const int16_t* krello_audio_pull(int frames) {
    return pageFeed != nullptr ? pageFeed->pull(frames) : nullptr;
}
EMSCRIPTEN_KEEPALIVE void krello_audio_started() {
    if (pageFeed != nullptr) pageFeed->started();
}
EMSCRIPTEN_KEEPALIVE void krello_audio_configure(int on, int volume) {
    if (pageFeed != nullptr) pageFeed->configure(on != 0, volume);
}

}  // extern "C"
