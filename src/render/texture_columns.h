// Texture slots column by column, kept by each column thread for wall rows drawn with vectors.
#pragma once

#include <array>
#include <cstdint>

#include "world/records.h"

namespace krello {

// Whether two texture slots' bytes (TEXTURE_BYTES each) are all the same.
using SameTextureBytes = bool (*)(const uint8_t* a, const uint8_t* b);
// The plain comparison, for every build; the x86 vector paths pass their own (x86_kernels.h).
bool sameTextureBytes(const uint8_t* a, const uint8_t* b);

// A wall column reads one texture column, 128 texels 128 bytes apart in the bank. The vector
// wall rows look texels up in registers, which needs the column's texels side by side: so a
// column thread keeps a copy of each slot it draws walls with, turned column by column. Textures
// can change from one frame to the next (the game moves pictures around the bank; tests and tools
// write their own), so the first use of a slot in a frame compares the bank's bytes with the
// copy it was made from and makes it again when they differ. The copy is then a pure function of
// the bank as it stands.
class TextureColumns {
public:
    // A new frame: every slot is compared again before its first use.
    void startFrame() { checked_ = 0; }

    // The texels of the slot (the attribute's slot number, 0..15) whose bank bytes are at
    // `texture`: column c's 128 rows at [c * 128]. Valid until the next frame starts. `same`
    // compares the bank with the copy: any comparison gives the same answer, only its speed
    // differs.
    // Called for every wall column drawn with vectors, so the usual case (the slot already
    // compared in this frame) is a test and a load here.
    const uint8_t* of(const uint8_t* texture, int slot, SameTextureBytes same = sameTextureBytes) {
        slot &= SLOTS - 1;
        if (!(checked_ & (1u << slot))) check(texture, slot, same);
        return slots_[static_cast<size_t>(slot)].byColumn.data();
    }

private:
    // The first use of a slot (0..15) in the frame: compares it and turns it again if it changed.
    void check(const uint8_t* texture, int slot, SameTextureBytes same);

    static constexpr int SLOTS = 16;
    struct Slot {
        bool made = false;                              // the two copies hold something
        alignas(64) std::array<uint8_t, TEXTURE_BYTES> bank;      // the bank's bytes the copy was made from
        alignas(64) std::array<uint8_t, TEXTURE_BYTES> byColumn;  // the same texels, column by column
    };
    std::array<Slot, SLOTS> slots_;
    uint32_t checked_ = 0;  // bit s: slot s was compared with the bank in this frame
};

}  // namespace krello
