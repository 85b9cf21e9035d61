// The texture animation: the enemy pictures change places, the shot pictures rotate.
#pragma once

#include "world/game_state.h"

namespace krello {

// Advances both animation timers by frameDt and moves whole textures when one runs over.
void animateTextures(GameState& g);

}  // namespace krello
