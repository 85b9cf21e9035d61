// krello-tool playtest: its games replay from their demos, do not depend on the thread count, its
// figures come from its games, and bad options get one line and status 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "playtest/playtest_report.h"
#include "program_run.h"

namespace {

using namespace krello::test;
namespace fs = std::filesystem;

// Every number (or true, false) that follows `"key": ` in the text, in order.
std::vector<double> numbersAfter(const std::string& text, const std::string& key) {
    std::vector<double> found;
    const std::string mark = "\"" + key + "\": ";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        const std::string rest = text.substr(at + mark.size(), 24);
        if (rest.rfind("true", 0) == 0 || rest.rfind("false", 0) == 0) {
            found.push_back(rest[0] == 't' ? 1.0 : 0.0);
        } else if (!rest.empty() && (rest[0] == '-' || (rest[0] >= '0' && rest[0] <= '9'))) {
            found.push_back(std::stod(rest));
        }
    }
    return found;
}

// The text from `"key": {` to the brace that closes it.
std::string objectAt(const std::string& text, const std::string& key) {
    const size_t at = text.find("\"" + key + "\": {");
    if (at == std::string::npos) return {};
    return text.substr(at, text.find('}', at) - at + 1);
}

std::string summaryOf(const std::string& json) { return json.substr(json.find("\"summary\"")); }
std::string gamesOf(const std::string& json) {
    return json.substr(json.find("\"games\": ["), json.find("\"summary\"") - json.find("\"games\": ["));
}

