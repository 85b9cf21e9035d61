// krello-tool's run commands: headless runs of input scripts and demos, state dumps, timedemo.
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "krello_tool/commands.h"
#include "krello_tool/output_files.h"
#include "krello_tool/tool_level.h"
#include "cli/option_words.h"
#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/demo.h"
#include "replay/demo_recorder.h"
#include "replay/demo_replayer.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "replay/state_dump.h"
#include "replay/timedemo.h"
#include "tour/tour_pilot.h"
#include "world/palette.h"

namespace krello::tool {

namespace {

// Where a run's input comes from: an input script or a demo. It owns the platform the game
// talks to and is told when each update begins and ends.
class RunInput {
public:
    virtual ~RunInput() = default;
    virtual PlatformSeam& platform() = 0;
    virtual long length() const = 0;
    virtual void beforeUpdate(long index) = 0;
    virtual void afterUpdate(const GameState& g) = 0;
    virtual long tints() const = 0;
    virtual void finish() {}
};

class ScriptInput final : public RunInput {
public:
    ScriptInput(const std::string& path, const std::string& recordPath, const ToolLevel& level) {
        std::string error;
        if (!readInputScriptFile(path, steps_, error)) throw ToolError{error};
        if (!recordPath.empty()) {
            recordFile_ = std::fopen(recordPath.c_str(), "wb");
            if (!recordFile_) throw ToolError{recordPath + ": cannot create the demo"};
            recordPath_ = recordPath;
            recorder_ = std::make_unique<DemoRecorder>(headless_, recordFile_, level.demoLevel());
        }
    }
    ~ScriptInput() override {
        if (recordFile_) std::fclose(recordFile_);
    }
    PlatformSeam& platform() override {
        if (recorder_) return *recorder_;
        return headless_;
    }
    long length() const override { return static_cast<long>(steps_.size()); }
    void beforeUpdate(long index) override {
        headless_.apply(steps_[static_cast<size_t>(index)]);
    }
    void afterUpdate(const GameState& g) override {
        if (recorder_) recorder_->endUpdate(g);
    }
    long tints() const override { return headless_.tintCount; }
    void finish() override {
        if (recorder_ && !recorder_->finish()) throw ToolError{recordPath_ + ": cannot write the demo"};
    }

private:
    std::vector<ScriptStep> steps_;
    HeadlessPlatform headless_;  // the clock reads 0 at the level start-up
    std::FILE* recordFile_ = nullptr;
    std::string recordPath_;
    std::unique_ptr<DemoRecorder> recorder_;
};

class DemoInput final : public RunInput {
public:
    DemoInput(const std::string& path, const ToolLevel& level) : path_(path) {
        std::string error;
        if (!readDemoFile(path, demo_, error)) throw ToolError{error};
        const std::string mismatch = demoLevelMismatch(path, demo_, level.demoLevel());
        if (!mismatch.empty()) throw ToolError{mismatch};
        replayer_ = std::make_unique<DemoReplayer>(demo_);
    }
    PlatformSeam& platform() override { return *replayer_; }
    long length() const override { return static_cast<long>(demo_.updates.size()); }
    void beforeUpdate(long) override {}
    void afterUpdate(const GameState& g) override {
        if (!replayer_->endUpdate(g)) throw ToolError{path_ + ": " + replayer_->error()};
    }
    long tints() const override { return replayer_->tints(); }

private:
    std::string path_;
    Demo demo_;
    std::unique_ptr<DemoReplayer> replayer_;
};

struct RunOptions {
    std::string input;
    std::string demo;
    long frames = -1;
    bool render = false;
    std::vector<std::string> pngEvery;  // K DIR
    long stateEvery = 0;
    std::string dumpFile;
    std::string recordDemo;
    bool frameCrc = false;  // print the last frame's checksum after the states
    std::string level;  // a level file, or empty for the built-in level
};

std::unique_ptr<RunInput> openInput(const RunOptions& o, const ToolLevel& level) {
    if (o.input.empty() == o.demo.empty()) throw ToolError{"give exactly one of --input FILE and --demo FILE"};
    if (!o.input.empty()) return std::make_unique<ScriptInput>(o.input, o.recordDemo, level);
    if (!o.recordDemo.empty()) throw ToolError{"--record-demo needs --input"};
    return std::make_unique<DemoInput>(o.demo, level);
}

long frameCount(const RunOptions& o, const RunInput& in) {
    const std::string& source = o.input.empty() ? o.demo : o.input;
    if (o.frames < 0) return in.length();
    if (o.frames > in.length()) {
        throw ToolError{source + ": holds " + std::to_string(in.length()) + " updates, --frames asks for " +
                        std::to_string(o.frames)};
    }
    return o.frames;
}

// A fresh game from the level, started on the input's platform.
std::unique_ptr<GameState> startGame(RunInput& in, const ToolLevel& level) {
    auto g = std::make_unique<GameState>();
    loadLevelInto(*g, level);
    startLevel(*g, in.platform());
    return g;
}

class DumpSink {
public:
    explicit DumpSink(const std::string& path) : path_(path) {
        // Binary, so the file holds the same bytes on every platform (no CRLF on Windows).
        file_ = path.empty() ? stdout : std::fopen(path.c_str(), "wb");
        if (!file_) throw ToolError{path + ": cannot create the state dump"};
    }
    ~DumpSink() {
        if (file_ && file_ != stdout) std::fclose(file_);
    }
    void write(const GameState& g, long update, long tints) {
        text_.clear();
        appendStateDump(text_, g, update, tints);
        if (std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) fail();
    }
    void close() {
        if (std::fflush(file_) != 0) fail();
    }

private:
    void fail() { throw ToolError{(path_.empty() ? std::string("stdout") : path_) + ": cannot write the state dump"}; }
    std::string path_;
    std::FILE* file_;
    std::string text_;
};

void writeFramePng(const std::string& dir, long update, const std::vector<uint8_t>& frame, long tints) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", update);
    // Once the game has asked for the red tint, the frames show the tinted palette.
    writeIndexedPng(dir + name, SCREEN_WIDTH, SCREEN_HEIGHT, frame.data(), buildRamps(tints > 0 ? 255 : 0));
}

long parseCount(const std::string& word, const char* what) {
    try {
        size_t used = 0;
        const long v = std::stol(word, &used);
        if (used == word.size() && v > 0) return v;
    } catch (const std::exception&) {
    }
    throw ToolError{std::string(what) + " must be a positive whole number, got \"" + word + "\""};
}

// The one loop of a headless run: the input of each update, the frame (drawn into `frame`
// when it is not empty), the input told the update ended, then after(update number).
template <typename After>
void playFrames(RunInput& in, GameState& g, long frames, std::vector<uint8_t>& frame, After&& after) {
    const FrameOutput output{renderView, frame.data()};
    for (long i = 0; i < frames; ++i) {
        in.beforeUpdate(i);
        runFrame(g, in.platform(), frame.empty() ? nullptr : &output);
        in.afterUpdate(g);
        after(i + 1);
    }
}

void run(const RunOptions& o) {
    long pngEvery = 0;
    std::string pngDir;
    if (!o.pngEvery.empty()) {
        pngEvery = parseCount(o.pngEvery[0], "--png-every K");
        pngDir = o.pngEvery[1];
    }
    const ToolLevel level = loadToolLevel(o.level);
    std::unique_ptr<RunInput> in = openInput(o, level);
    const long frames = frameCount(o, *in);
    std::unique_ptr<GameState> g = startGame(*in, level);
    DumpSink dump(o.dumpFile);
    std::vector<uint8_t> frame;
    if (o.render || o.frameCrc || pngEvery > 0) frame.assign(FRAME_BYTES, 0);
    playFrames(*in, *g, frames, frame, [&](long update) {
        if (pngEvery > 0 && update % pngEvery == 0) writeFramePng(pngDir, update, frame, in->tints());
        if ((o.stateEvery > 0 && update % o.stateEvery == 0) || update == frames) {
            dump.write(*g, update, in->tints());
        }
    });
    if (frames == 0) dump.write(*g, 0, in->tints());  // the state as the start-up left it
    in->finish();
    dump.close();
    if (o.frameCrc) std::printf("frame crc32 %s\n", crc32Text(crc32(frame)).c_str());
}

// Whole frames, drawn, as fast as they go: the same loop, timed as the game's --timedemo is.
void timedemo(const RunOptions& o) {
    const ToolLevel level = loadToolLevel(o.level);
    std::unique_ptr<RunInput> in = openInput(o, level);
    std::unique_ptr<GameState> g = startGame(*in, level);
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    TimedemoClock timing(static_cast<size_t>(in->length()));
    playFrames(*in, *g, in->length(), frame, [&](long) { timing.frameDone(); });
    std::printf("%s\n", timing.report().c_str());
}

struct TourOptions {
    std::string out;
    std::string expected;
    long updates = 3000;
    std::string level;  // a level file, or empty for the built-in level
};

// Plays the level with the autopilot, writes the script and, if asked, the state every 100
// updates of a run of that script: the tour test's expectation.
void tourScript(const TourOptions& o) {
    const ToolLevel level = loadToolLevel(o.level);
    auto g = std::make_unique<GameState>();
    loadLevelInto(*g, level);
    const TourPlan plan = planTour(*g, o.updates, o.updates * 2);
    std::string text = "# A tour of the level, played by krello-tool tour-script: walking, turning,\n"
                       "# jumping, shooting enemies, and walking into enemy fire until the game is over.\n"
                       "# One line per update: DT KEYS.\n";
    text += formatInputScript(plan.steps);
    writeOutputFile(o.out, text);
    std::printf("updates %zu score %ld jumps %ld shots %ld game-over-at %ld retries %ld\n", plan.steps.size(),
                plan.score, plan.jumps, plan.shotsFired, plan.gameOverAt, plan.retries);
    if (!o.expected.empty()) {
        RunOptions r;
        r.input = o.out;
        r.stateEvery = 100;
        r.dumpFile = o.expected;
        r.level = o.level;
        run(r);
    }
}

void addInputOptions(CLI::App* cmd, RunOptions& o) {
    auto* input = cmd->add_option("--input", o.input, "input script: one \"DT KEYS\" line per update")
                      ->type_name("FILE");
    auto* demo = cmd->add_option("--demo", o.demo, "demo file to replay")->type_name("FILE");
    input->excludes(demo);
    demo->excludes(input);
    addLevelOption(cmd, o.level);
}

constexpr int64_t ANY_COUNT = std::numeric_limits<int64_t>::max();

}  // namespace

