// Texture slots as the renderer reads them: the bank's fourteen, and a blank one for the rest.
#include <array>

#include "render/render_state.h"

namespace krello {
namespace {

// Read where an attribute names a slot the bank does not have. Immutable, so it is no state.
constexpr std::array<uint8_t, TEXTURE_BYTES> kBlankTexture{};

}  // namespace

const uint8_t* textureOf(const GameState& g, uint8_t attribute) {
    const int slot = textureSlot(attribute);
    if (slot >= TEXTURE_COUNT) return kBlankTexture.data();
    return g.textures.data() + static_cast<size_t>(slot) * TEXTURE_BYTES;
}

}  // namespace krello
