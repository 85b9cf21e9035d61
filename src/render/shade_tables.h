// Shaded pixels by texel for a shade offset and ramp, made once and read by every wall row.
#pragma once

#include <array>
#include <cstdint>

namespace krello {

// A wall's pixel is shadeTexel(texel, shadeOffset) + ramp for every one of its rows, and
// neighbouring columns of a wall mostly share the offset. So a column thread keeps the 256
// answers for a few (offset, ramp) pairs and a wall row is one table lookup. The tables depend
// on nothing else, so they stay valid from frame to frame; a pair whose slot another one took
// is made again.
class ShadeTables {
public:
    // The 256 pixels of the pair, indexed by texel. Called for every wall column drawn with
    // the reference, so the usual case (the pair's table is there) is inline.
    const uint8_t* table(int16_t shadeOffset, uint8_t ramp) {
        const int32_t key = static_cast<int32_t>(static_cast<uint16_t>(shadeOffset)) << 8 | ramp;
        Slot& slot = slots_[static_cast<uint32_t>(shadeOffset + (ramp >> 6)) % SLOTS];
        if (slot.key != key) make(slot, shadeOffset, ramp);
        return slot.pixel.data();
    }

private:
    static constexpr int SLOTS = 32;
    struct Slot {
        int32_t key = -1;  // (offset as 16 bits) << 8 | ramp, or -1 for none yet
        std::array<uint8_t, 256> pixel;
    };
    std::array<Slot, SLOTS> slots_;

    // Fills the slot with the pair's table.
    static void make(Slot& slot, int16_t shadeOffset, uint8_t ramp);
};

}  // namespace krello
