// The game heard: each frame's events turned into sounds, placed around the player, and queued to the mixer.
#pragma once

#include <array>

#include "sound/mixer.h"
#include "sound/sound_events.h"
#include "world/game_state.h"

namespace krello::sound {

// What a shell, the tool and the tests drive, on the game's thread:
//   restart(g) when a game starts, afterFrame(g) after every runFrame, session(kind) for a
//   pause, an unpause or the quit prompt; the back end pulls the mixer on its own thread.
// It reads the game and never changes it. Nothing is allocated after construction.
class GameSound {
public:
    explicit GameSound(Mixer& mixer) : mixer_(mixer) {}

    // A new game (or the same one started again): sounds still playing stop, and what the
    // game looks like now is what the next frame is compared with.
    void restart(const GameState& g);
    // After each frame: the events of its update, played. The first call without a restart
    // only takes the state in.
    void afterFrame(const GameState& g);
    // Pause, Unpause or QuitPrompt, heard in the middle; other kinds are ignored.
    void session(EventKind kind);

    // The events of the last frame (and of the last session call after it).
    const EventList& lastEvents() const { return events_; }

private:
    void add(const Event& e, const PlayerState& listener);
    void flush();

    Mixer& mixer_;
    EventTracker tracker_;
    EventList events_;
    // A frame's sounds of one kind are started as one: five enemies firing together from one
    // spot sound like a volley, not five times as loud.
    struct Pending {
        bool wanted = false;
        uint8_t priority = 0;
        StereoGain sum{};
        StereoGain loudest{};
    };
    std::array<Pending, SOUND_COUNT> pending_{};
};

}  // namespace krello::sound
