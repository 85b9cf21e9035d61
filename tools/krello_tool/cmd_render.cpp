// krello-tool's render commands: one frame from a viewpoint, or the tour of named viewpoints.
#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/whole_number.h"
#include "game/frame.h"
#include "io/file_bytes.h"
#include "io/shown_text.h"
#include "krello_tool/commands.h"
#include "krello_tool/level_option.h"
#include "krello_tool/output_files.h"
#include "krello_tool/render_options.h"
#include "level/loop_geometry.h"
#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/game_run.h"
#include "tour/tour_views.h"
#include "world/palette.h"

namespace krello::tool {
namespace {

struct RenderOptions {
    std::vector<std::string> view;  // X Y Z ANGLE SECTOR
    std::string png;
    std::string raw;
    std::string tour;
    std::string writeChecksums;
    std::string checkChecksums;
    std::string level;  // a level file, or empty for the built-in level
    DrawOptions draw;   // --threads
};

using Frame = std::vector<uint8_t>;

int64_t viewNumber(const std::string& text, const char* what, int64_t lo, int64_t hi) {
    int64_t v = 0;
    if (!cli::readWholeNumber(text, lo, hi, v)) {
        throw ToolError{"render --view: " + std::string(what) + ": expected " + cli::wholeNumberRange(lo, hi) +
                        ", got '" + io::shownText(text) + "'"};
    }
    return v;
}

// The level after start-up, as the game has it before its first update. The clock reads 0, so
// nothing depends on when the tool runs.
std::unique_ptr<GameState> startedGame(const std::string& levelPath) {
    const auto run = std::make_unique<GameRun>();
    loadLevel(*run, levelPath);
    run->start();
    return std::make_unique<GameState>(run->game());
}

// One frame, no update, into a zeroed buffer: rows no sector draws stay 0.
Frame renderFrom(const GameState& started, const PlayerState& viewer, RenderThreads& threads) {
    auto g = std::make_unique<GameState>(started);
    g->player = viewer;
    Frame frame(FRAME_BYTES, 0);
    ViewDrawer drawer(&threads);
    drawStill(*g, FrameOutput{&drawer, frame.data()});
    return frame;
}

PlayerState viewFromOptions(const GameState& g, const std::vector<std::string>& view) {
    constexpr int64_t lo32 = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi32 = std::numeric_limits<int32_t>::max();
    if (view.empty()) {
        // The level's start, with the eye where the first update's floor clamp puts it.
        PlayerState p = g.player;
        const uint16_t sector = static_cast<uint16_t>(p.sector);
        if (sector >= SECTOR_COUNT)
            throw ToolError{"render: the level's start sector " + std::to_string(p.sector) + " does not exist"};
        p.z = static_cast<int32_t>(static_cast<int64_t>(g.sectors[sector].floorZ) - EYE_HEIGHT);
        return p;
    }
    PlayerState p{};
    p.x = static_cast<int32_t>(viewNumber(view[0], "X", lo32, hi32));
    p.y = static_cast<int32_t>(viewNumber(view[1], "Y", lo32, hi32));
    p.z = static_cast<int32_t>(viewNumber(view[2], "Z", lo32, hi32));
    p.angle = static_cast<int16_t>(viewNumber(view[3], "ANGLE", 0, 2047));
    p.sector = static_cast<int16_t>(viewNumber(view[4], "SECTOR", 0, SECTOR_COUNT - 1));
    // A point outside its sector would be drawn from the wrong place: a picture of nothing.
    if (!pointInSector(g, static_cast<uint16_t>(p.sector), p.x, p.y)) {
        throw ToolError{"render --view: (" + view[0] + ", " + view[1] + ") is not inside sector " + view[4]};
    }
    return p;
}

void addPng(OutputFiles& out, const std::string& path, const Frame& frame) {
    out.addIndexedPng(path, SCREEN_WIDTH, SCREEN_HEIGHT, frame.data(), buildRamps(0));
}

// NAME -> checksum, from a file of "NAME HEX8" lines ('#' starts a comment).
std::map<std::string, uint32_t> readChecksums(const std::string& path) {
    std::string text, error;
    if (!io::readFile(path, "the checksums", text, error)) throw ToolError{error};
    std::istringstream in(text);
    std::map<std::string, uint32_t> sums;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        std::string name, hex, extra;
        if (!(fields >> name)) continue;
        uint32_t sum = 0;
        if (!(fields >> hex) || (fields >> extra) || hex.size() != 8 ||
            std::from_chars(hex.data(), hex.data() + 8, sum, 16).ptr != hex.data() + 8) {
            throw ToolError{path + " line " + std::to_string(number) +
                            ": expected a frame name and an 8-digit hexadecimal checksum"};
        }
        if (!sums.emplace(name, sum).second)
            throw ToolError{path + " line " + std::to_string(number) + ": frame " + name + " listed twice"};
    }
    return sums;
}

// Every view's PNG and the checksums file appear together, and only when every frame was
// drawn and matched: a tour that fails leaves DIR as it was (and makes no DIR).
void runTour(const RenderOptions& o) {
    OutputFiles out;
    out.input(o.level);
    out.input(o.checkChecksums);
    out.createFolder(o.tour);
    for (const TourView& view : tourViews()) out.check(o.tour + "/" + view.name + ".png");
    if (!o.writeChecksums.empty()) out.check(o.writeChecksums);
    std::map<std::string, uint32_t> expected;
    if (!o.checkChecksums.empty()) expected = readChecksums(o.checkChecksums);
    const auto started = startedGame(o.level);
    std::string written;
    const std::unique_ptr<RenderThreads> threads = makeRenderThreads(o.draw);
    for (const TourView& view : tourViews()) {
        auto g = std::make_unique<GameState>(*started);
        if (!placeViewer(*g, view)) throw ToolError{std::string("tour view ") + view.name + ": the point is not inside its sector"};
        const Frame frame = renderFrom(*g, g->player, *threads);
        addPng(out, o.tour + "/" + view.name + ".png", frame);
        const uint32_t sum = crc32(frame);
        written += std::string(view.name) + " " + crc32Text(sum) + "\n";
        if (o.checkChecksums.empty()) continue;
        const auto it = expected.find(view.name);
        if (it == expected.end()) throw ToolError{o.checkChecksums + ": no checksum for frame " + view.name};
        if (it->second != sum) {
            throw ToolError{o.checkChecksums + ": frame " + view.name + " is " + crc32Text(sum) + ", expected " +
                            crc32Text(it->second)};
        }
        expected.erase(it);
    }
    if (!expected.empty()) throw ToolError{o.checkChecksums + ": frame " + expected.begin()->first + " is not in the tour"};
    if (!o.writeChecksums.empty()) {
        out.add(o.writeChecksums,
                "# CRC-32 of each tour frame's 64,000 bytes; krello-tool render --tour DIR "
                "--write-checksums FILE\n" + written);
    }
    out.commit();
}

void runRender(const RenderOptions& o) {
    if (!o.tour.empty()) {
        if (!o.view.empty() || !o.png.empty() || !o.raw.empty())
            throw ToolError{"render: --tour takes no --view, --png or --raw"};
        runTour(o);
        return;
    }
    if (!o.writeChecksums.empty() || !o.checkChecksums.empty())
        throw ToolError{"render: checksums belong to --tour"};
    OutputFiles out;
    out.input(o.level);
    if (!o.raw.empty()) out.check(o.raw);
    if (!o.png.empty()) out.check(o.png);
    const auto started = startedGame(o.level);
    const Frame frame = renderFrom(*started, viewFromOptions(*started, o.view), *makeRenderThreads(o.draw));
    if (!o.raw.empty()) out.add(o.raw, frame);
    if (!o.png.empty()) addPng(out, o.png, frame);
    out.commit();
    std::printf("frame crc32 %s\n", crc32Text(crc32(frame)).c_str());
}

}  // namespace

void registerRenderCommands(CLI::App& app) {
    auto options = std::make_shared<RenderOptions>();
    CLI::App* render = app.add_subcommand("render", "draw one frame of a level, or the tour of the built-in level");
    render->add_option("--view", options->view, "X Y Z ANGLE SECTOR (default: the level's start, standing)")
        ->type_name("X Y Z ANGLE SECTOR")
        ->expected(5);
    render->add_option("--png", options->png, "write the frame as a PNG through the untinted palette")
        ->type_name("FILE");
    render->add_option("--raw", options->raw, "write the frame's 64,000 palette indices")->type_name("FILE");
    render->add_option("--tour", options->tour, "write every tour view as DIR/NAME.png")->type_name("DIR");
    render->add_option("--write-checksums", options->writeChecksums, "with --tour: write the frames' CRC-32s")
        ->type_name("FILE");
    render->add_option("--check-checksums", options->checkChecksums,
                       "with --tour: fail unless the frames match these CRC-32s")
        ->type_name("FILE");
    addLevelOption(render, options->level);
    addDrawOptions(render, options->draw);
    render->callback([options]() { runRender(*options); });
}

}  // namespace krello::tool