fs::path scratch(const std::string& name) {
    const fs::path dir = tempPath(name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Short games, recorded: each demo replays to the score and game-over its game reported. On the
// example level the bot scores; on the built-in level some games outlive their minute.
TEST(PlaytestTool, EveryGameReplaysFromItsDemoToTheSameScoreAndEnd) {
    const std::string example = std::string(KRELLO_SOURCE_DIR) + "/level/examples/four_rooms.level";
    double scored = 0, over = 0, lived = 0;
    for (const std::string& level : {example, std::string()}) {
        const fs::path dir = scratch("demos");
        const std::string json = (dir / "games.json").string();
        const std::string levelArgs = level.empty() ? "" : " --level " + level;
        const ProgramRun played = runTool("playtest --games 3 --minutes 1 --seed 11 --skill regular --threads 2" +
                                          levelArgs + " --record " + (dir / "demos").string() + " --json " + json);
        ASSERT_EQ(played.status, 0) << played.err;
        const std::string games = gamesOf(readText(json));
        const std::vector<double> scores = numbersAfter(games, "score");
        const std::vector<double> ends = numbersAfter(games, "game_over");
        ASSERT_EQ(scores.size(), 3u);
        ASSERT_EQ(ends.size(), 3u);
        EXPECT_EQ(numbersAfter(games, "seed"), (std::vector<double>{11, 12, 13}));
        for (size_t i = 0; i < 3; ++i) {
            const std::string demo = (dir / "demos" / ("game_00" + std::to_string(i + 1) + ".demo")).string();
            const ProgramRun replay = runTool("run --demo " + demo + levelArgs);
            ASSERT_EQ(replay.status, 0) << replay.err;
            // The state's "game" line: frameDt lastTime turnSpeed moveSpeed fallSpeed onGround
            // fireCooldown score gameOver ...
            std::istringstream line(replay.out.substr(replay.out.find("\ngame ") + 6));
            long v[9];
            for (long& x : v) line >> x;
            EXPECT_EQ(v[7], scores[i]) << demo;
            EXPECT_EQ(v[8], ends[i]) << demo;
            scored += scores[i] > 0;
            over += ends[i];
            lived += ends[i] == 0;
        }
        fs::remove_all(dir);
    }
    EXPECT_GT(scored, 0);  // the games compared differ in what they show
    EXPECT_GT(over, 0);
    EXPECT_GT(lived, 0);
}

// The same games whatever the number of threads, and each game the same played alone.
TEST(PlaytestTool, GamesDependOnTheirSeedAloneNotOnTheThreads) {
    const fs::path dir = scratch("threads");
    std::vector<std::string> texts;
    for (const char* args : {"--games 3 --seed 4 --threads 1", "--games 3 --seed 4 --threads 3",
                                    "--games 1 --seed 6 --threads 2"}) {
        const std::string json = (dir / (std::to_string(texts.size()) + ".json")).string();
        const ProgramRun r = runTool("playtest --minutes 1 " + std::string(args) + " --json " + json);
        ASSERT_EQ(r.status, 0) << r.err;
        texts.push_back(readText(json));
    }
    EXPECT_EQ(texts[0], texts[1]);
    const std::string third = gamesOf(texts[0]).substr(gamesOf(texts[0]).find("{\"game\": 3,"));
    const std::string alone = gamesOf(texts[2]).substr(gamesOf(texts[2]).find("{\"game\": 1,"));
    EXPECT_EQ(third.substr(third.find("\"seed\"")), alone.substr(alone.find("\"seed\"")));
    fs::remove_all(dir);
}

// The figures are the games' own: the quartiles recomputed from each game's numbers, the counts
// of games over and games that scored, and the report's table says the same as the JSON.
TEST(PlaytestTool, TheFiguresComeFromTheGamesPlayed) {
    const fs::path dir = scratch("figures");
    const std::string json = (dir / "games.json").string();
    const ProgramRun r = runTool("playtest --games 5 --minutes 1 --seed 21 --json " + json + " --map " +
                                 (dir / "map.png").string());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = readText(json);
    const std::string games = gamesOf(text), summary = summaryOf(text);
    for (const char* key : {"survival_seconds", "score", "areas_reached", "sectors_reached"}) {
        const std::vector<double> values = numbersAfter(games, key);
        ASSERT_EQ(values.size(), 5u) << key;
        const krello::playtest::Spread want = krello::playtest::spreadOf(values);
        const std::string spread = objectAt(summary, key);
        ASSERT_EQ(numbersAfter(spread, "q1").size(), 1u) << key;
        EXPECT_NEAR(numbersAfter(spread, "q1")[0], want.q1, 0.0005) << key;
        EXPECT_NEAR(numbersAfter(spread, "median")[0], want.median, 0.0005) << key;
        EXPECT_NEAR(numbersAfter(spread, "q3")[0], want.q3, 0.0005) << key;
        // The median by hand, from the five games: the third smallest.
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_NEAR(numbersAfter(spread, "median")[0], sorted[2], 0.0005) << key;
    }
    const std::vector<double> over = numbersAfter(games, "game_over"), scores = numbersAfter(games, "score");
    EXPECT_EQ(numbersAfter(summary, "games_over"), std::vector<double>{static_cast<double>(std::count(over.begin(), over.end(), 1.0))});
    EXPECT_EQ(numbersAfter(summary, "games_scored"),
              std::vector<double>{static_cast<double>(std::count_if(scores.begin(), scores.end(), [](double s) { return s > 0; }))});
    // The summary's shots are the games' own, added up.
    for (const char* key : {"fired", "hits", "ended_wall", "target_out_of_height"}) {
        const std::vector<double> each = numbersAfter(games, key);
        ASSERT_EQ(each.size(), 5u) << key;
        EXPECT_EQ(numbersAfter(summary, key), std::vector<double>{std::accumulate(each.begin(), each.end(), 0.0)}) << key;
    }
    // A game's named areas are listed, as many as it reached.
    const std::vector<double> reached = numbersAfter(games, "areas_reached");
    size_t k = 0;
    for (size_t at = games.find("\"areas\": ["); at != std::string::npos; at = games.find("\"areas\": [", at + 1), ++k) {
        const std::string names = games.substr(at + 10, games.find(']', at) - at - 10);
        ASSERT_LT(k, reached.size());
        EXPECT_EQ(static_cast<double>(std::count(names.begin(), names.end(), '"') / 2), reached[k]);
    }
    EXPECT_EQ(k, 5u);
    // The report prints the same median survival, to a tenth of a second.
    const size_t row = r.out.find("survival (s)");
    ASSERT_NE(row, std::string::npos);
    std::istringstream line(r.out.substr(row + 12));
    double q1 = 0, median = 0;
    line >> q1 >> median;
    EXPECT_NEAR(median, numbersAfter(objectAt(summary, "survival_seconds"), "median")[0], 0.051);
    EXPECT_GT(fs::file_size(dir / "map.png"), 1000u);
    // The JSON is JSON.
    const ProgramRun parsed = runProgram("python3", "-c \"import json,sys; json.load(open(sys.argv[1]))\" " + json);
    EXPECT_EQ(parsed.status, 0) << parsed.err;
    fs::remove_all(dir);
}

TEST(PlaytestTool, BadOptionsGetOneLineAndStatusTwo) {
    const fs::path dir = scratch("bad");
    writeText((dir / "bad.areas").string(), "area \"x\" 500\n");
    writeText((dir / "x.json").string(), "untouched");
    const struct {
        std::string args;
        std::string message;
    } cases[] = {
        {"--games 0", "--games: expected a whole number from 1 to 10000, got '0'"},
        {"--games many", "--games: expected a whole number from 1 to 10000, got 'many'"},
        {"--seed -1", "--seed: expected a whole number from 0 to 4294967295, got '-1'"},
        {"--minutes 0", "--minutes: expected a whole number from 1 to 600, got '0'"},
        {"--minutes 1.5", "--minutes: expected a whole number from 1 to 600, got '1.5'"},
        {"--threads 65", "--threads: expected a whole number from 1 to 64, got '65'"},
        {"--skill expert", "--skill: expected novice or regular, got 'expert'"},
        {"--areas " + (dir / "bad.areas").string(), (dir / "bad.areas").string() + ":1: sector 500 is not a sector of the level"},
        {"--areas " + (dir / "none.areas").string(), (dir / "none.areas").string() + ": cannot open the areas"},
        {"--level " + (dir / "none.level").string(), "none.level"},
        {"--json " + dir.string(), dir.string()},
        {"--games 1 --minutes 1 --json " + (dir / "x.json").string() + " --map " + (dir / "no" / "map.png").string(),
         (dir / "no" / "map.png").string()},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runTool("playtest " + c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }
    EXPECT_EQ(readText((dir / "x.json").string()), "untouched");  // a failed command writes nothing
    fs::remove_all(dir);
}

}  // namespace
