// The page's test hook: an input script run headless on the built-in level, as krello-tool runs
// it, so a browser's states and frames can be compared with the desktop's bit for bit.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "world/screen.h"

namespace krello {

class ScriptCheck {
public:
    // Runs the first `frames` updates of `script` (all of it when negative) on a fresh game,
    // drawing every frame, and returns the states after every `stateEvery`-th update and after
    // the last, in the text `krello-tool run --input FILE --state-every K` prints. A script
    // that cannot be read gives "error: " and why.
    const std::string& run(std::string_view script, long frames, long stateEvery);

    // CRC-32 of the frame the last run drew, as the tools print it.
    const std::string& frameCrc();

private:
    std::array<uint8_t, FRAME_BYTES> frame_{};  // the renderer's buffer, zero before each run
    std::string text_;                        // the last run's states, or its error
    std::string crcText_;                     // the last frameCrc()
};

}  // namespace krello
