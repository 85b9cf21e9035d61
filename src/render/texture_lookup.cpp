// The blank texture the renderer reads where an attribute names a slot past the bank's fourteen.
#include <array>

#include "render/render_state.h"

namespace krello {

// Read where an attribute names a slot the bank does not have. Immutable, so it is no state.
constinit const std::array<uint8_t, TEXTURE_BYTES> kBlankTexture{};

}  // namespace krello
