// krello-tool's run commands: headless runs of input scripts and demos, state dumps, timedemo.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/option_words.h"
#include "cli/whole_number.h"
#include "krello_tool/commands.h"
#include "krello_tool/level_option.h"
#include "krello_tool/output_files.h"
#include "krello_tool/render_options.h"
#include "krello_tool/sound_capture.h"
#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/demo.h"
#include "replay/game_run.h"
#include "replay/input_script.h"
#include "replay/state_checksum.h"
#include "replay/state_dump.h"
#include "replay/timedemo.h"
#include "tour/tour_pilot.h"
#include "world/level_image.h"
#include "world/palette.h"

namespace krello::tool {

namespace {

// The largest count an option takes: what a long holds on every platform.
constexpr int64_t MAX_COUNT = INT32_MAX;

struct RunOptions {
    std::string input;
    std::string demo;
    long frames = -1;                   // updates to run, all of the input when negative
    bool render = false;
    std::vector<std::string> pngEvery;  // K DIR
    long stateEvery = 0;                // 0: only the last state
    std::string dumpFile;
    std::string recordDemo;
    std::string wav;                    // the run's sound as a WAV file
    bool frameCrc = false;              // print the last frame's checksum after the states
    std::string level;                  // a level file, or empty for the built-in level
    DrawOptions draw;                   // --threads
};

// A headless run of the level the options name, its input (an input script or a demo) read
// whole, so that its faults are reported before any output is begun.
std::unique_ptr<GameRun> openRun(const RunOptions& o) {
    if (o.input.empty() == o.demo.empty()) throw ToolError{"give exactly one of --input FILE and --demo FILE"};
    auto run = std::make_unique<GameRun>();  // the clock reads 0 at the level start-up
    loadLevel(*run, o.level);
    std::string error;
    if (!o.input.empty()) {
        std::vector<ScriptStep> steps;
        if (!readInputScriptFile(o.input, steps, error)) throw ToolError{error};
        run->useScript(std::move(steps));
        return run;
    }
    Demo demo;
    if (!readDemoFile(o.demo, demo, error)) throw ToolError{error};
    if (std::string mismatch = run->replay(std::move(demo), o.demo); !mismatch.empty()) throw ToolError{mismatch};
    return run;
}

// A demo whose recording was cut off replays up to its last complete block; say how far.
void reportEarlyEnd(const RunOptions& o, const GameRun& run) {
    if (o.demo.empty() || run.replayedDemo().cutShort.empty()) return;
    std::fprintf(stderr, "krello-tool: %s\n",
                 demoEndLine(o.demo, run.replayedDemo(), run.updates(), gameStateChecksum(run.game())).c_str());
}

long frameCount(const RunOptions& o, const GameRun& run) {
    const std::string& source = o.input.empty() ? o.demo : o.input;
    if (o.frames < 0) return run.inputLength();
    if (o.frames > run.inputLength()) {
        throw ToolError{source + ": holds " + std::to_string(run.inputLength()) + " updates, --frames asks for " +
                        std::to_string(o.frames)};
    }
    return o.frames;
}

std::string framePngPath(const std::string& dir, long update) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", update);
    return dir + name;
}

// Every K-th frame as a PNG among the command's outputs. Once the game has asked for the red
// tint, the frames show the tinted palette.
class FramePngs final : public StepObserver {
public:
    FramePngs(long every, const std::string& dir, const std::vector<uint8_t>& frame, OutputFiles& out)
        : every_(every), dir_(dir), frame_(frame), out_(out) {}
    void stepped(const GameRun& run) override {
        if (run.updates() % every_ != 0) return;
        out_.addIndexedPng(framePngPath(dir_, run.updates()), SCREEN_WIDTH, SCREEN_HEIGHT, frame_.data(),
                           buildRamps(run.tints() > 0 ? 255 : 0));
    }

private:
    long every_;
    std::string dir_;
    const std::vector<uint8_t>& frame_;  // the frame each step draws
    OutputFiles& out_;
};

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

// Plays the run's first `frames` steps and writes its outputs; every output file appears only
// if the run succeeds.
void playRun(GameRun& run, const RunOutputs& r, OutputFiles& out) {
    const std::string dumpName = r.dumpFile.empty() ? "stdout" : r.dumpFile;
    StateDumps dumps(r.stateEvery, r.frames, r.dumpFile.empty() ? stdout : out.open(r.dumpFile));
    run.watch(dumps);
    std::vector<uint8_t> frame;
    if (r.render || r.frameCrc || r.pngEvery > 0) frame.assign(FRAME_BYTES, 0);
    FramePngs pngs(r.pngEvery, r.pngDir, frame, out);
    if (r.pngEvery > 0) run.watch(pngs);
    const std::unique_ptr<RenderThreads> threads = makeRenderThreads(r.draw);
    ViewDrawer drawer(threads.get());
    const FrameOutput output{&drawer, frame.data()};
    SoundCapture capture;
    if (!r.wavFile.empty()) run.watch(capture);
    run.start();
    for (long i = 0; i < r.frames && run.step(frame.empty() ? nullptr : &output); ++i) {
    }
    if (std::string problem = run.finish(); !problem.empty()) throw ToolError{problem};
    if (!dumps.written()) throw ToolError{dumpName + ": cannot write the state dump"};
    if (!r.wavFile.empty()) out.add(r.wavFile, capture.wav());
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
    r.stateEvery = o.stateEvery;
    if (!o.pngEvery.empty()) {
        int64_t every = 0;
        cli::readWholeNumber(o.pngEvery[0], 1, MAX_COUNT, every);  // checked on the command line
        r.pngEvery = static_cast<long>(every);
        r.pngDir = o.pngEvery[1];
    }
    const std::unique_ptr<GameRun> game = openRun(o);
    r.frames = frameCount(o, *game);
    OutputFiles out;
    for (const std::string* in : {&o.input, &o.demo, &o.level}) out.input(*in);
    if (!o.dumpFile.empty()) out.check(o.dumpFile);
    if (!o.wav.empty()) out.check(o.wav);
    if (r.pngEvery > 0) out.check(framePngPath(r.pngDir, r.pngEvery));
    if (!o.recordDemo.empty()) {
        out.check(o.recordDemo);
        if (r.frames == 0) throw ToolError{o.recordDemo + ": a demo needs at least one update; this run has none"};
        game->record(out.open(o.recordDemo), o.recordDemo);
    }
    playRun(*game, r, out);
    reportEarlyEnd(o, *game);
}

// Whole frames, drawn, as fast as they go: the same run, timed as the game's --timedemo is.
void timedemo(const RunOptions& o) {
    const std::unique_ptr<GameRun> game = openRun(o);
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    const std::unique_ptr<RenderThreads> threads = makeRenderThreads(o.draw);
    ViewDrawer drawer(threads.get());
    const FrameOutput output{&drawer, frame.data()};
    TimedemoClock timing(static_cast<size_t>(game->inputLength()));
    game->watch(timing);
    game->start();
    // The drawing threads readied outside the timed frames, so the first frame is an ordinary one.
    drawer.warmUp(game->game());
    timing.begin();
    for (long i = 0; i < game->inputLength() && game->step(&output); ++i) {
    }
    if (std::string problem = game->finish(); !problem.empty()) throw ToolError{problem};
    // The lines the game's --timedemo prints, then what drew the frames.
    std::printf("%s\n%s\ndrawn on %d threads, %s path\n", timing.report().c_str(),
                timedemoStateLine(gameStateChecksum(game->game())).c_str(), threads->count(),
                renderPathName(threads->renderPath()));
    reportEarlyEnd(o, *game);
}

struct TourOptions {
    std::string out;
    std::string expected;
    long updates = 3000;
    std::string level;  // a level file, or empty for the built-in level
};

// Plays the level with the autopilot, writes the script and, if asked, the state every 100
// updates of a run of that script: the tour test's expectation. Both files appear together.
void tourScript(const TourOptions& o) {
    OutputFiles out;
    out.input(o.level);
    out.check(o.out);
    if (!o.expected.empty()) out.check(o.expected);
    const auto game = std::make_unique<GameRun>();
    loadLevel(*game, o.level);
    auto g = std::make_unique<GameState>();
    decodeLevelImage(game->level().image, *g);
    const TourPlan plan = planTour(*g, o.updates, o.updates * 2);
    std::string text = "# A tour of the level, played by krello-tool tour-script: walking, turning,\n"
                       "# jumping, shooting enemies, and walking into enemy fire until the game is over.\n"
                       "# One line per update: DT KEYS.\n";
    text += formatInputScript(plan.steps);
    out.add(o.out, text);
    if (!o.expected.empty()) {
        game->useScript(plan.steps);
        RunOutputs r;
        r.frames = game->inputLength();
        r.stateEvery = 100;
        r.dumpFile = o.expected;
        playRun(*game, r, out);
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
    run->add_option("--frames", options->frames, "updates to run (default: all of the input)")
        ->type_name("N")
        ->check(cli::wholeNumber(0, MAX_COUNT));
    run->add_flag("--render", options->render, "draw every frame as well");
    run->add_flag("--frame-crc", options->frameCrc, "draw every frame and print the last one's CRC-32");
    run->add_option("--png-every", options->pngEvery, "write every K-th frame as DIR/frame_NNNNNN.png")
        ->expected(2)
        ->type_name("K DIR")
        ->check(cli::wholeNumber(1, MAX_COUNT).application_index(0));
    run->add_option("--state-every", options->stateEvery, "write the state after every K-th update")
        ->type_name("K")
        ->check(cli::wholeNumber(1, MAX_COUNT));
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
    ts->add_option("--updates", tour->updates, "at least this many updates (default 3000, at most " + std::to_string(TOUR_MAX_UPDATES) + ")")
        ->type_name("N")
        ->check(cli::wholeNumber(1, TOUR_MAX_UPDATES));
    addLevelOption(ts, tour->level);
    ts->callback([tour] { tourScript(*tour); });
}

}  // namespace krello::tool
