// The level tools from the outside: krello-levelc's verdicts and krello-tool's level commands.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using namespace krello::test;

// What a program printed: stdout, then stderr.
struct Outcome {
    int status = -1;
    std::string output;
};

Outcome run(const std::string& program, const std::string& args) {
    const ProgramRun r = runProgram(program, args);
    return {r.status, r.out + r.err};
}

class LevelTools : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("krello_level_tools_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    Outcome tool(const std::string& args) { return run(KRELLO_TOOL, args); }
    Outcome levelc(const std::string& args) { return run(KRELLO_LEVELC, args); }

    static std::string shippedSource() { return readText(std::string(KRELLO_SOURCE_DIR) + "/level/krello.level"); }

    // The line of the shipped source that holds `text`, as ":N:" the way messages name it.
    static std::string lineOf(const std::string& text) {
        const std::string s = shippedSource();
        const size_t at = s.find(text);
        EXPECT_NE(at, std::string::npos) << text;
        const long line = 1 + std::count(s.begin(), s.begin() + static_cast<long>(std::min(at, s.size())), '\n');
        // Appended piece by piece: g++ 12 at -O3 warns falsely about ":" + string (-Wrestrict).
        std::string place(1, ':');
        place += std::to_string(line);
        place += ':';
        return place;
    }

    // The shipped source with one line replaced.
    fs::path editedSource(const std::string& from, const std::string& to) {
        std::string s = shippedSource();
        const size_t at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos) s.replace(at, from.size(), to);
        const fs::path path = dir / "edited.level";
        std::ofstream(path) << s;
        return path;
    }

    fs::path dir;
};

TEST_F(LevelTools, TheBuiltInLevelDumpsAndChecksClean) {
    const fs::path image = dir / "level.img";
    EXPECT_EQ(tool("level dump " + image.string()).status, 0);
    EXPECT_EQ(fs::file_size(image), 49180u);
    const Outcome check = tool("level check " + image.string());
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.output, "ok\n");
    const Outcome source = tool("level check " + std::string(KRELLO_SOURCE_DIR) + "/level/krello.level");
    EXPECT_EQ(source.status, 0) << source.output;
}

TEST_F(LevelTools, FaultsAreListedWithStatus1AndUnreadableFilesGet2) {
    const fs::path bad = editedSource("  ceiling -466944 floor -453632", "  ceiling -453632 floor -453632");
    const Outcome check = tool("level check " + bad.string());
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.output.find(bad.string() + lineOf("sector 151\n  ceiling -466944") +
                                " sector 151: ceilingZ -453632 is not above floorZ"),
              std::string::npos) << check.output;

    const fs::path shortImage = dir / "short.img";
    std::ofstream(shortImage, std::ios::binary) << std::string("\x01\x00\x02", 3);
    const Outcome wrongSize = tool("level check " + shortImage.string());
    EXPECT_EQ(wrongSize.status, 2);
    EXPECT_NE(wrongSize.output.find(shortImage.string() + ": neither a level source"),
              std::string::npos) << wrongSize.output;
    EXPECT_EQ(tool("level check " + (dir / "missing.level").string()).status, 2);
}

TEST_F(LevelTools, TheCompilerRefusesABrokenSourceAndWritesNothing) {
    const fs::path bad = editedSource("  ceiling -466944 floor -453632", "  ceiling -466944 floor x");
    const fs::path out = dir / "level.cpp";
    const Outcome r = levelc(bad.string() + " -o " + out.string());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find(lineOf("  ceiling -466944 floor -453632") + " floor: 'x' is not a number"),
              std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(out));

    const fs::path good = editedSource("# Krello", "# Krello");
    const fs::path image = dir / "level.img";
    EXPECT_EQ(levelc(good.string() + " -o " + out.string() + " --image " + image.string()).status, 0);
    EXPECT_EQ(fs::file_size(image), 49180u);
    EXPECT_TRUE(fs::exists(out));
    EXPECT_EQ(levelc("").status, 2);
}

TEST_F(LevelTools, StatsMarkFiguresThatDifferFromTheShippedLevel) {
    const Outcome same = tool("level stats");
    EXPECT_EQ(same.status, 0);
    EXPECT_NE(same.output.find("  portal walls"), std::string::npos) << same.output;
    const fs::path changed = editedSource("  ceiling -466944 floor -453632", "  ceiling -467968 floor -453632");
    const Outcome other = tool("level stats " + changed.string());
    EXPECT_EQ(other.status, 0);
    EXPECT_NE(other.output.find("* ceilingZ                             -467968..-4096"), std::string::npos)
        << other.output;
}

