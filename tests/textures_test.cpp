// The texture builder: the random sequence, each primitive's edge behaviour and the finished bank.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <set>

#include "level/builtin_level.h"
#include "world/random.h"
#include "world/textures.h"

namespace krello {
namespace {

std::unique_ptr<GameState> freshState() { return std::make_unique<GameState>(); }

uint8_t at(Texture tex, int row, int column) { return tex[static_cast<size_t>(row * 128 + column)]; }

long sumOf(Texture tex) { return std::accumulate(tex.begin(), tex.end(), 0L); }

int countNonZero(Texture tex) {
    return static_cast<int>(std::count_if(tex.begin(), tex.end(), [](uint8_t t) { return t != 0; }));
}

// Advances a copy of the state by n draws.
uint32_t stateAfterDraws(uint32_t state, long n) {
    GameState probe;
    probe.randomState = state;
    for (long i = 0; i < n; ++i) drawRandom(probe);
    return probe.randomState;
}

TEST(RandomSequence, StartsAtOneWithTheKnownFirstDraws) {
    auto g = freshState();
    EXPECT_EQ(g->randomState, 1u);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected) EXPECT_EQ(drawRandom(*g), e);
}

TEST(FillNoise, TakesOneDrawPerTexelInMemoryOrder) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    fillNoise(*g, tex, 10, 30);
    EXPECT_EQ(at(tex, 0, 0), 10 + 41 % 30);
    EXPECT_EQ(at(tex, 0, 1), 10 + 18467 % 30);
    EXPECT_EQ(at(tex, 0, 2), 10 + 6334 % 30);
    EXPECT_EQ(g->randomState, stateAfterDraws(1, TEXTURE_BYTES));
    auto [lo, hi] = std::minmax_element(tex.begin(), tex.end());
    EXPECT_EQ(*lo, 10);
    EXPECT_EQ(*hi, 39);
}

TEST(FillNoise, ZeroRangeKeepsTheBaseAndTheSequenceInStep) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 2);
    fillNoise(*g, tex, 17, 0);
    EXPECT_TRUE(std::all_of(tex.begin(), tex.end(), [](uint8_t t) { return t == 17; }));
    EXPECT_EQ(g->randomState, stateAfterDraws(1, TEXTURE_BYTES));
}

TEST(BlurWrap, ZeroStillMakesOnePassAndConstantsStay) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    tex[64 * 128 + 64] = 63;
    blurWrap(tex, 0);
    EXPECT_EQ(at(tex, 64, 64), 21);
    EXPECT_EQ(at(tex, 63, 64), 21);
    EXPECT_EQ(at(tex, 64, 63), 21);
    EXPECT_EQ(sumOf(tex), 63);

    std::fill(tex.begin(), tex.end(), uint8_t{37});
    blurWrap(tex, 9);
    EXPECT_TRUE(std::all_of(tex.begin(), tex.end(), [](uint8_t t) { return t == 37; }));
}

TEST(BlurWrap, RewritesInPlaceSoTheWrapSeesNewValues) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    tex[0] = 63;
    blurWrap(tex, 0);
    EXPECT_EQ(at(tex, 0, 0), 21);
    EXPECT_EQ(at(tex, 0, 127), 7);
    EXPECT_EQ(at(tex, 127, 0), 7);
    EXPECT_EQ(at(tex, 127, 127), 4);
    EXPECT_EQ(countNonZero(tex), 4);
}

TEST(SetRivets, SetsEightTexelsRatherThanAdding) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    std::fill(tex.begin(), tex.end(), uint8_t{30});
    setRivets(tex, 120);
    EXPECT_EQ(at(tex, 10, 20), 120);
    EXPECT_EQ(at(tex, 117, 110), 120);
    EXPECT_EQ(std::count(tex.begin(), tex.end(), 120), 8);
}

TEST(AddBevel, ShadesTheFourWedges) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    addBevel(tex);
    EXPECT_EQ(at(tex, 0, 64), 10);
    EXPECT_EQ(at(tex, 64, 0), 5);
    EXPECT_EQ(at(tex, 64, 127), 5);
    EXPECT_EQ(at(tex, 10, 10), 5);
    EXPECT_EQ(at(tex, 63, 64), 5);
    EXPECT_EQ(at(tex, 127, 64), 0);
}

