// Texture slots column by column, kept by each column thread for wall rows drawn with vectors.
#include "render/texture_columns.h"

#include <bit>
#include <cstring>

namespace krello {

// Eight words a step, each with a running difference of its own and no early exit, a plain loop
// every compiler widens to whole vector registers (the browser's C library compares byte by
// byte). It runs on every slot a thread uses in every frame, so its instructions count.
bool sameTextureBytes(const uint8_t* a, const uint8_t* b) {
    constexpr size_t WORDS = 8;
    uint64_t differ[WORDS] = {};
    for (size_t i = 0; i < static_cast<size_t>(TEXTURE_BYTES); i += WORDS * sizeof(uint64_t)) {
        for (size_t k = 0; k < WORDS; ++k) {
            uint64_t x, y;
            std::memcpy(&x, a + i + k * sizeof x, sizeof x);
            std::memcpy(&y, b + i + k * sizeof y, sizeof y);
            differ[k] |= x ^ y;
        }
    }
    uint64_t any = 0;
    for (uint64_t d : differ) any |= d;
    return any == 0;
}

namespace {

// Eight rows of eight bytes (row k in rows[k], byte c its column c) turned into eight columns:
// afterwards rows[c] holds column c, its byte k from row k. Three rounds swap ever larger
// squares across the diagonal, bytes, then pairs, then fours, with shifts and masks on whole
// words: a tenth of the instructions of moving the 64 bytes one by one.
void turnEight(uint64_t (&rows)[8]) {
    static_assert(std::endian::native == std::endian::little, "byte c of a word is its column c");
    auto swap = [&rows](int i, int j, int shift, uint64_t mask) {
        const uint64_t t = ((rows[i] >> shift) ^ rows[j]) & mask;
        rows[j] ^= t;
        rows[i] ^= t << shift;
    };
    for (int i : {0, 2, 4, 6}) swap(i, i + 1, 8, 0x00FF00FF00FF00FFull);
    for (int i : {0, 1, 4, 5}) swap(i, i + 2, 16, 0x0000FFFF0000FFFFull);
    for (int i : {0, 1, 2, 3}) swap(i, i + 4, 32, 0x00000000FFFFFFFFull);
}

// The texture turned column by column: out[c * 128 + r] = in[r * 128 + c], eight by eight.
void turnTexture(const uint8_t* in, uint8_t* out) {
    constexpr int SIDE = TEXTURE_SIDE;
    static_assert(SIDE % 8 == 0, "the texture is a whole number of 8 x 8 squares");
    for (int r = 0; r < SIDE; r += 8) {
        for (int c = 0; c < SIDE; c += 8) {
            uint64_t square[8];
            for (int k = 0; k < 8; ++k) std::memcpy(&square[k], in + (r + k) * SIDE + c, sizeof square[k]);
            turnEight(square);
            for (int k = 0; k < 8; ++k) std::memcpy(out + (c + k) * SIDE + r, &square[k], sizeof square[k]);
        }
    }
}

}  // namespace

void TextureColumns::check(const uint8_t* texture, int slot, SameTextureBytes same) {
    Slot& s = slots_[static_cast<size_t>(slot)];
    checked_ |= 1u << slot;
    if (s.made && same(s.bank.data(), texture)) return;
    std::memcpy(s.bank.data(), texture, TEXTURE_BYTES);
    turnTexture(s.bank.data(), s.byColumn.data());
    s.made = true;
}

}  // namespace krello
