// The session's sound: every game it runs heard through one mixer, which the shell's audio back end pulls.
#pragma once

#include "replay/game_run.h"
#include "sound/game_sound.h"
#include "sound/mixer.h"
#include "sound/sound_bank.h"

namespace krello {

// Watches the session's run as any observer does: a game started stops what still sounds, and
// each step that ran is heard; a paused game takes no steps, so it makes no sound but the pause
// notes. A replayed demo steps as the live game did, so it sounds the same. The effects are made
// once, when the session is; nothing is allocated afterwards.
class SessionSound final : public StepObserver {
public:
    explicit SessionSound(int volume);

    void started(const GameRun& run) override { sound_.restart(run.game()); }
    void stepped(const GameRun& run) override { sound_.afterFrame(run.game()); }

    // Pause, Unpause or QuitPrompt.
    void session(sound::EventKind kind) { sound_.session(kind); }
    // The mute key: returns whether the sound is now muted.
    bool toggleMute();

    // What the back end pulls, on its own thread.
    sound::Mixer& mixer() { return mixer_; }

private:
    sound::SoundBank bank_;
    sound::Mixer mixer_{bank_};
    sound::GameSound sound_{mixer_};
};

}  // namespace krello