TEST(AddRect, SkipsEmptyRangesAndWrapsColumnsPastTheEdge) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    addRect(tex, 0, 127, 20, 10, 5);
    addRect(tex, 50, 40, 0, 127, 5);
    EXPECT_EQ(countNonZero(tex), 0);

    addRect(tex, 92, 164, 3, 4, 1);
    EXPECT_EQ(countNonZero(tex), 2 * 73);
    EXPECT_EQ(at(tex, 3, 92), 1);
    EXPECT_EQ(at(tex, 3, 127), 1);
    EXPECT_EQ(at(tex, 4, 36), 1);
    EXPECT_EQ(at(tex, 4, 37), 0);
    EXPECT_EQ(at(tex, 4, 91), 0);

    // A negative delta is its byte value and wraps back modulo 256.
    std::fill(tex.begin(), tex.end(), uint8_t{40});
    addRect(tex, 0, 0, 0, 0, static_cast<uint8_t>(-12));
    EXPECT_EQ(at(tex, 0, 0), 28);
}

TEST(AddDiamond, TouchesEachOf128TexelsOnce) {
    auto g = freshState();
    Texture tex = textureSlotOf(*g, 0);
    addDiamond(tex, 1);
    EXPECT_EQ(countNonZero(tex), 128);
    EXPECT_EQ(sumOf(tex), 128);
    EXPECT_EQ(at(tex, 64, 32), 1);   // left corner
    EXPECT_EQ(at(tex, 32, 64), 1);   // top corner
    EXPECT_EQ(at(tex, 95, 64), 1);   // bottom corner
}

TEST(UnpackEnemyPicture, SplitsNibblesAndMirrorsAboutColumn32) {
    auto g = freshState();
    g->enemyPicture[5 * 32] = 0x21;
    unpackEnemyPicture(*g);
    Texture front = textureSlotOf(*g, 9);
    Texture mirrored = textureSlotOf(*g, 10);
    EXPECT_EQ(at(front, 5, 0), 4);
    EXPECT_EQ(at(front, 5, 1), 8);
    EXPECT_EQ(at(mirrored, 5, 64), 4);
    EXPECT_EQ(at(mirrored, 5, 63), 8);
    EXPECT_EQ(sumOf(front), 12);
    EXPECT_EQ(sumOf(mirrored), 12);
}

TEST(UnpackEnemyPicture, BothSlotsHoldTheSamePixelsForAnyPicture) {
    auto g = freshState();
    uint32_t v = 99;
    for (auto& b : g->enemyPicture) {
        v = v * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(v >> 24);
    }
    unpackEnemyPicture(*g);
    Texture front = textureSlotOf(*g, 9);
    Texture mirrored = textureSlotOf(*g, 10);
    EXPECT_EQ(sumOf(front), sumOf(mirrored));
    for (int r = 0; r < 128; ++r) {
        for (int c = 0; c < 64; ++c) ASSERT_EQ(at(mirrored, r, 64 - c), at(front, r, c)) << r << "," << c;
        for (int c = 64; c < 128; ++c) ASSERT_EQ(at(front, r, c), 0);
        ASSERT_EQ(at(mirrored, r, 0), 0);
        for (int c = 65; c < 128; ++c) ASSERT_EQ(at(mirrored, r, c), 0);
    }
    // The top nibble 15 becomes shade 60, never more.
    EXPECT_EQ(*std::max_element(front.begin(), front.end()), 60);
}

TEST(ShippedEnemyPicture, UnpacksToShades4To36WithEqualSums) {
    auto g = freshState();
    loadBuiltinLevel(*g);
    unpackEnemyPicture(*g);
    Texture front = textureSlotOf(*g, 9);
    EXPECT_EQ(sumOf(front), 61468);
    EXPECT_EQ(sumOf(textureSlotOf(*g, 10)), 61468);
    EXPECT_EQ(*std::max_element(front.begin(), front.end()), 36);
    for (int r = 0; r < 128; ++r) EXPECT_EQ(at(front, r, 0), 0) << "picture column 0 is empty";
}

TEST(BuildTextures, KeepsTheEnemySlotsItUnpacks) {
    // The enemy slots must survive the full build, not only a direct unpack: the two differ
    // when the compiler loses the bank writes of an inlined unpack.
    auto built = freshState();
    for (size_t i = 0; i < built->enemyPicture.size(); ++i)
        built->enemyPicture[i] = static_cast<uint8_t>(0x11 + (i % 7) * 0x10);
    auto unpacked = freshState();
    unpacked->enemyPicture = built->enemyPicture;
    buildTextures(*built);
    unpackEnemyPicture(*unpacked);
    for (int slot : {9, 10}) {
        Texture a = textureSlotOf(*built, slot), b = textureSlotOf(*unpacked, slot);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin())) << "slot " << slot;
        EXPECT_GT(sumOf(a), 0) << "slot " << slot;
    }
}

