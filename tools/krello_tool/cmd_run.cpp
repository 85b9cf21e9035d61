// krello-tool's run commands: headless runs of input scripts and demos, state dumps, timedemo.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "krello_tool/commands.h"
#include "krello_tool/output_files.h"
#include "krello_tool/render_options.h"
#include "krello_tool/sound_capture.h"
#include "krello_tool/whole_number.h"
#include "krello_tool/tool_level.h"
#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/demo.h"
#include "replay/demo_recorder.h"
#include "replay/demo_replayer.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "replay/state_checksum.h"
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
    // Records the run as a demo into `file` (a stream the caller's outputs own), from the
    // level start-up on.
    virtual void record(std::FILE*, const std::string&) { throw ToolError{"--record-demo needs --input"}; }
};

class ScriptInput final : public RunInput {
public:
    ScriptInput(std::vector<ScriptStep> steps, const ToolLevel& level) : steps_(std::move(steps)), level_(level) {}
    void record(std::FILE* file, const std::string& path) override {
        recordPath_ = path;
        recorder_ = std::make_unique<DemoRecorder>(headless_, file, level_.demoLevel());
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
    const ToolLevel& level_;     // the level the demo names
    HeadlessPlatform headless_;  // the clock reads 0 at the level start-up
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

// The largest count an option takes: what a long holds on every platform.
constexpr int64_t MAX_COUNT = INT32_MAX;

struct RunOptions {
    std::string input;
    std::string demo;
    std::string frames;                 // updates to run, all of the input when empty
    bool render = false;
    std::vector<std::string> pngEvery;  // K DIR
    std::string stateEvery;             // empty: only the last state
    std::string dumpFile;
    std::string recordDemo;
    std::string wav;                    // the run's sound as a WAV file
    bool frameCrc = false;              // print the last frame's checksum after the states
    std::string level;                  // a level file, or empty for the built-in level
    DrawOptions draw;                   // --threads
};

std::vector<ScriptStep> readScript(const std::string& path) {
    std::vector<ScriptStep> steps;
    std::string error;
    if (!readInputScriptFile(path, steps, error)) throw ToolError{error};
    return steps;
}

// The run's input, read whole: its faults are reported before any output is begun.
std::unique_ptr<RunInput> openInput(const RunOptions& o, const ToolLevel& level) {
    if (o.input.empty() == o.demo.empty()) throw ToolError{"give exactly one of --input FILE and --demo FILE"};
    if (!o.input.empty()) return std::make_unique<ScriptInput>(readScript(o.input), level);
    return std::make_unique<DemoInput>(o.demo, level);
}

long frameCount(const RunOptions& o, const RunInput& in) {
    const std::string& source = o.input.empty() ? o.demo : o.input;
    if (o.frames.empty()) return in.length();
    const long frames = static_cast<long>(wholeNumber("--frames", o.frames, 0, MAX_COUNT));
    if (frames > in.length()) {
        throw ToolError{source + ": holds " + std::to_string(in.length()) + " updates, --frames asks for " +
                        std::to_string(frames)};
    }
    return frames;
}

// A fresh game from the level, started on the input's platform.
std::unique_ptr<GameState> startGame(RunInput& in, const ToolLevel& level) {
    auto g = std::make_unique<GameState>();
    loadLevelInto(*g, level);
    startLevel(*g, in.platform());
    return g;
}

// The states go to stdout, or to a file that appears only when the whole run succeeded.
class DumpSink {
public:
    DumpSink(const std::string& path, OutputFiles& out) : path_(path.empty() ? "stdout" : path) {
        file_ = path.empty() ? stdout : out.open(path);
    }
    void write(const GameState& g, long update, long tints) {
        text_.clear();
        appendStateDump(text_, g, update, tints);
        if (std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size())
            throw ToolError{path_ + ": cannot write the state dump"};
    }

private:
    std::string path_;
    std::FILE* file_;
    std::string text_;
};

std::string framePngPath(const std::string& dir, long update) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", update);
    return dir + name;
}

// The one loop of a headless run: the input of each update, the frame (drawn into `frame`
// when it is not empty), the input told the update ended, then after(update number).
template <typename After>
void playFrames(RunInput& in, GameState& g, long frames, std::vector<uint8_t>& frame, RenderThreads* threads,
                After&& after) {
    ViewDrawer drawer(threads);
    const FrameOutput output{&drawer, frame.data()};
    for (long i = 0; i < frames; ++i) {
        in.beforeUpdate(i);
        runFrame(g, in.platform(), frame.empty() ? nullptr : &output);
        in.afterUpdate(g);
        after(i + 1);
    }
}

// What a run writes besides its input: the state dump, frames as PNG, a recorded demo.
struct RunOutputs {
    long frames = 0;
    long stateEvery = 0;
    long pngEvery = 0;
    std::string pngDir;
    std::string dumpFile;
    std::string wavFile;
    bool render = false;
    bool frameCrc = false;  // print the last frame's CRC-32 once the outputs are in place
    DrawOptions draw;
};

// Runs the input and writes its outputs; every output file appears only if the run succeeds.
void playRun(RunInput& in, const ToolLevel& level, const RunOutputs& r, OutputFiles& out) {
    std::unique_ptr<GameState> g = startGame(in, level);
    DumpSink dump(r.dumpFile, out);
    std::vector<uint8_t> frame;
    if (r.render || r.frameCrc || r.pngEvery > 0) frame.assign(FRAME_BYTES, 0);
    const std::unique_ptr<RenderThreads> threads = makeRenderThreads(r.draw);
    auto capture = r.wavFile.empty() ? nullptr : std::make_unique<SoundCapture>(*g);
    playFrames(in, *g, r.frames, frame, threads.get(), [&](long update) {
        if (capture) capture->afterUpdate(*g);
        if (r.pngEvery > 0 && update % r.pngEvery == 0) {
            // Once the game has asked for the red tint, the frames show the tinted palette.
            out.addIndexedPng(framePngPath(r.pngDir, update), SCREEN_WIDTH, SCREEN_HEIGHT, frame.data(),
                              buildRamps(in.tints() > 0 ? 255 : 0));
        }
        if ((r.stateEvery > 0 && update % r.stateEvery == 0) || update == r.frames) {
            dump.write(*g, update, in.tints());
        }
    });
    if (r.frames == 0) dump.write(*g, 0, in.tints());  // the state as the start-up left it
    in.finish();
    if (capture) out.add(r.wavFile, capture->wav());
    out.commit();
    if (r.frameCrc) std::printf("frame crc32 %s\n", crc32Text(crc32(frame)).c_str());
}

void run(const RunOptions& o) {
    if (!o.recordDemo.empty() && o.input.empty()) throw ToolError{"--record-demo needs --input"};
    RunOutputs r;
    r.render = o.render;
    r.frameCrc = o.frameCrc;
    r.dumpFile = o.dumpFile;
    r.wavFile = o.wav;
    r.draw = o.draw;
    if (!o.stateEvery.empty()) r.stateEvery = wholeNumber("--state-every", o.stateEvery, 1, MAX_COUNT);
    if (!o.pngEvery.empty()) {
        r.pngEvery = wholeNumber("--png-every", o.pngEvery[0], 1, MAX_COUNT);
        r.pngDir = o.pngEvery[1];
    }
    const ToolLevel level = loadToolLevel(o.level);
    std::unique_ptr<RunInput> in = openInput(o, level);
    r.frames = frameCount(o, *in);
    OutputFiles out;
    if (!o.dumpFile.empty()) out.check(o.dumpFile);
    if (!o.wav.empty()) out.check(o.wav);
    if (r.pngEvery > 0) out.check(framePngPath(r.pngDir, r.pngEvery));
    if (!o.recordDemo.empty()) {
        out.check(o.recordDemo);
        if (r.frames == 0) throw ToolError{o.recordDemo + ": a demo needs at least one update; this run has none"};
        in->record(out.open(o.recordDemo), o.recordDemo);
    }
    playRun(*in, level, r, out);
}

// Whole frames, drawn, as fast as they go: the same loop, timed as the game's --timedemo is.
void timedemo(const RunOptions& o) {
    const ToolLevel level = loadToolLevel(o.level);
    std::unique_ptr<RunInput> in = openInput(o, level);
    std::unique_ptr<GameState> g = startGame(*in, level);
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    const std::unique_ptr<RenderThreads> threads = makeRenderThreads(o.draw);
    TimedemoClock timing(static_cast<size_t>(in->length()));
    playFrames(*in, *g, in->length(), frame, threads.get(), [&](long) { timing.frameDone(); });
    // The lines the game's --timedemo prints, then what drew the frames.
    std::printf("%s\n%s\ndrawn on %d threads, %s path\n", timing.report().c_str(),
                timedemoStateLine(gameStateChecksum(*g)).c_str(), threads->count(),
                renderPathName(threads->renderPath()));
}

struct TourOptions {
    std::string out;
    std::string expected;
    std::string updates = "3000";
    std::string level;  // a level file, or empty for the built-in level
};

// Plays the level with the autopilot, writes the script and, if asked, the state every 100
// updates of a run of that script: the tour test's expectation. Both files appear together.
void tourScript(const TourOptions& o) {
    const long updates = static_cast<long>(wholeNumber("--updates", o.updates, 1, TOUR_MAX_UPDATES));
    OutputFiles out;
    out.check(o.out);
    if (!o.expected.empty()) out.check(o.expected);
    const ToolLevel level = loadToolLevel(o.level);
    auto g = std::make_unique<GameState>();
    loadLevelInto(*g, level);
    const TourPlan plan = planTour(*g, updates, updates * 2);
    std::string text = "# A tour of the level, played by krello-tool tour-script: walking, turning,\n"
                       "# jumping, shooting enemies, and walking into enemy fire until the game is over.\n"
                       "# One line per update: DT KEYS.\n";
    text += formatInputScript(plan.steps);
    out.add(o.out, text);
    if (!o.expected.empty()) {
        ScriptInput script(plan.steps, level);
        RunOutputs r;
        r.frames = script.length();
        r.stateEvery = 100;
        r.dumpFile = o.expected;
        playRun(script, level, r, out);
    } else {
        out.commit();
    }
    std::printf("updates %zu score %ld jumps %ld shots %ld game-over-at %ld retries %ld\n", plan.steps.size(),
                plan.score, plan.jumps, plan.shotsFired, plan.gameOverAt, plan.retries);
}

void addInputOptions(CLI::App* cmd, RunOptions& o) {
    auto* input = cmd->add_option("--input", o.input, "input script: one \"DT KEYS\" line per update")
                      ->type_name("FILE");
    auto* demo = cmd->add_option("--demo", o.demo, "demo file to replay")->type_name("FILE");
    input->excludes(demo);
    demo->excludes(input);
    addLevelOption(cmd, o.level);
}

}  // namespace

