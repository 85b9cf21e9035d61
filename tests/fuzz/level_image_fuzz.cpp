// Fuzzes the level image: decoded, validated, measured, drawn as a map, started and played for
// 20 updates, a few columns of each frame drawn, when the validator accepts the level (as the
// game only plays such levels; a damaged one can take the renderer a second a frame, which would
// starve the fuzzer); a rejected level is started and runs 3 updates undrawn. Any table contents
// must pass through all of it without a fault; the input is laid over an all-zero image, so any
// length makes one.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace krello;
    std::array<uint8_t, LEVEL_IMAGE_BYTES> image{};
    std::copy_n(data, std::min(size, image.size()), image.begin());
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
    fuzz::requireOneLineEach({faults.begin(), faults.end() - cut}, "fuzz.img: ");
    fuzz::require(!cut || faults.back().rfind("and ", 0) == 0, "a cut list ends with the count of the rest");
    fuzz::require(!levelFigures(*g, builtinLevelFigures()).empty(), "the statistics are listed");
    // A map the size of a stamp runs every drawing path.
    const tool::MapPicture map = tool::drawLevelMap(*g, 16);
    fuzz::require(map.rgb.size() == static_cast<size_t>(map.width) * map.height * 3, "the map fills its picture");
    HeadlessPlatform platform;
    startLevel(*g, platform, kit->drawn);
    const uint8_t where = size > 0 ? data[0] : 0;
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
