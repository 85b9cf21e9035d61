// The procedural texture builder: noise, in-place blurs and strokes, the enemy and the fireballs.
#include "world/textures.h"

#include <array>
#include <memory>

#include "world/random.h"

namespace krello {
namespace {

constexpr int SIDE_MASK = TEXTURE_SIDE - 1;

uint8_t& texel(Texture tex, int row, int column) {
    return tex[static_cast<size_t>((row & SIDE_MASK) * TEXTURE_SIDE + (column & SIDE_MASK))];
}

// Texel arithmetic is 8-bit: a negative delta arrives as its byte value and wraps back.
void addTo(uint8_t& t, uint8_t delta) { t = static_cast<uint8_t>(t + delta); }

}  // namespace

Texture textureSlotOf(GameState& g, int slot) {
    // A slot number from a damaged attribute must still land inside the bank.
    const size_t index = static_cast<unsigned>(slot) % TEXTURE_COUNT;
    return Texture(g.textures.data() + index * TEXTURE_BYTES, TEXTURE_BYTES);
}

void fillNoise(GameState& g, Texture tex, uint8_t base, uint8_t range) {
    // A range of 0 has no remainder; the texel keeps the base, and the draw is still taken so the
    // rest of the sequence stays where it belongs.
    for (uint8_t& t : tex) {
        const int draw = drawRandom(g);
        t = static_cast<uint8_t>(base + (range == 0 ? 0 : draw % range));
    }
}

void blurWrap(Texture tex, uint16_t n) {
    // In place and in memory order: at the right and bottom edges the wrapped neighbour has
    // already been rewritten in this pass, which is what spreads light up and to the left.
    for (int pass = 0; pass <= n; ++pass) {
        for (int r = 0; r < TEXTURE_SIDE; ++r) {
            for (int c = 0; c < TEXTURE_SIDE; ++c) {
                const int sum = texel(tex, r, c) + texel(tex, r, c + 1) + texel(tex, r + 1, c);
                texel(tex, r, c) = static_cast<uint8_t>(sum / 3);
            }
        }
    }
}

void setRivets(Texture tex, uint8_t value) {
    for (int row : {10, 117})
        for (int column : {20, 50, 80, 110}) texel(tex, row, column) = value;
}

void addBevel(Texture tex) {
    for (int r = 0; r < TEXTURE_SIDE; ++r) {
        for (int c = 0; c < TEXTURE_SIDE; ++c) {
            if (c > r) addTo(texel(tex, r, c), 5);
            if (SIDE_MASK - c > r) addTo(texel(tex, r, c), 5);
        }
    }
}

void addRect(Texture tex, uint8_t x0, uint8_t x1, uint8_t y0, uint8_t y1, uint8_t delta) {
    if (y0 > y1 || x0 > x1) return;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) addTo(texel(tex, y, x), delta);
}

void addDiamond(Texture tex, uint8_t delta) {
    for (int i = 32; i <= 95; ++i) {
        const int k = i & 63;
        addTo(texel(tex, k + 32, i), delta);
        addTo(texel(tex, 95 - k, i), delta);
    }
}

void unpackEnemyPicture(GameState& g) {
    Texture front = textureSlotOf(g, ENEMY_SLOT);
    Texture mirrored = textureSlotOf(g, ENEMY_MIRROR_SLOT);
    for (int r = 0; r < TEXTURE_SIDE; ++r) {
        // The row is unpacked into a local buffer before any texel is written. Reading the
        // picture and writing the bank in one loop is sound C++, but g++ 12 (-O1 and up) then
        // addresses the bank's stores from a null base, finds the function free of side
        // effects and deletes its call: docs/compiler-bugs/ has a reproducer.
        std::array<uint8_t, 64> pixels{};
        for (int i = 0; i < 32; ++i) {
            const uint8_t b = g.enemyPicture[static_cast<size_t>(r * 32 + i)];
            pixels[static_cast<size_t>(2 * i)] = static_cast<uint8_t>((b & 0x0F) * 4);  // low nibble: left
            pixels[static_cast<size_t>(2 * i + 1)] = static_cast<uint8_t>((b >> 2) & 0x3C);
        }
        for (int c = 0; c < 64; ++c) {
            texel(front, r, c) = pixels[static_cast<size_t>(c)];
            // Mirrored about column 32, the billboard's centre, so both frames share one axis.
            texel(mirrored, r, 64 - c) = pixels[static_cast<size_t>(c)];
        }
    }
}