void registerRunCommands(CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    CLI::App* run = app.add_subcommand("run", "run the game headless from an input script or a demo");
    addInputOptions(run, *options);
    addDrawOptions(run, options->draw);
    run->add_option("--frames", options->frames, "updates to run (default: all of the input)")->type_name("N");
    run->add_flag("--render", options->render, "draw every frame as well");
    run->add_flag("--frame-crc", options->frameCrc, "draw every frame and print the last one's CRC-32");
    run->add_option("--png-every", options->pngEvery, "write every K-th frame as DIR/frame_NNNNNN.png")
        ->expected(2)
        ->type_name("K DIR");
    run->add_option("--state-every", options->stateEvery, "write the state after every K-th update")->type_name("K");
    run->add_option("--dump-state", options->dumpFile, "write the states to FILE instead of stdout")->type_name("FILE");
    run->add_option("--wav", options->wav, "write the run's mixed sound as a WAV FILE")->type_name("FILE");
    run->add_option("--record-demo", options->recordDemo, "record the run as a demo FILE (with --input)")
        ->type_name("FILE");
    run->callback([options] { tool::run(*options); });

    auto timed = std::make_shared<RunOptions>();
    CLI::App* td = app.add_subcommand("timedemo", "run whole frames as fast as possible and time them");
    addInputOptions(td, *timed);
    addDrawOptions(td, timed->draw);
    td->callback([timed] { timedemo(*timed); });

    auto tour = std::make_shared<TourOptions>();
    CLI::App* ts = app.add_subcommand("tour-script", "play the level with the autopilot and write its input script");
    ts->add_option("--out", tour->out, "the input script to write")->type_name("FILE")->required();
    ts->add_option("--expected", tour->expected, "also write the state every 100 updates of running it")
        ->type_name("FILE");
    ts->add_option("--updates", tour->updates, "at least this many updates (at most 1000000)")->type_name("N");
    addLevelOption(ts, tour->level);
    ts->callback([tour] { tourScript(*tour); });
}

}  // namespace krello::tool
