// The programs under bad paths, failed commands, oversized inputs and odd files: one line, status
// 2, and every file on disk as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "level/builtin_level.h"
#include "program_run.h"
#include "replay/crc32.h"
#include "world/level_image.h"

namespace {

namespace fs = std::filesystem;
using namespace krello::test;

const std::string SOURCE_DIR = KRELLO_SOURCE_DIR;
const std::string TOUR_INPUT = SOURCE_DIR + "/tests/data/tour.input";
const std::string LEVEL = SOURCE_DIR + "/level/krello.level";

long lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

std::string bytesOf(const std::vector<uint8_t>& v) { return {v.begin(), v.end()}; }

// Every path below `dir` with its type and content: two equal listings mean nothing was
// created, removed or changed.
std::map<std::string, std::string> listing(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = fs::relative(e.path(), dir).string();
        if (e.is_symlink() || !e.is_regular_file()) out[name] = "type " + std::to_string(static_cast<int>(e.symlink_status().type()));
        else out[name] = readText(e.path().string());
    }
    return out;
}

// A demo of the tour's first 200 updates, recorded by the tool, with update `edited`'s held
// keys changed and the file checksum made right again: it parses, and goes out of step.
std::string editedDemo(const std::string& recorded, int edited) {
    std::string d = readText(recorded);
    // Each block record and the end record hold the CRC-32 of every byte before them.
    const auto sealAt = [&d](size_t record, size_t field) {
        const uint32_t crc = krello::crc32({reinterpret_cast<const uint8_t*>(d.data()), record});
        for (int b = 0; b < 4; ++b) d[field + static_cast<size_t>(b)] = static_cast<char>(crc >> (8 * b));
    };
    size_t i = 16;
    for (int update = 0; d[i] != 'E';) {
        if (d[i] == 'L') i += 2 + static_cast<uint8_t>(d[i + 1]);
        else if (d[i] == 'S') i += 5;
        else if (d[i] == 'C') i += 9;
        else if (d[i] == 'B') sealAt(i, i + 1), i += 5;
        else {
            size_t keys = i + 1;
            while (static_cast<uint8_t>(d[keys]) & 0x80) ++keys;
            ++keys;  // past the varint: asked, then held
            if (++update == edited) d[keys + 1] = static_cast<char>(d[keys + 1] ^ (d[keys] & 0x04));
            i = keys + 2;
        }
    }
    sealAt(i, i + 5);
    return d;
}

using Reliability = FolderTest;

// Each reading command, given a folder, a missing path, an empty file or a pipe, says so in one
// line naming the path, exits 2, and writes nothing.
TEST_F(Reliability, EveryReadingCommandRefusesABadPathInOneLine) {
    fs::create_directories(at("folder"));
    writeText(at("empty"), "");
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0644), 0);
    const std::string out = at("out");
    fs::create_directories(out);
    const std::vector<std::string> commands = {
        "level check P", "level stats P", "level map " + out + "/m.png --level P", "run --demo P",
        "timedemo --demo P", "run --input P", "timedemo --input P",
        "render --tour " + out + "/tour --check-checksums P",
    };
    for (const std::string name : {"folder", "missing", "empty", "pipe"}) {
        const std::string path = at(name);
        std::vector<ProgramRun> runs;
        for (std::string c : commands) runs.push_back(runTool(c.replace(c.find('P', c.size() - 1), 1, path)));
        runs.push_back(runProgram(KRELLO_LEVELC, path + " -o " + out + "/level.cpp"));
        for (const ProgramRun& r : runs) {
            EXPECT_EQ(r.status, 2) << r.err;
            EXPECT_EQ(lines(r.err), 1) << r.err;
            EXPECT_NE(r.err.find(path + ": "), std::string::npos) << r.err;
        }
        EXPECT_TRUE(fs::is_empty(out)) << name;
    }
}

