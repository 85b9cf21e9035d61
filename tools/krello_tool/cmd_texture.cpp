// krello-tool's texture and palette commands: the raw bank, a labelled sheet, the palette swatches.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "krello_tool/commands.h"
#include "krello_tool/digit_font.h"
#include "krello_tool/output_files.h"
#include "level/builtin_level.h"
#include "world/palette.h"
#include "world/textures.h"

namespace krello::tool {
namespace {

// The bank as a new game builds it: the built-in level's picture, the generator at its start.
std::unique_ptr<GameState> builtBank() {
    auto g = std::make_unique<GameState>();
    loadBuiltinLevel(*g);
    g->randomState = 1;
    buildTextures(*g);
    return g;
}

void dumpTextures(const std::string& path) {
    const auto g = builtBank();
    writeOutputFile(path, g->textures);
}

// The sheet: two rows of seven tiles, each texture drawn twice its size under its slot number.
constexpr int SHEET_SCALE = 2;
constexpr int LABEL_SCALE = 3;
constexpr int MARGIN = 8;
constexpr int TILE = TEXTURE_SIDE * SHEET_SCALE;
constexpr int LABEL_HEIGHT = DIGIT_HEIGHT * LABEL_SCALE + 4;
constexpr int TILES_PER_ROW = 7;
constexpr int CELL_WIDTH = TILE + MARGIN;
constexpr int CELL_HEIGHT = LABEL_HEIGHT + TILE + MARGIN;
constexpr int SHEET_WIDTH = TILES_PER_ROW * CELL_WIDTH + MARGIN;
constexpr int SHEET_HEIGHT = 2 * CELL_HEIGHT + MARGIN;
constexpr uint8_t SHEET_BACKGROUND[3] = {28, 28, 36};
constexpr uint8_t LABEL_COLOUR[3] = {230, 230, 230};

// The ramp each slot is seen in: surfaces and the enemy in warm white, shots in orange.
int sheetRamp(int slot) { return slot >= 11 ? 3 : 0; }

void drawTile(std::vector<uint8_t>& rgb, const GameState& g, const Palette& palette, int slot) {
    const int left = MARGIN + (slot % TILES_PER_ROW) * CELL_WIDTH;
    const int top = MARGIN + (slot / TILES_PER_ROW) * CELL_HEIGHT;
    drawNumber(rgb.data(), SHEET_WIDTH, SHEET_HEIGHT, left, top, slot, LABEL_SCALE, LABEL_COLOUR);
    const uint8_t* tex = g.textures.data() + static_cast<size_t>(slot) * TEXTURE_BYTES;
    for (int y = 0; y < TILE; ++y) {
        for (int x = 0; x < TILE; ++x) {
            const int shade = tex[(y / SHEET_SCALE) * TEXTURE_SIDE + x / SHEET_SCALE] & 63;
            const PaletteEntry& c = palette[static_cast<size_t>(sheetRamp(slot) * 64 + shade)];
            uint8_t* p = rgb.data() + (static_cast<size_t>(top + LABEL_HEIGHT + y) * SHEET_WIDTH + left + x) * 3;
            p[0] = c.red;
            p[1] = c.green;
            p[2] = c.blue;
        }
    }
}

void writeSheet(const std::string& path) {
    const auto g = builtBank();
    const Palette palette = buildRamps(0);
    std::vector<uint8_t> rgb(static_cast<size_t>(SHEET_WIDTH) * SHEET_HEIGHT * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = SHEET_BACKGROUND[i % 3];
    for (int slot = 0; slot < TEXTURE_COUNT; ++slot) drawTile(rgb, *g, palette, slot);
    writeRgbPng(path, SHEET_WIDTH, SHEET_HEIGHT, rgb.data());
}

// The palette as 16 x 16 swatches of 16 pixels, entry 0 at the top left, a ramp every 4 rows.
void writePaletteSwatches(const std::string& path, bool tinted) {
    constexpr int SWATCH = 16;
    constexpr int SIDE = 16 * SWATCH;
    std::vector<uint8_t> indices(static_cast<size_t>(SIDE) * SIDE);
    for (int y = 0; y < SIDE; ++y)
        for (int x = 0; x < SIDE; ++x)
            indices[static_cast<size_t>(y) * SIDE + x] = static_cast<uint8_t>((y / SWATCH) * 16 + x / SWATCH);
    writeIndexedPng(path, SIDE, SIDE, indices.data(), buildRamps(tinted ? 255 : 0));
}

}  // namespace

void registerTextureCommands(CLI::App& app) {
    CLI::App* textures = app.add_subcommand("textures", "The 14 generated textures");
    textures->require_subcommand(1);

    auto dumpPath = std::make_shared<std::string>();
    CLI::App* dump = textures->add_subcommand(
        "dump", "Write the raw 229,376-byte texture bank a new game builds");
    dump->add_option("FILE", *dumpPath, "Output file")->type_name("")->required();
    dump->callback([dumpPath] { dumpTextures(*dumpPath); });

    auto sheetPath = std::make_shared<std::string>();
    CLI::App* sheet = textures->add_subcommand(
        "sheet", "Draw all textures, labelled with their slots, on one PNG picture");
    sheet->add_option("FILE", *sheetPath, "Output PNG file")->type_name("")->required();
    sheet->callback([sheetPath] { writeSheet(*sheetPath); });

    auto palettePath = std::make_shared<std::string>();
    auto tinted = std::make_shared<bool>(false);
    CLI::App* palette = app.add_subcommand("palette", "Draw the 256 colours as 16x16 swatches");
    palette->add_option("FILE", *palettePath, "Output PNG file")->type_name("")->required();
    palette->add_flag("--tinted", *tinted, "The red-tinted palette shown after game over");
    palette->callback([palettePath, tinted] { writePaletteSwatches(*palettePath, *tinted); });
}

}  // namespace krello::tool
