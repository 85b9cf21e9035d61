// krello-tool's level commands: dump the built-in image, check a level, its statistics, its
// walls, its map.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "krello_tool/commands.h"
#include "krello_tool/level_map.h"
#include "io/file_bytes.h"
#include "krello_tool/output_files.h"
#include "krello_tool/wall_shimmer.h"
#include "level/builtin_level.h"
#include "level/level_file.h"
#include "level/level_stats.h"
#include "level/wall_facts.h"

namespace krello::tool {
namespace {

// A check that finds faults ends with this status; a file that is no level at all with 2.
constexpr int kViolationStatus = 1;

void dumpLevel(const std::string& path) { writeOutputFile(path, builtinLevelImage()); }

// The level in `path`, or the built-in one when the path is empty. Unreadable or malformed
// files end the command with their messages and status 2.
std::unique_ptr<GameState> loadLevel(const std::string& path, LevelFile& file) {
    auto g = std::make_unique<GameState>();
    if (path.empty()) {
        loadBuiltinLevel(*g);
        return g;
    }
    if (readLevelFile(path, LevelSize::Playable, *g, file)) return g;
    for (size_t i = 0; i + 1 < file.errors.size(); ++i) std::fprintf(stderr, "krello-tool: %s\n", file.errors[i].c_str());
    throw ToolError{file.errors.empty() ? path + ": not a level" : file.errors.back()};
}

void checkLevel(const std::string& path) {
    LevelFile file;
    const auto g = loadLevel(path, file);
    const auto violations = validateLevelFile(*g, path, file, LevelSize::Playable);
    for (const std::string& v : listedFaults(violations)) std::printf("%s\n", v.c_str());
    if (!violations.empty()) {
        std::fflush(stdout);
        throw ToolStatus{kViolationStatus};
    }
    std::printf("ok\n");
}

// The golden list in `path`, or the shipped level's when the path is empty.
std::string goldenList(const std::string& path) {
    if (path.empty()) return std::string(builtinLevelFigures());
    std::string text, error;
    if (!io::readFile(path, "the golden list", text, error)) throw ToolError{error};
    return text;
}

// One figure a line for programs: name, this level, golden line, and whether the figure meets it.
void printStatsTable(const std::vector<LevelFigure>& figures) {
    for (const LevelFigure& f : figures) {
        const size_t indent = f.name.find_first_not_of(' ');
        std::printf("%s\t%s\t%s\t%s\n", f.name.c_str() + (indent == std::string::npos ? 0 : indent),
                    f.actual.c_str(), f.shipped.c_str(), f.differs() ? "differs" : "meets");
    }
}

// The share of drawn wall pixels that span at most one texel, its bound, and the sectors whose
// walls shimmer most, so a designer sees where to lower a repeat. The bound is a goal, not a
// line of the golden list: below it the table says "below", not "differs", so programs that
// stop on a figure that differs (the generator) do not stop on it.
void printShimmer(const GameState& g, bool table) {
    const WallShimmer s = measureWallShimmer(g);
    // A level where no view finds a wall (no sector with a point inside) has no figure; it
    // must not read as a level that meets the goal.
    const bool measured = s.total.drawn > 0;
    const double share = s.steadyShare();
    const bool meets = measured && share >= kSteadyShareWanted;
    char figure[32] = "(not measured)";
    if (measured) std::snprintf(figure, sizeof figure, "%.2f%%", share);
    const char* name = "wall pixels within one texel";
    if (table) {
        std::printf("%s\t%s\t>= %.0f%%\t%s\n", name, figure, kSteadyShareWanted, meets ? "meets" : "below");
        return;
    }
    std::printf("%c %-36s %-22s at least %.0f%% (%d views)\n", meets ? ' ' : '*', name, figure, kSteadyShareWanted,
                s.views);
    std::vector<ShimmerCount> bySector(SECTOR_COUNT);
    const auto facts = wallFacts(g);
    for (size_t w = 0; w < s.byWall.size() && w < facts.size(); ++w) {
        if (!isSector(facts[w].sector)) continue;
        ShimmerCount& to = bySector[static_cast<size_t>(facts[w].sector)];
        to.shimmering += s.byWall[w].shimmering, to.across += s.byWall[w].across, to.down += s.byWall[w].down;
    }
    std::vector<int> worst;
    for (int i = 0; i < SECTOR_COUNT; ++i)
        if (bySector[static_cast<size_t>(i)].shimmering > 0) worst.push_back(i);
    std::stable_sort(worst.begin(), worst.end(), [&](int a, int b) {
        return bySector[static_cast<size_t>(a)].shimmering > bySector[static_cast<size_t>(b)].shimmering;
    });
    for (size_t i = 0; i < worst.size() && i < 8; ++i) {
        const ShimmerCount& c = bySector[static_cast<size_t>(worst[i])];
        std::printf("    sector %3d's walls: %5.2f%% of wall pixels shimmer (across %lld, down %lld pixels)\n", worst[i],
                    100.0 * static_cast<double>(c.shimmering) / static_cast<double>(s.total.drawn),
                    static_cast<long long>(c.across), static_cast<long long>(c.down));
    }
}

void printStats(const std::string& path, const std::string& golden, bool table) {
    LevelFile file;
    const auto g = loadLevel(path, file);
    const auto figures = levelFigures(*g, goldenList(golden));
    if (table) {
        printStatsTable(figures);
        return printShimmer(*g, true);
    }
    int differing = 0;
    std::printf("  %-36s %-22s %s\n", "figure", "this level", "shipped level");
    for (const LevelFigure& f : figures) {
        differing += f.differs();
        std::printf("%c %-36s %-22s %s\n", f.differs() ? '*' : ' ', f.name.c_str(),
                    f.actual.c_str(), f.shipped.c_str());
    }
    std::printf("%d of %zu figures differ (marked *)\n", differing, figures.size());
    printShimmer(*g, false);
}

// One wall a line under a header, tab-separated, for programs that design levels; a source's
// walls are the ones it defines, an image's all of the table. Numbers print exactly.
void printWalls(const std::string& path) {
    LevelFile file;
    const auto g = loadLevel(path, file);
    const auto facts = wallFacts(*g);
    const size_t count = file.isSource ? static_cast<size_t>(file.map.wallCount) : facts.size();
    std::printf("wall\tsector\tnextSector\totherWall\tdrawn\topening\tlength\tsquareRepeatU\ttexelRatio\n");
    for (size_t w = 0; w < count && w < facts.size(); ++w) {
        const WallFacts& f = facts[w];
        const Wall& wall = g->walls[w];
        const std::string opening = f.opening ? std::to_string(*f.opening) : "none";
        std::printf("%zu\t%d\t%d\t%d\t%d\t%s\t", w, f.sector, wall.nextSector, wall.otherWall, f.drawn ? 1 : 0,
                    opening.c_str());
        if (f.length) std::printf("%.17g\t%.17g\t%.17g\n", *f.length, f.squareRepeatU, f.texelRatio);
        else std::printf("none\tnone\tnone\n");
    }
}

void writeMap(const std::string& png, const std::string& path) {
    LevelFile file;
    const auto g = loadLevel(path, file);
    const MapPicture map = drawLevelMap(*g);
    writeRgbPng(png, map.width, map.height, map.rgb.data(), path);
}

}  // namespace

void registerLevelCommands(CLI::App& app) {
    CLI::App* level = app.add_subcommand("level", "the level: dump, check, statistics, map");
    level->require_subcommand(1);

    auto* dump = level->add_subcommand("dump", "write the built-in 49,180-byte level image");
    auto dumpPath = std::make_shared<std::string>();
    dump->add_option("FILE", *dumpPath, "where to write the image")->type_name("")->required();
    dump->callback([dumpPath] { dumpLevel(*dumpPath); });

    auto* check = level->add_subcommand(
        "check", "check a level source or image: prints each fault and exits 1, or prints ok; "
                 "a file that is no level exits 2");
    auto checkPath = std::make_shared<std::string>();
    check->add_option("FILE", *checkPath, "a level source or a 49,180-byte image")->type_name("")->required();
    check->callback([checkPath] { checkLevel(*checkPath); });

    auto* stats = level->add_subcommand("stats", "the level's statistics beside the shipped level's golden list (level/krello.stats)");
    auto statsPath = std::make_shared<std::string>();
    auto statsGolden = std::make_shared<std::string>();
    auto statsTable = std::make_shared<bool>(false);
    stats->add_option("FILE", *statsPath, "a level source or image (default: the built-in level)")->type_name("");
    stats->add_option("--golden", *statsGolden, "compare with this golden list instead of the shipped level's")
        ->type_name("FILE");
    stats->add_flag("--tsv", *statsTable, "one figure a line: name, this level, golden line, meets or differs, "
                                          "separated by tabs");
    stats->callback([statsPath, statsGolden, statsTable] { printStats(*statsPath, *statsGolden, *statsTable); });

    auto* walls = level->add_subcommand(
        "walls", "what each wall shows, one a line under a header, separated by tabs: its sector, the "
                 "sector and wall behind it, whether it is drawn, a portal's opening, its length, the "
                 "repeatU that makes its texels square, and their width over height");
    auto wallsPath = std::make_shared<std::string>();
    walls->add_option("FILE", *wallsPath, "a level source or image (default: the built-in level)")->type_name("");
    walls->callback([wallsPath] { printWalls(*wallsPath); });

    auto* map = level->add_subcommand("map", "draw a top-down map of the level as a PNG");
    auto mapPng = std::make_shared<std::string>();
    auto mapLevel = std::make_shared<std::string>();
    map->add_option("FILE.png", *mapPng, "the picture to write")->type_name("")->required();
    map->add_option("--level", *mapLevel, "a level source or image (default: the built-in level)")->type_name("FILE");
    map->callback([mapPng, mapLevel] { writeMap(*mapPng, *mapLevel); });
}

}  // namespace krello::tool
