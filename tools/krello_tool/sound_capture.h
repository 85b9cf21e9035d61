// The mixed sound of a headless run, for krello-tool run --wav: the game's sound, heard without a device.
#pragma once

#include <cstdint>
#include <vector>

#include "replay/game_run.h"
#include "sound/game_sound.h"
#include "sound/mixer.h"
#include "sound/sound_bank.h"
#include "world/game_state.h"

namespace krello::tool {

// Listens to a run as a player would: each update's sounds start where the update ends, and
// the update's frame time decides how many samples it spans, so the file plays in game time.
class SoundCapture final : public StepObserver {
public:
    // The game as its start-up left it: the sound starts from silence.
    void started(const GameRun& run) override;
    // After each frame of the run.
    void stepped(const GameRun& run) override;

    // The run's sound as a 16-bit stereo WAV file, with the last sounds played to their end.
    std::vector<uint8_t> wav();

private:
    void renderUntil(int64_t frames);

    sound::SoundBank bank_;
    sound::Mixer mixer_{bank_};
    sound::GameSound sound_{mixer_};
    std::vector<int16_t> samples_;  // interleaved stereo
    int64_t gameMs_ = 0;            // game time so far
};

}  // namespace krello::tool