// Files that exist before a command that fails are left byte for byte, and no file appears:
// outputs are staged and put in place only when the whole command has succeeded.
TEST_F(Reliability, AFailedCommandLeavesEveryFileAsItWas) {
    const std::string scratch = tempPath("scratch");
    fs::create_directories(scratch);
    const ProgramRun recorded = runTool("run --input " + TOUR_INPUT + " --frames 200 --record-demo " + scratch + "/ok.demo");
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    writeText(scratch + "/edited.demo", editedDemo(scratch + "/ok.demo", 10));
    writeText(scratch + "/wrong.crc", "start 00000000\n");
    fs::create_directories(at("frames"));
    fs::create_directories(at("tour"));
    for (const char* name : {"x.demo", "s.txt", "r.raw", "level.cpp", "level.img", "tour/start.png"})
        writeText(at(name), std::string("the user's ") + name + "\n");
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0644), 0);
    // As root, the device a PNG aimed at /dev/full once removed, recreated where it is harmless.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(at("full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    }
    const std::string demo = at("x.demo"), states = at("s.txt"), raw = at("r.raw");
    const struct {
        const char* program;
        std::string args;
    } cases[] = {
        {KRELLO_TOOL, "run --input " + TOUR_INPUT + " --record-demo " + demo + " --frames 99999"},
        {KRELLO_TOOL, "run --input " + TOUR_INPUT + " --record-demo " + demo + " --dump-state " + states +
                          " --png-every 100 /nonexistent"},
        {KRELLO_TOOL, "run --demo " + scratch + "/edited.demo --dump-state " + states + " --state-every 10 --png-every 10 " +
                          at("frames") + " --wav " + at("x.wav")},
        {KRELLO_TOOL, "render --raw " + raw + " --png /nonexistent/x.png"},
        {KRELLO_TOOL, "render --raw " + raw + " --png " + at("pipe")},
        {KRELLO_TOOL, "render --raw " + raw + (root ? " --png " + at("full") : " --png " + at("frames"))},
        {KRELLO_TOOL, "render --tour " + at("tour") + " --check-checksums " + scratch + "/wrong.crc --write-checksums " + states},
        {KRELLO_TOOL, "render --tour " + at("new_tour") + " --check-checksums " + scratch + "/wrong.crc"},
        {KRELLO_TOOL, "tour-script --updates 200 --out " + states + " --expected " + at("missing/e.txt")},
        {KRELLO_LEVELC, LEVEL + " -o " + at("level.cpp") + " --image /nonexistent/level.img"},
        {KRELLO_LEVELC, LEVEL + " -o " + at("level.cpp") + " --image " + at("level.cpp")},
        {KRELLO_LEVELC, scratch + "/wrong.crc -o " + at("level.cpp") + " --image " + at("level.img")},
    };
    const auto before = listing(dir);
    for (const auto& c : cases) {
        const ProgramRun r = runProgram(c.program, c.args);
        EXPECT_EQ(r.status, 2) << c.args << "\n" << r.err;
        EXPECT_EQ(lines(r.err), 1) << r.err;
        EXPECT_EQ(listing(dir), before) << c.args;
    }
    fs::remove_all(scratch);
}

