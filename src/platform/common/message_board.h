// The messages a player sees for a moment in the frame: "Screenshot saved: ...", "Paused", ...
#pragma once

#include <cstdint>
#include <string>

namespace krello {

// Shows the latest message for MESSAGE_SHOW_MS; a newer one replaces it. Times are the shell's
// milliseconds (any steady count), passed in so tests need no clock.
class MessageBoard {
public:
    static constexpr uint64_t MESSAGE_SHOW_MS = 2000;

    void post(std::string text, uint64_t nowMs) {
        text_ = std::move(text);
        postedAt_ = nowMs;
    }
    // The message to draw now, or an empty string.
    const std::string& current(uint64_t nowMs) const {
        static const std::string none;
        return !text_.empty() && nowMs - postedAt_ < MESSAGE_SHOW_MS ? text_ : none;
    }

private:
    std::string text_;       // the latest message
    uint64_t postedAt_ = 0;  // when it was posted
};

}  // namespace krello