// The lines the level generator reads: a source's walls one a line, figures against any golden list.
TEST_F(LevelTools, WallsAndFiguresPrintForPrograms) {
    const Outcome walls = tool("level walls " + std::string(KRELLO_SOURCE_DIR) + "/level/examples/four_rooms.level");
    EXPECT_EQ(walls.status, 0);
    EXPECT_EQ(std::count(walls.output.begin(), walls.output.end(), '\n'), 1 + 26) << "a header and the source's walls";
    // The hall's door: from the hall the passage's lower ceiling shows a lintel, from the
    // passage nothing of the hall is drawn; both share the same 12288 of opening.
    for (const char* line : {"\n0\t0\t-1\t-1\t1\tnone\t4096\t", "\n2\t0\t1\t9\t1\t12288\t2048\t",
                             "\n9\t1\t0\t2\t0\t12288\t2048\t"})
        EXPECT_NE(walls.output.find(line), std::string::npos) << line << walls.output;

    const fs::path golden = dir / "short.stats";
    std::ofstream(golden) << "# a short list\nsectors: 191\nrooms: 12\n";
    const Outcome stats = tool("level stats --tsv --golden " + golden.string());
    EXPECT_EQ(stats.status, 0);
    for (const char* line : {"sectors\t191\t191\tmeets\n", "\nloops\t212\t(not in the golden list)\tdiffers\n",
                             "\nof them slots 14 or 15\t92\t", "\nrooms\t(not measured)\t12\tdiffers\n"})
        EXPECT_NE(stats.output.find(line), std::string::npos) << line << stats.output;
    const Outcome missing = tool("level stats --golden " + (dir / "missing.stats").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(std::count(missing.output.begin(), missing.output.end(), '\n'), 1) << missing.output;
}

// The shimmer figure follows the walls' scales, across and down each on its own: a coarse
// repeat spans several texels a pixel from a few rooms away, the finest spans fewer; none meets
// the bound, and a level with nothing to measure does not either.
// Every "KEY N" (N a whole number, maybe negative) in `text` replaced by `by`. Plain string
// work: g++ 12 flags libstdc++'s regex as maybe-uninitialized in the sanitizer build.
std::string replaceKeyed(std::string text, const std::string& key, const std::string& by) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + by.size())) {
        size_t end = at + key.size();
        if (end < text.size() && text[end] == '-') ++end;
        const size_t digits = end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == digits) {
            at += 1;
            continue;
        }
        text.replace(at, end - at, by);
    }
    return text;
}

TEST_F(LevelTools, WallShimmerFollowsTheRepeats) {
    auto steadyShare = [&](const char* repeats) {
        std::string s = replaceKeyed(shippedSource(), " repeatU ", "");
        s = replaceKeyed(s, "repeatV ", repeats);
        const fs::path path = dir / "scaled.level";
        std::ofstream(path) << s;
        const Outcome stats = tool("level stats --tsv " + path.string());
        EXPECT_EQ(stats.status, 0) << stats.output;
        const std::string name = "\nwall pixels within one texel\t";
        const size_t at = stats.output.find(name);
        EXPECT_NE(at, std::string::npos) << stats.output;
        EXPECT_NE(stats.output.find("%\t>= 98%\tbelow\n", at), std::string::npos) << stats.output;
        return at == std::string::npos ? -1.0 : std::stod(stats.output.substr(at + name.size()));
    };
    const struct {
        const char* repeats;
        double low, high;  // percent
    } cases[] = {
        {"repeatU 1 repeatV 1", 80, 98},    // the finest: only walls past 8,192 shimmer
        {"repeatU 1 repeatV 48", 0, 20},    // rows skip beyond 170
        {"repeatU 127 repeatV 1", 0, 20},   // columns skip
        {"repeatU 1 repeatV 8", 20, 80},    // as most walls are
    };
    for (const auto& c : cases) {
        const double share = steadyShare(c.repeats);
        EXPECT_GE(share, c.low) << c.repeats;
        EXPECT_LE(share, c.high) << c.repeats;
    }
    // A level where no view finds a wall has no figure, and does not meet the goal.
    const fs::path empty = dir / "empty.img";
    std::ofstream(empty, std::ios::binary) << std::string(49180, '\0');
    const Outcome none = tool("level stats --tsv " + empty.string());
    EXPECT_NE(none.output.find("\nwall pixels within one texel\t(not measured)\t>= 98%\tbelow\n"), std::string::npos)
        << none.output;
}

TEST_F(LevelTools, TheMapIsAPngPicture) {
    const fs::path png = dir / "map.png";
    EXPECT_EQ(tool("level map " + png.string()).status, 0);
    std::ifstream in(png, std::ios::binary);
    char magic[8] = {};
    in.read(magic, 8);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    EXPECT_GT(fs::file_size(png), 10000u);
}

}  // namespace