// Inputs past the documented bounds are refused in one line; damaged tables are drawn safely.
TEST_F(Reliability, OversizedAndDamagedInputsAreBounded) {
    // 200,000 unknown points in one loop: the compiler stops listing at 100, as the parser does.
    std::string source = readText(LEVEL);
    const size_t loop = source.find("  loop ");
    std::string names = "  loop";
    for (int i = 0; i < 200000; ++i) names += " q" + std::to_string(i);
    source.replace(loop, source.find('\n', loop) - loop, names);
    writeText(at("unknown.level"), source);
    const ProgramRun many = runProgram(KRELLO_LEVELC, at("unknown.level") + " -o " + at("u.cpp"));
    EXPECT_EQ(many.status, 2);
    EXPECT_EQ(lines(many.err), 101);
    EXPECT_NE(many.err.find(": too many errors, giving up\n"), std::string::npos);

    // The built-in level with its player and an object at the far ends of the 32-bit range: the
    // map still draws (a sanitizer build catches any overflow on the way).
    std::array<uint8_t, krello::LEVEL_IMAGE_BYTES> image{};
    std::copy_n(krello::builtinLevelImage().begin(), image.size(), image.begin());
    for (size_t b = 0; b < 8; ++b) image[b] = (b % 4 == 3) ? 0x80 : 0x00;  // player x, y = INT32_MIN
    const size_t object = krello::IMAGE_OBJECTS_OFFSET;
    for (size_t b = 0; b < 8; ++b) image[object + b] = (b % 4 == 3) ? 0x7F : 0xFF;  // x, y = INT32_MAX
    writeText(at("far.img"), std::string(image.begin(), image.end()));
    const ProgramRun map = runTool("level map " + at("far.png") + " --level " + at("far.img"));
    EXPECT_EQ(map.status, 0) << map.err;
    EXPECT_GT(fs::file_size(at("far.png")), 1000u);

    // Levels too wide for the renderer and the game's distances, and counts past their maxima.
    std::string wide = readText(LEVEL);
    const std::string east = "point eastyard_se ";
    const size_t p = wide.find(east);
    ASSERT_NE(p, std::string::npos);
    wide.replace(p + east.size(), wide.find(' ', p + east.size()) - p - east.size(), "140000");
    writeText(at("wide.level"), wide);
    // Echoes and lists with bounds: a huge token, a huge command word, a corrupt image's faults.
    writeText(at("token.level"), "level 1\npoint a " + std::string(10000, '9') + "x 0\n");
    std::string corrupt(image.begin(), image.end());
    for (size_t b = 2000; b < 40000; b += 7) corrupt[b] = 0x55;
    writeText(at("corrupt.img"), corrupt);
    const std::string cut = std::string(80, '9') + "\u2026'";
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"level check " + at("token.level"), 2, "krello-tool: " + at("token.level") + ":2: point x: '" + cut + " is not a number\n"},
        {std::string(200, 'c'), 2, "unknown command '" + std::string(80, 'c') + "\u2026' for"},
        // The count of the rest depends on the shipped level's bytes, so only its form is checked.
        {"level check " + at("corrupt.img"), 1, " more faults\n"},
        {"level check " + at("wide.level"), 1, "x coordinates run from -3328 to 140000, a span of 143328 units; "
                                               "the renderer and the game's distances handle at most 100000\n"},
        {"tour-script --out " + at("t") + " --updates 1000001", 2,
         "--updates: expected a whole number from 1 to 1000000, got '1000001' (out of range)\n"},
        {"tour-script --out " + at("t") + " --updates 9223372036854775807", 2, "got '9223372036854775807' (out of range)\n"},
        {"run --input " + TOUR_INPUT + " --frames 1e23", 2,
         "--frames: expected a whole number from 0 to 2147483647, got '1e23'\n"},
        {"run --input " + TOUR_INPUT + " --png-every 1.5 " + at(""), 2, "--png-every: expected a whole number"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << c.args << "\n" << r.out << r.err;
        EXPECT_LE(lines(r.out + r.err), 21) << c.args;
    }
    const ProgramRun compiled = runProgram(KRELLO_LEVELC, at("token.level") + " -o " + at("t.cpp"));
    EXPECT_EQ(compiled.err, "krello-levelc: " + at("token.level") + ":2: point x: '" + cut + " is not a number\n" +
                                "krello-levelc: " + at("token.level") + ":2: no 'start' statement\n" +
                                "krello-levelc: " + at("token.level") + ":2: no sectors\n");
}

