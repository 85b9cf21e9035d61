// The game heard: events to sounds (which effect, how loud, how important), placed and queued.
#include "sound/game_sound.h"

#include <algorithm>

namespace krello::sound {

namespace {

// How each event sounds: the effect, its loudness in percent, and its claim to a voice.
struct Voicing {
    SoundId sound;
    int32_t loudness;
    uint8_t priority;
};

constexpr std::array<Voicing, EVENT_KIND_COUNT> VOICINGS = {{
    {SoundId::PlayerFire, 70, 5},   // PlayerFires
    {SoundId::ShotOnWall, 80, 3},   // ShotOnWall
    {SoundId::EnemyHit, 100, 6},    // EnemyHit
    {SoundId::EnemyFire, 80, 4},    // EnemyFires
    {SoundId::ShotPassing, 80, 5},  // ShotPassesClose
    {SoundId::PlayerHit, 100, 9},   // PlayerHit
    {SoundId::Jump, 50, 4},         // Jump
    {SoundId::Land, 90, 5},         // Landing
    {SoundId::StepA, 30, 1},        // Footstep (StepA..StepD in turn)
    {SoundId::Respawn, 70, 2},      // EnemyRespawns
    {SoundId::Pause, 70, 8},        // Pause
    {SoundId::Unpause, 70, 8},      // Unpause
    {SoundId::QuitPrompt, 70, 8},   // QuitPrompt
}};

constexpr int32_t FOOT_PAN = 2000;  // Q15: the feet a little apart, left and right in turn

StereoGain scaled(StereoGain g, int64_t q15) {
    return {static_cast<int32_t>(g.left * q15 >> 15), static_cast<int32_t>(g.right * q15 >> 15)};
}

// Loudest of several, plus a quarter of the rest: a crowd is louder, but not by its number.
int32_t together(int32_t sum, int32_t loudest) { return std::min(loudest + (sum - loudest) / 4, 32768); }

}  // namespace

void GameSound::restart(const GameState& g) {
    mixer_.stopAll();
    tracker_.restart(g);
    events_.clear();
}

void GameSound::afterFrame(const GameState& g) {
    events_.clear();
    tracker_.observe(g, events_);
    for (int i = 0; i < events_.count; ++i) add(events_.events[static_cast<size_t>(i)], g.player);
    flush();
}

void GameSound::session(EventKind kind) {
    if (kind != EventKind::Pause && kind != EventKind::Unpause && kind != EventKind::QuitPrompt) return;
    const Event e{kind, false, 0, 0, 0};
    events_.add(e);
    add(e, PlayerState{});
    flush();
}

void GameSound::add(const Event& e, const PlayerState& listener) {
    const Voicing& v = VOICINGS[static_cast<size_t>(e.kind)];
    int sound = soundIndex(v.sound);
    StereoGain gain;
    if (e.kind == EventKind::Footstep) {
        sound += e.strength & 3;
        gain = ownSound((e.strength & 1) ? -FOOT_PAN : FOOT_PAN);
    } else {
        gain = e.placed ? placeSound(listener, e.x, e.y) : ownSound(0);
    }
    int64_t loudness = int64_t{v.loudness} * 32768 / 100;
    if (e.kind == EventKind::Landing) loudness = loudness * e.strength / 256;
    gain = scaled(gain, loudness);
    if (gain.left == 0 && gain.right == 0) return;  // too far to hear: it takes no voice
    Pending& p = pending_[static_cast<size_t>(sound)];
    p.wanted = true;
    p.priority = v.priority;
    p.sum = {p.sum.left + gain.left, p.sum.right + gain.right};
    p.loudest = {std::max(p.loudest.left, gain.left), std::max(p.loudest.right, gain.right)};
}

void GameSound::flush() {
    for (int i = 0; i < SOUND_COUNT; ++i) {
        Pending& p = pending_[static_cast<size_t>(i)];
        if (!p.wanted) continue;
        const StereoGain gain{together(p.sum.left, p.loudest.left), together(p.sum.right, p.loudest.right)};
        mixer_.play(PlayCommand{PlayCommand::Kind::Play, static_cast<SoundId>(i), p.priority, gain});
        p = Pending{};
    }
}

}  // namespace krello::sound
