// Where a sound is heard from: its loudness in each ear, from the player's position and heading.
#pragma once

#include <cstdint>

#include "world/records.h"

namespace krello::sound {

// Q15 gains of the left and right channel (32768 is the sound as made).
struct StereoGain {
    int32_t left = 0;
    int32_t right = 0;
};

// The distance between two points in world units, rounded down (points 2^31 or more apart on an
// axis, which no level has, are measured to within a unit or two).
int64_t planarDistance(int32_t ax, int32_t ay, int32_t bx, int32_t by);

// A sound from (x, y) as the player hears it: full within arm's reach of a room, fading with
// distance to silence where the game takes enemies away, placed left or right by its bearing
// from the heading, and a little softer behind. Equal-power panning, never fully in one ear.
StereoGain placeSound(const PlayerState& listener, int32_t x, int32_t y);

// A sound of the player's own, at pan -32768 (left) .. 32767 (right); 0 is the middle.
StereoGain ownSound(int32_t pan);

}  // namespace krello::sound
