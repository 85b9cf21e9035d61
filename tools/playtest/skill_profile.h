// The playtest bot's two fixed skill profiles: how fast it reacts, how well it aims, whether it dodges.
#pragma once

#include <string_view>

namespace krello::playtest {

// A player's skill. The profiles below are fixed: the playtest measures the level with them,
// so a level is tuned to them and they are never tuned to a level.
struct SkillProfile {
    std::string_view name;
    int reactionMs;       // the bot acts on what the screen showed this long ago
    double aimSigmaDeg;   // standard deviation of the aim error, drawn anew for every shot
    bool retreats;        // turns away from an enemy shot that appears on screen
    int retreatMs;        // and walks out of its line for this long
};

// Never dodges: sees late, aims loosely, stands its ground.
constexpr SkillProfile NOVICE{"novice", 400, 6.0, false, 0};
// Sees sooner, aims better, and steps out of the line of a shot it sees coming.
constexpr SkillProfile REGULAR{"regular", 250, 3.0, true, 1000};

// The profile called `name`, or nullptr.
constexpr const SkillProfile* skillNamed(std::string_view name) {
    if (name == NOVICE.name) return &NOVICE;
    if (name == REGULAR.name) return &REGULAR;
    return nullptr;
}

}  // namespace krello::playtest
