// Fuzzes the level image: decoded, validated, measured and drawn as a map (a damaged level one
// time in four), started and played for 20 updates, a few columns of each frame drawn, when the
// validator accepts the level (as the game only plays such levels; a damaged one can take the
// renderer a second a frame, which would starve the fuzzer); a rejected level is started and
// runs 3 updates undrawn. Any table contents must pass through all of it without a fault.
//
// An input describes an image instead of holding one, so it stays a few bytes long and every
// mutation lands on a table: byte 0 chooses the base (bit 0: all zeros, or the built-in level's
// image), byte 1 where and on which path the columns are drawn, and the rest is a list of
// patches laid over the base in order, each an offset (2 bytes, little-endian, taken modulo the
// image's size), a count (2 bytes, little-endian) and that many bytes, cut at the input's end and
// at the image's end. A whole image is the zero base with one patch of it all at offset 0. The
// input's last bytes also give the keys and frame times of the updates played.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "game/frame.h"
#include "game/start_level.h"
#include "krello_tool/level_map.h"
#include "level/builtin_level.h"
#include "level/level_file.h"
#include "level/level_stats.h"
#include "level/level_validator.h"
#include "render/render_path.h"
#include "render/render_view.h"
#include "replay/headless_platform.h"
#include "world/level_image.h"
#include "world/screen.h"
#include "world/textures.h"

namespace {

// Four columns of each frame, where and on which path the input says: every drawing step still
// runs on the fuzzed tables, at a small part of a whole frame's time, so the harness keeps to
// thousands of inputs a second.
class FewColumns final : public krello::FrameDrawer {
public:
    FewColumns(krello::ColumnScratch& scratch, int first, krello::RenderPath path)
        : scratch_(scratch), first_(first), path_(path) {}
    void draw(const krello::GameState& g, uint8_t* frameBuffer) override {
        const krello::FrameView view(g, frameBuffer, path_);
        scratch_.startFrame();
        krello::drawColumns(view, scratch_, first_, first_ + 4);
    }

private:
    krello::ColumnScratch& scratch_;
    int first_;
    krello::RenderPath path_;
};

// What every input starts from, made once a process: the textures' drawn part (the same in every
// game; drawing it again was most of an input's time), a blank game copied over the one the input
// fills (an allocation of a game's size is mapped and faulted in afresh each time), the renderer's
// scratch and a frame.
struct Kit {
    krello::DrawnTextures drawn;
    krello::GameState blank;
    krello::GameState game;
    krello::ColumnScratch scratch;
    std::array<uint8_t, krello::FRAME_BYTES> frame{};
    Kit() { krello::drawTextures(drawn); }
};

constexpr size_t HEADER_BYTES = 2;   // the base, then the columns' place and path
constexpr size_t VIEW_EVERY = 4;     // one damaged level in this many is measured and mapped
constexpr size_t PATCH_HEAD_BYTES = 4;  // offset and count, two bytes each

// Lays the input's patches over `image`, which holds the base.
void applyPatches(std::span<const uint8_t> patches, std::span<uint8_t, krello::LEVEL_IMAGE_BYTES> image) {
    while (patches.size() >= PATCH_HEAD_BYTES) {
        const size_t offset = (patches[0] | size_t{patches[1]} << 8) % image.size();
        const size_t count = patches[2] | size_t{patches[3]} << 8;
        patches = patches.subspan(PATCH_HEAD_BYTES);
        const size_t taken = std::min(count, patches.size());
        std::copy_n(patches.begin(), std::min(taken, image.size() - offset), image.begin() + static_cast<std::ptrdiff_t>(offset));
        patches = patches.subspan(taken);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    const std::span<const uint8_t> input(data, size);
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    // A plain copy: the element-wise one, traced, was a twentieth of a sound level's time.
    if (size > 0 && (data[0] & 1u)) std::memcpy(image.data(), builtinLevelImage().data(), image.size());
    if (size > HEADER_BYTES) applyPatches(input.subspan(HEADER_BYTES), image);
    static const auto kit = std::make_unique<Kit>();
    GameState* const g = &kit->game;
    *g = kit->blank;
    fuzz::require(decodeLevelImage(image, *g), "an image of the right size decodes");
    // Worded as the tools list them: a corrupt image has thousands of faults, and wording them
    // all was most of an input's time. The rest are still found and counted.
    const std::vector<std::string> faults =
        validateLevel(*g, LevelOrigin{"fuzz.img", nullptr}, LevelSize::Full, MAX_LISTED_FAULTS);
    const bool cut = faults.size() > MAX_LISTED_FAULTS;
    fuzz::require(faults.size() <= MAX_LISTED_FAULTS + 1, "at most the listed faults and a count");
    // Checked where they lie: a copy of the list was a fifth of a damaged image's allocations.
    for (const std::string& fault : std::span(faults).first(faults.size() - cut)) fuzz::requireOneLine(fault, "fuzz.img: ");
    fuzz::require(!cut || faults.back().rfind("and ", 0) == 0, "a cut list ends with the count of the rest");
    // The statistics and the map, for a sound level and for one damaged level in VIEW_EVERY,
    // chosen by the input's bytes so an input always takes the same path and its coverage stays
    // stable. Both only read the tables; their paths are reached as before, by fewer inputs, and
    // the fuzzer keeps an input that reaches a new one and mutates it further. Measuring and
    // mapping every input was a quarter of the harness's time; the validator, the start-up and
    // the play, which take any image a player gives the game, still see every input. 5 x 5
    // pixels run every drawing path (fills, walls, numbers, markers and the clipping of each); a
    // bigger map only paints more pixels.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (faults.empty() || std::hash<std::string_view>{}(bytes) % VIEW_EVERY == 0) {
        fuzz::require(!levelFigures(*g, builtinLevelFigures()).empty(), "the statistics are listed");
        const tool::MapPicture map = tool::drawLevelMap(*g, 4);
        fuzz::require(map.rgb.size() == static_cast<size_t>(map.width) * map.height * 3, "the map fills its picture");
    }
    HeadlessPlatform platform;
    startLevel(*g, platform, kit->drawn);
    const uint8_t where = size > 1 ? data[1] : 0;
    FewColumns drawer(kit->scratch, where % (SCREEN_WIDTH - 3), (where & 1) ? RenderPath::Scalar : bestRenderPath());
    const FrameOutput output{&drawer, kit->frame.data()};
    // Keys and frame times from the input's last bytes, so the fuzzer steers the play too. A
    // level the validator rejects, which the game never plays, still starts and runs a few
    // updates, so no table faults them; the game's own wall walk reads a damaged sector to the
    // end of the table, and 20 updates of that were a fifth of an input's time.
    const size_t updates = faults.empty() ? 20 : 3;
    for (size_t u = 0; u < updates; ++u) {
        const uint8_t b = size > u ? data[size - 1 - u] : 0;
        platform.clock += 1u + b % 64u;
        for (int k = 0; k < GAME_KEY_COUNT; ++k) platform.held[static_cast<size_t>(k)] = (b >> k) & 1u;
        runFrame(*g, platform, faults.empty() ? &output : nullptr);
    }
    return 0;
}
