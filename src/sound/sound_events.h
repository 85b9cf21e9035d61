// What happened in an update that can be heard, read from the game's state before and after it.
#pragma once

#include <array>
#include <cstdint>

#include "world/game_state.h"

namespace krello::sound {

enum class EventKind : uint8_t {
    PlayerFires,       // a shot left the player
    ShotOnWall,        // a player shot died on a wall, a floor or a ceiling
    EnemyHit,          // a player shot hit an enemy: one event for every 10 points scored
    EnemyFires,        // a shot left an enemy
    ShotPassesClose,   // an enemy shot came within earshot of the player's head
    PlayerHit,         // an enemy shot reached the player: the game is over
    Jump,
    Landing,           // strength says how hard
    Footstep,          // strength counts the steps, so the feet take turns
    EnemyRespawns,     // an enemy came back at a spawn point
    // Not from the game: the session (pause, the quit prompt) reports these itself.
    Pause,
    Unpause,
    QuitPrompt,
};
constexpr int EVENT_KIND_COUNT = 13;

struct Event {
    EventKind kind = EventKind::PlayerFires;
    bool placed = false;   // heard from (x, y); otherwise it is the player's own sound
    int32_t x = 0;         // where in the world, when placed
    int32_t y = 0;
    int32_t strength = 0;  // Landing: 1..256, how hard; Footstep: the step's number
};

// One update's events. An update has room for many more than it can make; the excess, which
// no game reaches, is counted and dropped.
struct EventList {
    static constexpr int CAPACITY = 96;
    std::array<Event, CAPACITY> events{};
    int count = 0;
    int dropped = 0;

    void add(const Event& e);
    void clear() { count = 0; dropped = 0; }
};

// What an update can change that is heard: the player, the jump and landing variables, firing,
// score, game over, and the fields of the objects the event rules compare. About 800 bytes.
struct StateSnapshot {
    struct Object {
        int32_t x, y, z;
        int16_t timer, flags, vx, vy, angle, cooldown, sector;
    };
    PlayerState player{};
    int16_t fallSpeed = 0;
    int32_t onGround = 0;
    int32_t score = 0;
    int32_t gameOver = 0;
    std::array<Object, OBJECT_COUNT> objects{};
};

// Reads the game's events from the difference between its state before and after each frame.
// It only reads the game: nothing it does changes a state, a frame or the order of any work.
// The object sort reorders the table after every update, so objects are recognised by what
// the update does to them (a shot moves by exactly its velocity, a respawned enemy starts with
// a known heading, speed and wait), never by their place in the table.
class EventTracker {
public:
    // Starts (or starts again, after a restart) from this game's state: nothing before it is heard.
    void restart(const GameState& g);

    // After each frame (one update), its events; then this state is the one the next frame is
    // compared with. Call once a frame: a frame not run must not be observed.
    void observe(const GameState& g, EventList& out);

private:
    void objectEvents(const GameState& g, EventList& out) const;
    void playerEvents(const GameState& g, EventList& out);

    StateSnapshot before_{};
    bool started_ = false;
    int32_t stride_ = 0;  // distance walked since the last footstep
    int32_t steps_ = 0;   // footsteps so far
};

}  // namespace krello::sound
