// Stereo placement and distance loudness of the game's sounds, in integers and the portable trig.
#include "sound/listener.h"

#include <algorithm>
#include <cstdlib>

#include "world/angle.h"
#include "world/fixed_math.h"
#include "world/portable_trig.h"

namespace krello::sound {

namespace {

constexpr int64_t FULL_WITHIN = 1500;    // world units: as loud as made, nearer than this
constexpr int64_t FADE_FROM = 10000;     // from here the loudness fades out ...
constexpr int64_t SILENT_FROM = 16000;   // ... to nothing where far enemies are taken away
constexpr int64_t CENTRED_WITHIN = 64;   // too near for a bearing: heard in the middle
constexpr int32_t PAN_WIDTH = 70;        // percent of the way to one ear for a sound at the side
constexpr int32_t BEHIND_SOFTER = 15;    // percent softer straight behind

int32_t toQ15(double v) { return truncToInt32(v * 32767.0); }

int64_t isqrt(uint64_t n) {
    uint64_t r = 0;
    for (uint64_t bit = uint64_t{1} << 62; bit != 0; bit >>= 2) {
        if (n >= r + bit) {
            n -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
    }
    return static_cast<int64_t>(r);
}

// Q15 loudness at a distance: 1 within FULL_WITHIN, then falling as 1/distance, faded to 0.
int32_t distanceGain(int64_t d) {
    if (d >= SILENT_FROM) return 0;
    int64_t g = d <= FULL_WITHIN ? 32768 : 32768 * FULL_WITHIN / d;
    if (d > FADE_FROM) g = g * (SILENT_FROM - d) / (SILENT_FROM - FADE_FROM);
    return static_cast<int32_t>(g);
}

}  // namespace

int64_t planarDistance(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    uint64_t dx = static_cast<uint64_t>(std::abs(int64_t{bx} - ax));
    uint64_t dy = static_cast<uint64_t>(std::abs(int64_t{by} - ay));
    // Two differences of 2^31 or more would overflow the sum of squares: halve them both.
    const int shift = (dx | dy) >> 31 ? 1 : 0;
    dx >>= shift;
    dy >>= shift;
    return isqrt(dx * dx + dy * dy) << shift;
}

StereoGain ownSound(int32_t pan) {
    // Equal power: the ears' gains are the cosine and sine of an eighth turn moved by the pan.
    const int32_t turn = 256 + static_cast<int32_t>((int64_t{pan} * 256) >> 15);
    const SinCos sc = sinCosOfAngle(std::clamp(turn, 0, 512));
    return {toQ15(sc.cos), toQ15(sc.sin)};
}

StereoGain placeSound(const PlayerState& listener, int32_t x, int32_t y) {
    const int64_t d = planarDistance(listener.x, listener.y, x, y);
    const int32_t loudness = distanceGain(d);
    if (loudness == 0) return {};
    int32_t pan = 0;
    int32_t behind = 0;
    if (d >= CENTRED_WITHIN) {
        const double dy = static_cast<double>(y) - static_cast<double>(listener.y);
        const double dx = static_cast<double>(x) - static_cast<double>(listener.x);
        const int32_t bearing = truncToInt32(portableAtan2(dy, dx) * ANGLE_UNITS_PER_RADIAN);
        // Headings grow turning right, so a bearing a little above the heading is to the right.
        const SinCos rel = sinCosOfAngle((bearing - listener.angle) & (ANGLE_UNITS_PER_TURN - 1));
        pan = toQ15(rel.sin) * PAN_WIDTH / 100;
        behind = std::max(0, -toQ15(rel.cos)) * BEHIND_SOFTER / 100;
    }
    const StereoGain ears = ownSound(pan);
    const int64_t scale = int64_t{loudness} * (32768 - behind) >> 15;
    return {static_cast<int32_t>(ears.left * scale >> 15), static_cast<int32_t>(ears.right * scale >> 15)};
}

}  // namespace krello::sound
