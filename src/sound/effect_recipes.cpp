// The sound design: every effect's recipe, in the order of SoundId.
#include <array>

#include "sound/effect_recipe.h"
#include "sound/sound_id.h"

namespace krello::sound {

namespace {

using enum Wave;
using enum FilterKind;

// Shots go off often, so they are soft at the top: filtered noise and falling sines, nothing
// above a few kHz. The player's own sounds sit in the middle of the stereo picture and are
// the loudest; footsteps are short, dull and varied, because a player hears thousands of them.
constexpr std::array<Recipe, SOUND_COUNT> RECIPES = {{
    {"player-fire", 75, 3,
     {{// a fireball leaving: a falling thump, a puff of air and a short bright edge
       {.wave = Sine, .pitchFrom = 380, .pitchTo = 110, .pitchMs = 160, .attackMs = 2, .decayMs = 220, .level = 70},
       {.wave = Noise, .filter = LowPass, .cutoffFrom = 2800, .cutoffTo = 350, .cutoffMs = 180, .q = 80,
        .decayMs = 200, .decayPower = 3, .level = 55, .seed = 11},
       {.wave = Triangle, .pitchFrom = 760, .pitchTo = 190, .pitchMs = 90, .decayMs = 90, .decayPower = 3,
        .level = 20}}}},
    {"shot-on-wall", 60, 2,
     {{// a puff against stone
       {.wave = Noise, .filter = LowPass, .cutoffFrom = 1800, .cutoffTo = 250, .cutoffMs = 120, .q = 90,
        .decayMs = 180, .decayPower = 3, .level = 80, .seed = 23},
       {.wave = Sine, .pitchFrom = 160, .pitchTo = 70, .pitchMs = 100, .decayMs = 140, .level = 35}}}},
    {"enemy-hit", 80, 3,
     {{// a crunch, a falling growl and a ping on top: the sound of scoring
       {.wave = Noise, .filter = BandPass, .cutoffFrom = 2200, .cutoffTo = 600, .cutoffMs = 200, .q = 120,
        .toneHz = 4000, .decayMs = 220, .decayPower = 3, .level = 60, .seed = 37},
       {.wave = Saw, .pitchFrom = 330, .pitchTo = 80, .pitchMs = 380, .filter = LowPass, .cutoffFrom = 2000,
        .cutoffTo = 300, .cutoffMs = 380, .q = 150, .attackMs = 3, .holdMs = 30, .decayMs = 400, .level = 60},
       {.wave = Sine, .pitchFrom = 880, .pitchTo = 440, .pitchMs = 60, .pitchPower = 1, .decayMs = 110,
        .level = 30}}}},
    {"enemy-fire", 65, 2,
     {{// a hissing spit that opens up, over a low breath
       {.wave = Noise, .filter = BandPass, .cutoffFrom = 700, .cutoffTo = 1800, .cutoffMs = 250, .cutoffPower = 1,
        .q = 150, .toneHz = 2800, .attackMs = 15, .holdMs = 40, .decayMs = 260, .level = 80, .seed = 41},
       {.wave = Sine, .pitchFrom = 240, .pitchTo = 150, .pitchMs = 200, .attackMs = 5, .decayMs = 220,
        .level = 35}}}},
    {"shot-passing", 60, 2,
     {{// a whoosh that swells and falls in pitch as the shot goes by
       {.wave = Noise, .filter = BandPass, .cutoffFrom = 2600, .cutoffTo = 700, .cutoffMs = 420, .cutoffPower = 1,
        .q = 250, .toneHz = 4000, .attackMs = 200, .decayMs = 260, .level = 100, .seed = 53},
       {.wave = Sine, .pitchFrom = 700, .pitchTo = 420, .pitchMs = 420, .pitchPower = 1, .attackMs = 200,
        .decayMs = 240, .level = 12}}}},
    {"player-hit", 85, 4,
     {{// a heavy blow and a long fall into the dark, two low tones a minor third apart
       {.wave = Noise, .filter = LowPass, .cutoffFrom = 3000, .cutoffTo = 180, .cutoffMs = 500, .q = 90,
        .decayMs = 700, .decayPower = 3, .level = 60, .seed = 67},
       {.wave = Sine, .pitchFrom = 200, .pitchTo = 42, .pitchMs = 1300, .pitchPower = 1, .attackMs = 4,
        .holdMs = 80, .decayMs = 1400, .level = 70},
       {.wave = Saw, .pitchFrom = 100, .pitchTo = 38, .pitchMs = 1300, .pitchPower = 1, .filter = LowPass,
        .cutoffFrom = 700, .cutoffTo = 150, .cutoffMs = 1200, .q = 120, .attackMs = 10, .holdMs = 60,
        .decayMs = 1300, .level = 40},
       {.wave = Sine, .pitchFrom = 238, .pitchTo = 50, .pitchMs = 1300, .pitchPower = 1, .attackMs = 4,
        .decayMs = 1200, .level = 30}}}},
    {"jump", 45, 2,
     {{// a short rising hup
       {.wave = Sine, .pitchFrom = 190, .pitchTo = 380, .pitchMs = 130, .attackMs = 10, .holdMs = 20,
        .decayMs = 140, .level = 60},
       {.wave = Noise, .filter = LowPass, .cutoffFrom = 900, .cutoffTo = 900, .attackMs = 5, .decayMs = 90,
        .level = 25, .seed = 71}}}},
    {"land", 80, 3,
     {{// a thud: a dropping low tone and dull noise
       {.wave = Sine, .pitchFrom = 120, .pitchTo = 45, .pitchMs = 140, .holdMs = 10, .decayMs = 230,
        .decayPower = 3, .level = 75},
       {.wave = Noise, .filter = LowPass, .cutoffFrom = 1400, .cutoffTo = 200, .cutoffMs = 100, .decayMs = 160,
        .decayPower = 3, .level = 70, .seed = 79},
       {.wave = Triangle, .pitchFrom = 210, .pitchTo = 90, .pitchMs = 80, .filter = LowPass, .cutoffFrom = 600,
        .cutoffTo = 600, .decayMs = 120, .decayPower = 3, .level = 30}}}},
    // Footsteps: heel and toe, two dull ticks 25-30 ms apart over a faint body; the four differ in
    // filter, pitch and noise so that no two steps in a row are the same.
    {"step-a", 50, 3,
     {{{.wave = Noise, .filter = LowPass, .cutoffFrom = 1500, .cutoffTo = 600, .cutoffMs = 40, .decayMs = 45,
        .decayPower = 3, .level = 70, .seed = 101},
       {.wave = Noise, .startMs = 28, .filter = LowPass, .cutoffFrom = 1100, .cutoffTo = 400, .cutoffMs = 50,
        .decayMs = 60, .decayPower = 3, .level = 50, .seed = 103},
       {.wave = Sine, .pitchFrom = 140, .pitchTo = 90, .pitchMs = 40, .decayMs = 60, .decayPower = 3,
        .level = 30}}}},
    {"step-b", 50, 3,
     {{{.wave = Noise, .filter = LowPass, .cutoffFrom = 1300, .cutoffTo = 500, .cutoffMs = 40, .decayMs = 50,
        .decayPower = 3, .level = 70, .seed = 107},
       {.wave = Noise, .startMs = 25, .filter = LowPass, .cutoffFrom = 1000, .cutoffTo = 380, .cutoffMs = 50,
        .decayMs = 55, .decayPower = 3, .level = 45, .seed = 109},
       {.wave = Sine, .pitchFrom = 125, .pitchTo = 82, .pitchMs = 40, .decayMs = 60, .decayPower = 3,
        .level = 30}}}},
    {"step-c", 50, 3,
     {{{.wave = Noise, .filter = LowPass, .cutoffFrom = 1650, .cutoffTo = 650, .cutoffMs = 40, .decayMs = 42,
        .decayPower = 3, .level = 70, .seed = 113},
       {.wave = Noise, .startMs = 31, .filter = LowPass, .cutoffFrom = 1200, .cutoffTo = 420, .cutoffMs = 50,
        .decayMs = 58, .decayPower = 3, .level = 52, .seed = 127},
       {.wave = Sine, .pitchFrom = 150, .pitchTo = 95, .pitchMs = 40, .decayMs = 55, .decayPower = 3,
        .level = 28}}}},
    {"step-d", 50, 3,
     {{{.wave = Noise, .filter = LowPass, .cutoffFrom = 1400, .cutoffTo = 550, .cutoffMs = 40, .decayMs = 48,
        .decayPower = 3, .level = 70, .seed = 131},
       {.wave = Noise, .startMs = 27, .filter = LowPass, .cutoffFrom = 1050, .cutoffTo = 390, .cutoffMs = 50,
        .decayMs = 62, .decayPower = 3, .level = 48, .seed = 137},
       {.wave = Sine, .pitchFrom = 132, .pitchTo = 86, .pitchMs = 40, .decayMs = 60, .decayPower = 3,
        .level = 32}}}},
    {"respawn", 55, 4,
     {{// three rising tones with a slow wobble and a faint glitter: something arrives
       {.wave = Sine, .pitchFrom = 294, .pitchTo = 294, .vibratoHz = 6, .vibratoPermille = 8, .attackMs = 20,
        .holdMs = 40, .decayMs = 300, .level = 50},
       {.wave = Sine, .startMs = 90, .pitchFrom = 440, .pitchTo = 440, .vibratoHz = 6, .vibratoPermille = 8,
        .attackMs = 20, .holdMs = 40, .decayMs = 300, .level = 45},
       {.wave = Sine, .startMs = 180, .pitchFrom = 587, .pitchTo = 587, .vibratoHz = 6, .vibratoPermille = 8,
        .attackMs = 20, .holdMs = 40, .decayMs = 400, .level = 40},
       {.wave = Noise, .filter = BandPass, .cutoffFrom = 3000, .cutoffTo = 3000, .q = 300, .toneHz = 4500,
        .attackMs = 150,
        .decayMs = 400, .level = 25, .seed = 139}}}},
    {"pause", 40, 2,
     {{// two soft notes going down
       {.wave = Sine, .pitchFrom = 784, .pitchTo = 784, .attackMs = 5, .holdMs = 30, .decayMs = 120, .level = 60},
       {.wave = Sine, .startMs = 90, .pitchFrom = 523, .pitchTo = 523, .attackMs = 5, .holdMs = 30,
        .decayMs = 180, .level = 60}}}},
    {"unpause", 40, 2,
     {{// the same two notes going up
       {.wave = Sine, .pitchFrom = 523, .pitchTo = 523, .attackMs = 5, .holdMs = 30, .decayMs = 120, .level = 60},
       {.wave = Sine, .startMs = 90, .pitchFrom = 784, .pitchTo = 784, .attackMs = 5, .holdMs = 30,
        .decayMs = 180, .level = 60}}}},
    {"quit-prompt", 40, 2,
     {{// a question: a rising fourth, warmer than the pause notes
       {.wave = Triangle, .pitchFrom = 659, .pitchTo = 659, .filter = LowPass, .cutoffFrom = 2000,
        .cutoffTo = 2000, .attackMs = 5, .holdMs = 40, .decayMs = 120, .level = 60},
       {.wave = Triangle, .startMs = 110, .pitchFrom = 880, .pitchTo = 880, .filter = LowPass, .cutoffFrom = 2000,
        .cutoffTo = 2000, .attackMs = 5, .holdMs = 60, .decayMs = 220, .level = 60}}}},
}};

}  // namespace

const Recipe& recipeFor(int soundIndex) { return RECIPES[static_cast<size_t>(soundIndex)]; }

std::string_view soundName(SoundId id) { return RECIPES[static_cast<size_t>(soundIndex(id))].name; }

}  // namespace krello::sound
