// krello-tool playtest: the bot plays the level as a new player would, and reports how the games went.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/option_words.h"
#include "io/file_bytes.h"
#include "io/shown_text.h"
#include "krello_tool/commands.h"
#include "krello_tool/level_option.h"
#include "krello_tool/output_files.h"
#include "krello_tool/playtest_map.h"
#include "playtest/level_areas.h"
#include "playtest/level_graph.h"
#include "playtest/playtest_batch.h"
#include "playtest/playtest_report.h"
#include "playtest/skill_profile.h"
#include "render/render_threads.h"
#include "replay/game_run.h"
#include "world/level_image.h"

namespace krello::tool {
namespace {

constexpr int64_t MAX_GAMES = 10000;
constexpr int64_t MAX_MINUTES = 600;
constexpr int64_t MAX_THREADS = 64;

struct PlaytestOptions {
    int games = 40;
    int64_t seed = 1;
    std::string skill = "novice";
    int minutes = 10;
    int threads = defaultRenderThreads();
    std::string level;
    std::string areas;
    std::string record;
    std::string json;
    std::string map;
};

std::string demoPath(const std::string& dir, int game) {
    char name[32];
    std::snprintf(name, sizeof name, "/game_%03d.demo", game);
    return dir + name;
}

// The named areas: from --areas, the built-in level's own, or every sector on its own.
playtest::LevelAreas loadAreas(const PlaytestOptions& o, const GameState& level, std::string& from) {
    playtest::LevelAreas areas;
    std::string error;
    if (!o.areas.empty()) {
        std::string text;
        if (!io::readFile(o.areas, "the areas", text, error) || !playtest::parseLevelAreas(text, o.areas, level, areas, error))
            throw ToolError{error};
        from = "named areas from " + o.areas;
    } else if (o.level.empty()) {
        if (!playtest::parseLevelAreas(playtest::builtinLevelAreas(), "level/krello.areas", level, areas, error))
            throw ToolError{"the built-in level's areas: " + error};
        from = "named areas (level/krello.areas)";
    } else {
        areas = playtest::sectorAreas(level);
        from = "areas, none named: every sector is an area of its own (--areas FILE names them)";
    }
    return areas;
}

void playtestCommand(const PlaytestOptions& o) {
    const int games = o.games;  // the numbers were checked on the command line
    const auto seed = static_cast<uint64_t>(o.seed);
    const int minutes = o.minutes;
    const int threads = o.threads;
    const playtest::SkillProfile* skill = playtest::skillNamed(o.skill);
    if (!skill) throw ToolError{"--skill: expected novice or regular, got '" + io::shownText(o.skill) + "'"};
    // Every game draws on its own thread with one column thread, on the path the program's
    // threads would take.
    std::string pathError;
    const std::unique_ptr<RenderThreads> probe = startRenderThreads(1, pathError);
    if (!probe) throw ToolError{pathError};
    const RenderPath path = probe->renderPath();

    const auto run = std::make_unique<GameRun>();
    loadLevel(*run, o.level);
    const GameLevel& level = run->level();
    auto fresh = std::make_unique<GameState>();
    decodeLevelImage(level.image, *fresh);
    std::string areasFrom;
    const playtest::LevelAreas areas = loadAreas(o, *fresh, areasFrom);

    OutputFiles out;
    out.input(o.level);
    out.input(areasFrom);
    if (!o.json.empty()) out.check(o.json);
    if (!o.map.empty()) out.check(o.map);
    std::vector<std::FILE*> demos;
    if (!o.record.empty()) {
        out.createFolder(o.record);
        for (int i = 1; i <= games; ++i) out.check(demoPath(o.record, i));
        for (int i = 1; i <= games; ++i) demos.push_back(out.open(demoPath(o.record, i)));
    }

    const playtest::LevelGraph graph(*fresh);
    playtest::PlaytestSetup setup;
    setup.level = fresh.get();
    setup.demoLevel = level.demoLevel();
    setup.graph = &graph;
    setup.areas = &areas;
    setup.skill = *skill;
    setup.limitMs = static_cast<uint32_t>(minutes) * 60000u;
    setup.renderPath = path;
    std::vector<playtest::GameRecord> records;
    try {
        records = playtest::playGames(setup, seed, games, threads, demos);
    } catch (const std::runtime_error& e) {
        throw ToolError{o.record + ": " + e.what()};
    }

    const playtest::PlaytestSummary summary = playtest::summarize(records, areas);
    const playtest::PlaytestHeading heading{std::string(skill->name), minutes, seed,
                                            level.name.empty() ? "the built-in level" : level.name, areasFrom};
    if (!o.json.empty()) out.add(o.json, playtest::reportJson(heading, records, summary, areas));
    if (!o.map.empty()) {
        const MapPicture map = drawPlaytestMap(*fresh, records);
        out.addRgbPng(o.map, map.width, map.height, map.rgb.data());
    }
    out.commit();
    const std::string report = playtest::reportText(heading, records, summary, areas);
    std::fwrite(report.data(), 1, report.size(), stdout);
}

}  // namespace

void registerPlaytestCommands(CLI::App& app) {
    auto o = std::make_shared<PlaytestOptions>();
    CLI::App* cmd = app.add_subcommand(
        "playtest", "let a bot play the level as a new player would, and report where games end");
    cmd->add_option("--games", o->games, "games to play (default 40)")
        ->type_name("N")
        ->check(cli::wholeNumber(1, MAX_GAMES));
    cmd->add_option("--seed", o->seed, "seed of the first game; game i plays seed S + i - 1 (default 1)")
        ->type_name("S")
        ->check(cli::wholeNumber(0, UINT32_MAX));
    cmd->add_option("--skill", o->skill, "novice (reacts in 400 ms, aim error's sigma 6 degrees, never dodges) or "
                                         "regular (250 ms, 3 degrees, steps out of a shot's line for a second) "
                                         "(default novice)")
        ->type_name("SKILL");
    cmd->add_option("--minutes", o->minutes, "game time a game may last (default 10)")
        ->type_name("M")
        ->check(cli::wholeNumber(1, MAX_MINUTES));
    cmd->add_option("--threads", o->threads, "games played at once (default: the machine's cores, at most " +
                                                 std::to_string(MAX_RENDER_THREADS) + ")")
        ->type_name("N")
        ->check(cli::wholeNumber(1, MAX_THREADS));
    addLevelOption(cmd, o->level);
    cmd->add_option("--areas", o->areas, "the level's named areas: lines 'area \"NAME\" SECTORS' (default: the "
                                         "built-in level's; for --level, every sector on its own)")
        ->type_name("FILE");
    cmd->add_option("--record", o->record, "record game i as the demo DIR/game_NNN.demo")->type_name("DIR");
    cmd->add_option("--json", o->json, "write every game and the figures as JSON")->type_name("FILE");
    cmd->add_option("--map", o->map, "draw the level with the routes, deaths and kills as PNG")->type_name("FILE.png");
    cmd->callback([o] { playtestCommand(*o); });
}

}  // namespace krello::tool