TEST(ShippedEnemyPicture, SurvivesTheFullBuild) {
    auto g = freshState();
    loadBuiltinLevel(*g);
    buildTextures(*g);
    EXPECT_EQ(sumOf(textureSlotOf(*g, 9)), 61468);
    EXPECT_EQ(sumOf(textureSlotOf(*g, 10)), 61468);
}

// The box of rows and columns holding non-zero texels: {minRow, maxRow, minColumn, maxColumn}.
std::array<int, 4> nonZeroBox(Texture tex) {
    std::array<int, 4> box{128, -1, 128, -1};
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c)
            if (at(tex, r, c) != 0)
                box = {std::min(box[0], r), std::max(box[1], r), std::min(box[2], c), std::max(box[3], c)};
    return box;
}

TEST(DrawFireballFrames, PointsStayWithin21OfTheCentreAndTake2400Draws) {
    auto g = freshState();
    g->randomState = 12345;
    drawFireballFrames(*g);
    EXPECT_EQ(g->randomState, stateAfterDraws(12345, 2400));
    for (int slot = 11; slot <= 13; ++slot) {
        // Points land in 11..53; four blur passes spread them up to four texels up and left only.
        const auto box = nonZeroBox(textureSlotOf(*g, slot));
        EXPECT_GE(box[0], 7) << slot;
        EXPECT_LE(box[1], 53) << slot;
        EXPECT_GE(box[2], 7) << slot;
        EXPECT_LE(box[3], 53) << slot;
        EXPECT_GT(at(textureSlotOf(*g, slot), 32, 32), 0) << slot;
    }
}

class BuiltTextures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bank = new GameState;
        buildTextures(*bank);
    }
    static void TearDownTestSuite() { delete bank; }
    static Texture slot(int s) { return textureSlotOf(*bank, s); }
    static GameState* bank;
};
GameState* BuiltTextures::bank = nullptr;

TEST_F(BuiltTextures, ConsumesExactly149856Draws) {
    EXPECT_EQ(bank->randomState, stateAfterDraws(1, 149856));
}

TEST_F(BuiltTextures, SampleTexelsMatch) {
    const int points[4][2] = {{0, 0}, {10, 20}, {64, 64}, {127, 127}};
    const int expected[3][5] = {{0, 26, 30, 21, 21}, {3, 54, 38, 48, 22}, {8, 39, 36, 6, 37}};
    for (const auto& e : expected)
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(at(slot(e[0]), points[p][0], points[p][1]), e[p + 1])
                << "slot " << e[0] << " at (" << points[p][0] << "," << points[p][1] << ")";
    EXPECT_EQ(at(slot(11), 32, 32), 53);
}

TEST_F(BuiltTextures, SlotSumsMatch) {
    const long surfaces[9] = {423320, 706165, 587609, 642513, 673584, 612787, 819425, 812139, 497715};
    for (int s = 0; s < 9; ++s) EXPECT_EQ(sumOf(slot(s)), surfaces[s]) << "slot " << s;
    EXPECT_EQ(sumOf(slot(11)), 8349);
    EXPECT_EQ(sumOf(slot(12)), 8561);
    EXPECT_EQ(sumOf(slot(13)), 8124);
    EXPECT_EQ(sumOf(slot(9)), sumOf(slot(10)));
}

TEST_F(BuiltTextures, ShadesStayInTheirRanges) {
    const int ranges[][3] = {{0, 15, 42}, {1, 13, 62}, {2, 14, 48}, {3, 21, 58}, {4, 23, 50},
                             {5, 16, 58}, {6, 42, 59}, {7, 28, 58}, {8, 3, 55},  {11, 0, 63},
                             {12, 0, 62}, {13, 0, 62}};
    for (const auto& r : ranges) {
        auto [lo, hi] = std::minmax_element(slot(r[0]).begin(), slot(r[0]).end());
        EXPECT_EQ(*lo, r[1]) << "slot " << r[0];
        EXPECT_EQ(*hi, r[2]) << "slot " << r[0];
    }
    // Texel 0 is transparent; no surface may have a hole.
    for (int s = 0; s < 9; ++s) EXPECT_EQ(std::count(slot(s).begin(), slot(s).end(), 0), 0) << s;
}

TEST_F(BuiltTextures, RebuildingFromTheSameStateGivesTheSameBank) {
    auto again = freshState();
    buildTextures(*again);
    EXPECT_EQ(again->textures, bank->textures);
}

}  // namespace
}  // namespace krello