void drawFireballFrames(GameState& g) {
    for (int slot = SHOT_SLOT; slot < SHOT_SLOT + SHOT_FRAMES; ++slot) {
        Texture tex = textureSlotOf(g, slot);
        for (int point = 0; point < 200; ++point) {
            const int a = drawRandom(g);
            const int b = drawRandom(g);
            const int c = drawRandom(g);
            const int d = drawRandom(g);
            // Dividing by 3..18 crowds the points towards the centre.
            const int dy = ((a & 127) - 63) / ((b & 15) + 3);
            const int dx = ((c & 127) - 63) / ((d & 15) + 3);
            texel(tex, 32 + dy, 32 + dx) = 63;
        }
        blurWrap(tex, 3);
    }
}

namespace {

// One step of the surface recipes. Deltas are bytes: a darkening step stores -d as 256 - d.
struct RecipeStep {
    enum Op : uint8_t { NOISE, BLUR, RIVETS, BEVEL, RECT, DIAMOND } op;
    uint8_t slot;
    uint8_t a, b, c, d, e;  // NOISE base, range; BLUR n; RIVETS value; RECT x0, x1, y0, y1, delta
};

constexpr RecipeStep noise(int slot, int base, int range) {
    return {RecipeStep::NOISE, uint8_t(slot), uint8_t(base), uint8_t(range), 0, 0, 0};
}
constexpr RecipeStep blur(int slot, int n) {
    return {RecipeStep::BLUR, uint8_t(slot), uint8_t(n), 0, 0, 0, 0};
}
constexpr RecipeStep rivets(int slot, int value) {
    return {RecipeStep::RIVETS, uint8_t(slot), uint8_t(value), 0, 0, 0, 0};
}
constexpr RecipeStep bevel(int slot) { return {RecipeStep::BEVEL, uint8_t(slot), 0, 0, 0, 0, 0}; }
// Columns x0..x1 of rows y0..y1; bounds past 127 wrap around the edge.
constexpr RecipeStep rect(int slot, int x0, int x1, int y0, int y1, int delta) {
    return {RecipeStep::RECT, uint8_t(slot), uint8_t(x0), uint8_t(x1), uint8_t(y0), uint8_t(y1),
            static_cast<uint8_t>(delta)};
}
constexpr RecipeStep diamond(int slot, int delta) {
    return {RecipeStep::DIAMOND, uint8_t(slot), static_cast<uint8_t>(delta), 0, 0, 0, 0};
}

// The nine surfaces, in the order their draws are taken. Reordering steps changes every texel
// after the first moved noise fill.
constexpr RecipeStep SURFACE_RECIPE[] = {
    // 0: a mottled plate with soft bright rivets, bevelled (top wedge +10, sides +5).
    noise(0, 10, 30), blur(0, 4), rivets(0, 120), blur(0, 5), bevel(0),
    // 1: a panel: dark and light bands, side grooves, five ribs, dark rivets.
    noise(1, 28, 40), blur(1, 10),
    rect(1, 0, 127, 15, 16, -12), rect(1, 0, 127, 111, 112, 12),
    rect(1, 14, 15, 15, 110, -14), rect(1, 111, 112, 15, 110, -14),
    rect(1, 30, 30, 15, 110, -10), rect(1, 46, 46, 15, 110, -10), rect(1, 62, 62, 15, 110, -10),
    rect(1, 78, 78, 15, 110, -10), rect(1, 94, 94, 15, 110, -10),
    rect(1, 31, 31, 15, 110, 8), rect(1, 47, 47, 15, 110, 8), rect(1, 63, 63, 15, 110, 8),
    rect(1, 79, 79, 15, 110, 8), rect(1, 95, 95, 15, 110, 8),
    rivets(1, 20), blur(1, 0),
    // 2: vertical stripes, strongly blurred.
    noise(2, 0, 50), blur(2, 4), rect(2, 7, 127, 0, 127, 25),
    rect(2, 28, 32, 0, 127, -20), rect(2, 48, 52, 0, 127, -25), rect(2, 68, 72, 0, 127, -17),
    rect(2, 92, 96, 0, 127, -22), rect(2, 112, 116, 0, 127, -26), blur(2, 18),
    // 3: 4 x 3 tiles, light top and left edges, dark bottom and right edges.
    noise(3, 30, 30), blur(3, 15),
    rect(3, 0, 127, 0, 1, 8), rect(3, 0, 127, 42, 43, 8), rect(3, 0, 127, 85, 86, 8),
    rect(3, 0, 127, 40, 41, -8), rect(3, 0, 127, 83, 84, -8), rect(3, 0, 127, 126, 127, -8),
    rect(3, 0, 1, 0, 127, 8), rect(3, 31, 32, 0, 127, 8), rect(3, 63, 64, 0, 127, 8),
    rect(3, 95, 96, 0, 127, 8),
    rect(3, 29, 30, 0, 127, -8), rect(3, 61, 62, 0, 127, -8), rect(3, 93, 94, 0, 127, -8),
    rect(3, 126, 127, 0, 127, -8),
    // 4: dark left and top edges, a grid of squares when tiled.
    noise(4, 30, 30), rect(4, 0, 5, 0, 127, -12), rect(4, 0, 127, 0, 5, -12), blur(4, 6),
    // 5: two staggered courses of bricks.
    noise(5, 30, 20), rect(5, 0, 127, 3, 5, 20), rect(5, 0, 127, 0, 2, -20),
    rect(5, 0, 127, 67, 69, 20), rect(5, 0, 127, 64, 66, -20),
    rect(5, 32, 34, 3, 63, -20), rect(5, 96, 98, 67, 127, -20), blur(5, 4),
    // 6: plain noise, lightly blurred.
    noise(6, 40, 23), blur(6, 2),
    // 7: a dark diamond with lines from its corners to the edges, a lattice when tiled.
    noise(7, 40, 23), diamond(7, -30), rect(7, 96, 159, 63, 63, -30),
    rect(7, 63, 63, 96, 159, -30), blur(7, 2),
    // 8: a recessed panel with a darker inner field, edge lines and crossing bars.
    noise(8, 30, 23), blur(8, 2),
    rect(8, 37, 39, 0, 127, -25), rect(8, 89, 91, 0, 127, 15), rect(8, 40, 88, 0, 127, -15),
    rect(8, 41, 86, 30, 80, -16),
    rect(8, 92, 164, 44, 45, -20), rect(8, 92, 164, 46, 47, 20),
    rect(8, 92, 164, 62, 63, -20), rect(8, 92, 164, 64, 65, 20),
    rect(8, 40, 88, 120, 120, 20), rect(8, 40, 88, 7, 7, -15), blur(8, 3),
};

constexpr bool recipeDrawsOnlySurfaces() {
    for (const RecipeStep& s : SURFACE_RECIPE)
        if (s.slot > LAST_SURFACE_SLOT) return false;
    return true;
}
static_assert(recipeDrawsOnlySurfaces());

void runStep(GameState& g, const RecipeStep& s) {
    Texture tex = textureSlotOf(g, s.slot);
    switch (s.op) {
        case RecipeStep::NOISE: fillNoise(g, tex, s.a, s.b); break;
        case RecipeStep::BLUR: blurWrap(tex, s.a); break;
        case RecipeStep::RIVETS: setRivets(tex, s.a); break;
        case RecipeStep::BEVEL: addBevel(tex); break;
        case RecipeStep::RECT: addRect(tex, s.a, s.b, s.c, s.d, s.e); break;
        case RecipeStep::DIAMOND: addDiamond(tex, s.a); break;
    }
}

}  // namespace

void buildTextures(GameState& g) {
    for (const RecipeStep& step : SURFACE_RECIPE) runStep(g, step);
    unpackEnemyPicture(g);
    drawFireballFrames(g);
}

void drawTextures(DrawnTextures& out, uint32_t from) {
    // The unpack takes no draws and writes only the enemy's slots, which the draws never touch,
    // so leaving it out changes no other texel and no draw.
    const auto g = std::make_unique<GameState>();
    g->randomState = from;
    for (const RecipeStep& step : SURFACE_RECIPE) runStep(*g, step);
    drawFireballFrames(*g);
    out.fromState = from;
    out.toState = g->randomState;
    out.textures = g->textures;
}

void buildTextures(GameState& g, const DrawnTextures& drawn) {
    if (g.randomState != drawn.fromState) {
        buildTextures(g);
        return;
    }
    g.textures = drawn.textures;
    g.randomState = drawn.toState;
    unpackEnemyPicture(g);
}

}  // namespace krello
