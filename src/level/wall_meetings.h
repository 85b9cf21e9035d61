// Which walls of a sector meet: touch at a corner, cross or overlap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/loop_geometry.h"
#include "world/game_state.h"

namespace krello {

enum class Contact { None, Corner, Fault };

// How two segments of non-zero length meet: not at all, only at a corner of both (an end of
// each), or otherwise (crossing, overlapping, or an end lying on the other's middle).
Contact contact(Pt a, Pt b, Pt c, Pt d);

// Two walls that meet, the lower index first.
struct WallMeeting {
    int first = 0;
    int second = 0;
    Contact kind = Contact::None;
};

// Finds the meeting walls of a run of a level's walls; keeps its lists from run to run, so
// checking a whole level allocates only while they grow.
class WallMeetings {
public:
    // Every pair of the walls first..end-1 that meet, each wall running to its point2 (which must
    // be in the table), walls of zero length left out, in order of the first wall, then the
    // second. A sweep along x compares each wall only with those that start before its right
    // end, so n walls cost about n log n, not n x n; up to DIRECT_WALLS walls (most sectors)
    // are compared pair by pair instead, which is cheaper than sorting them.
    const std::vector<WallMeeting>& find(const GameState& g, int first, int end);

    // Makes room for runs of up to `walls` walls meeting about as often as a sound level's do
    // (each wall at its two corners), so the lists are allocated once, not grown.
    void reserve(size_t walls);

private:
    static constexpr size_t DIRECT_WALLS = 24;
    struct Box {
        int64_t left, right, top, bottom;
        int wall;
    };
    // Adds the two walls' meeting when their boxes overlap and they meet.
    void addMeeting(const GameState& g, const Box& here, const Box& there);
    std::vector<Box> boxes_;
    std::vector<WallMeeting> meetings_;
};

}  // namespace krello