// One input, one verdict, and a message that says what is known.
TEST_F(Reliability, EachInputGetsOneVerdictAndAnAccurateMessage) {
    // A demo with a start and an end and nothing between: refused, as the game refuses it.
    std::vector<uint8_t> zero = {'K', 'R', 'E', 'L', 'D', 'E', 'M', 'O', 1, 0, 64, 0};
    const uint32_t level = krello::crc32(krello::builtinLevelImage());
    auto u32 = [&zero](uint32_t v) {
        for (int b = 0; b < 4; ++b) zero.push_back(static_cast<uint8_t>(v >> (8 * b)));
    };
    u32(level);
    zero.push_back('S');
    u32(0);
    const size_t end = zero.size();
    zero.push_back('E');
    u32(0);
    u32(krello::crc32({zero.data(), end}));
    writeText(at("zero.demo"), bytesOf(zero));
    // An image whose bytes hold no NUL is still an image; a source with a stray NUL still a source.
    std::string image(krello::builtinLevelImage().begin(), krello::builtinLevelImage().end());
    std::replace(image.begin(), image.end(), '\0', '\x01');
    writeText(at("no_nul.img"), image);
    std::string source = readText(LEVEL);
    source.insert(source.find("\nsector 5\n") + 1, std::string(1, '\0'));
    const long nulLine = 1 + std::count(source.begin(), source.begin() + static_cast<long>(source.find('\0')), '\n');
    writeText(at("nul.level"), source);
    writeText(at("keys.input"), "16 U\n16 -L\n");
    const std::string scratch = at("scratch");
    fs::create_directories(scratch);
    ASSERT_EQ(runTool("run --input " + TOUR_INPUT + " --frames 200 --record-demo " + scratch + "/ok.demo").status, 0);
    writeText(at("edited.demo"), editedDemo(scratch + "/ok.demo", 10));
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"run --demo " + at("zero.demo"), 2, at("zero.demo") + ": byte 21: the demo holds no updates\n"},
        {"level check " + at("no_nul.img"), 1, at("no_nul.img") + ": sector 0: "},
        {"level check " + at("nul.level"), 2, at("nul.level") + ":" + std::to_string(nulLine) + ": byte 0x00 is not text\n"},
        {"run --input " + at("keys.input"), 2, at("keys.input") + ":2: keys \"-L\": '-' means no keys and stands alone\n"},
        {"run --demo " + at("edited.demo"), 2, at("edited.demo") + ": diverged between update 1 and update 64: "},
        {"render --view 0 0 0 0 151", 2, "render --view: (0, 0) is not inside sector 151\n"},
        // Words the commands check themselves are echoed as the option parser's are: cut at 80.
        {"render --view " + std::string(200, '9') + " 0 0 0 0", 2, "got '" + std::string(80, '9') + "\u2026'\n"},
        {"playtest --skill " + std::string(200, 'x'), 2, "got '" + std::string(80, 'x') + "\u2026'\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE((r.out + r.err).find(c.message), std::string::npos) << c.args << "\n" << r.out << r.err;
    }
}

// An output that is one of the command's own inputs, by its name or through a link, is refused
// in one line with status 2, and the input stays byte for byte.
TEST_F(Reliability, NoOutputReplacesItsOwnInput) {
    const std::string level = at("x.level"), script = at("x.input"), demo = at("x.demo");
    fs::copy_file(SOURCE_DIR + "/tests/data/ambush.level", level);
    fs::copy_file(TOUR_INPUT, script);
    ASSERT_EQ(runTool("run --input " + TOUR_INPUT + " --frames 50 --record-demo " + demo).status, 0);
    fs::create_symlink("x.input", at("link"));
    const struct {
        const char* program;
        std::string args;
        std::string input;
    } cases[] = {
        {KRELLO_LEVELC, level + " -o " + level, level},
        {KRELLO_TOOL, "run --input " + script + " --dump-state " + script, script},
        {KRELLO_TOOL, "run --input " + script + " --dump-state " + at("link"), script},
        {KRELLO_TOOL, "run --demo " + demo + " --dump-state " + demo, demo},
        {KRELLO_TOOL, "level map " + level + " --level " + level, level},
        {KRELLO_TOOL, "render --level " + level + " --png " + level, level},
        {KRELLO_TOOL, "tour-script --level " + level + " --out " + level, level},
    };
    for (const auto& c : cases) {
        const std::string before = readText(c.input);
        const ProgramRun r = runProgram(c.program, c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_TRUE(r.err.find("also an input of this command") != std::string::npos ||
                    r.err.find("the same file as the input") != std::string::npos)
            << c.args << "\n" << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(readText(c.input), before) << c.args;
    }
    EXPECT_TRUE(fs::is_symlink(at("link")));
}

}  // namespace
