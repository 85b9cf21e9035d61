// The playtest bot's mind: what it saw and remembers, where it goes, how it aims, when it dodges.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "playtest/bot_random.h"
#include "playtest/level_areas.h"
#include "playtest/level_graph.h"
#include "playtest/perception.h"
#include "playtest/skill_profile.h"

namespace krello::playtest {

// An enemy the bot has seen: where it last stood and when.
struct RememberedEnemy {
    Vec2 at;
    int16_t sector = -1;
    uint32_t lastSeen = 0;
    bool used = false;
};

// A player's decisions from what the screen shows, one frame at a time. It knows the map (the
// sector graph and the named areas), its own body and the score, and of the enemies and their
// shots only what perceive() passed on. It acts on each frame `reactionMs` after it was shown,
// aims with an error drawn anew for every shot, turns through the game's own key ramp, and
// walks toward the nearest area it has not been to. Everything it keeps is in this object; a
// seed gives the same decisions on every run.
class BotBrain {
public:
    BotBrain(const LevelGraph& graph, const LevelAreas& areas, const SkillProfile& skill, uint64_t seed);

    // Takes in the frame just shown; returns the keys to hold in the next update (bit per GameKey).
    uint8_t think(const Perception& now);

    // What it remembers, for the curious and the tests.
    const std::array<RememberedEnemy, 16>& memory() const { return enemies_; }
    // Whether an area has been reached.
    bool visited(int area) const { return area >= 0 && area < areas_.count() && visitedArea_[static_cast<size_t>(area)]; }

private:
    // A frame as it was shown, waiting for the reaction time to pass.
    struct Shown {
        uint32_t timeMs = 0;
        uint8_t count = 0;
        std::array<Sighting, OBJECT_COUNT> seen{};
    };
    struct TrackedShot {
        Vec2 at;
        uint32_t lastSeen = 0;
        bool used = false;
    };

    void remember(const Perception& now);
    void digest(const Shown& frame, const Perception& now);
    void noticeShot(Vec2 shot, const Perception& now);
    void markVisited(int sector, uint32_t now);
    int visibleTarget(const Perception& now) const;
    uint8_t retreat(const Perception& now);
    uint8_t fight(const Perception& now, const RememberedEnemy& target, int index);
    uint8_t search(const Perception& now, const RememberedEnemy& target);
    uint8_t explore(const Perception& now);
    uint8_t walkToward(const Perception& now, Vec2 to, double walkAngle);
    uint8_t unstick(const Perception& now);
    uint8_t wayBack(const Perception& now);
    void watchProgress(const Perception& now);
    int chooseGoal(const Perception& now) const;

    const LevelGraph& graph_;
    const LevelAreas& areas_;
    SkillProfile skill_;
    BotRandom random_;

    // --- what it saw, delayed by the reaction time ---
    std::array<Shown, 128> shown_{};  // a ring of the last frames shown
    size_t shownNext_ = 0;            // where the next frame goes
    size_t shownCount_ = 0;
    uint32_t digestedUpTo_ = 0;       // frames shown up to this time have been acted on
    bool digestedAny_ = false;
    uint32_t lastView_ = 0;           // the time of the newest frame acted on
    std::array<RememberedEnemy, 16> enemies_{};
    std::array<TrackedShot, OBJECT_COUNT> shots_{};

    // --- fighting ---
    int target_ = -1;              // the remembered enemy aimed at
    double aimErrorUnits_ = 0.0;   // this shot's aim error, in angle units
    uint32_t sinceTrigger_ = 100000;  // ms since Space was last pressed
    uint32_t engagedSince_ = 0;    // when the current fight began, 0 for none
    int32_t scoreAtEngage_ = 0;
    uint32_t lastFight_ = 0;
    uint32_t ignoreUntil_ = 0;     // gives up on enemies it cannot hit until then
    uint32_t retreatUntil_ = 0;
    double retreatHeading_ = 0.0;
    uint32_t lastThink_ = 0;
    uint16_t lastDt_ = 14;         // the last frame's length, for predicting turns

    // --- finding its way ---
    int here_ = -1;                // the sector the player stands in
    uint32_t astraySince_ = 0;
    std::vector<bool> visitedArea_;
    std::vector<uint32_t> areaVisitedAt_;
    Routes routes_;
    uint32_t replanAt_ = 0;
    int goal_ = -1;
    std::array<uint32_t, WALL_COUNT> avoid_{};  // per portal wall: not to be used until then
    Vec2 progressFrom_;            // where the current stretch of walking began
    uint32_t progressSince_ = 0;
    bool progressOn_ = false;
    uint32_t unstickUntil_ = 0;
    bool unstickRight_ = false;
    int stuckPortal_ = -1;
    int stuckTimes_ = 0;
    int nextPortal_ = -1;          // the portal wall walked to, -1 for none
};

}  // namespace krello::playtest
