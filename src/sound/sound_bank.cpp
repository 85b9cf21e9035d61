// Every effect's samples, synthesised from the recipes at start-up.
#include "sound/sound_bank.h"

#include "sound/effect_recipe.h"
#include "sound/synth.h"

namespace krello::sound {

SoundBank::SoundBank() {
    const SineTable sine;
    for (int i = 0; i < SOUND_COUNT; ++i) samples_[static_cast<size_t>(i)] = renderEffect(recipeFor(i), sine);
}

}  // namespace krello::sound