void registerRunCommands(CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* run = app.add_subcommand("run", "run the game headless from an input script or a demo");
    addInputOptions(run, *options);
    run->add_option("--frames", options->frames, "updates to run (default: all of the input)")
        ->type_name("N")
        ->check(cli::wholeNumber(0, ANY_COUNT));
    run->add_flag("--render", options->render, "draw every frame as well");
    run->add_flag("--frame-crc", options->frameCrc, "draw every frame and print the last one's CRC-32");
    run->add_option("--png-every", options->pngEvery, "write every K-th frame as DIR/frame_NNNNNN.png")
        ->expected(2)
        ->type_name("K DIR");
    run->add_option("--state-every", options->stateEvery, "write the state after every K-th update")
        ->type_name("K")
        ->check(cli::wholeNumber(1, ANY_COUNT));
    run->add_option("--dump-state", options->dumpFile, "write the states to FILE instead of stdout")->type_name("FILE");
    run->add_option("--record-demo", options->recordDemo, "record the run as a demo FILE (with --input)")
        ->type_name("FILE");
    run->callback([options] { tool::run(*options); });

    auto timed = std::make_shared<RunOptions>();
    CLI::App* td = app.add_subcommand("timedemo", "run whole frames as fast as possible and time them");
    addInputOptions(td, *timed);
    td->callback([timed] { timedemo(*timed); });

    auto tour = std::make_shared<TourOptions>();
    CLI::App* ts = app.add_subcommand("tour-script", "play the level with the autopilot and write its input script");
    ts->add_option("--out", tour->out, "the input script to write")->type_name("FILE")->required();
    ts->add_option("--expected", tour->expected, "also write the state every 100 updates of running it")
        ->type_name("FILE");
    ts->add_option("--updates", tour->updates, "at least this many updates")
        ->type_name("N")
        ->check(cli::wholeNumber(1, ANY_COUNT));
    addLevelOption(ts, tour->level);
    ts->callback([tour] { tourScript(*tour); });
}

}  // namespace krello::tool
