// One object that runs a game: the level it plays, the game state, and the host the game asks
// (a live or headless platform, with a demo being recorded or replayed over it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/frame.h"
#include "game/platform_seam.h"
#include "replay/demo.h"
#include "replay/demo_recorder.h"
#include "replay/demo_replayer.h"
#include "replay/game_level.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "world/game_state.h"

namespace krello {

class GameRun;

// Looks at a run after each of its steps (sound, an automap, a timer, a tool's state dumps).
// An observer only reads: the game goes on exactly as it would without it.
class StepObserver {
public:
    // A new game has started (run.updates() is 0): the state as the level start-up left it.
    virtual void started(const GameRun&) {}
    // A step has ended in step: the state after update run.updates(), sorted and, when the
    // step was given an output, drawn. Not called for a step that put a replay out of step.
    virtual void stepped(const GameRun& run) = 0;

protected:
    ~StepObserver() = default;
};

// Everything that runs a game drives one of these: the shells' sessions, krello-tool, the page's
// test hook, the benchmarks and the tests. A game is
//
//   GameRun run;                                   // or GameRun run(shellPlatform)
//   run.loadLevel(path, problems);                 // "" for the built-in level
//   run.record(file, name) / run.replay(demo, name) / run.useScript(steps);   // any one, or none
//   run.watch(observer);                           // any number
//   run.start();
//   while (run.step(&output)) { ... }              // or step(input) with keys computed each update
//   problem = run.finish();                        // the demo completed or found out of step
//
// and start() again begins a fresh game of the same level (unrecorded once finish() has run).
// The demo format's rules live here: what a recording is made of, and what a replay checks.
// Nothing is allocated by a step.
class GameRun final : private PlatformSeam {
public:
    // A run on its own headless platform: its clock reads 0 at every start-up and moves only by
    // the input each step is given (a script or step(input)).
    GameRun();
    // A run on a shell's live platform: its clock, its keys and its screen's palette.
    explicit GameRun(PlatformSeam& live);
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;
    ~GameRun();

    // Loads the level every game of the run starts from: the built-in one when `path` is
    // empty, else the file, checked by every rule of the level. Returns false with one line per
    // problem, each naming the file, when the file is not a level a game can play.
    bool loadLevel(const std::string& path, std::vector<std::string>& problems);
    const GameLevel& level() const { return level_; }

    // From the next start() on, the game is recorded as a demo into `out`, which the caller
    // opened and closes after finish(); `file` names it in messages.
    void record(std::FILE* out, const std::string& file,
                uint16_t checkpointInterval = DEMO_DEFAULT_CHECKPOINT_INTERVAL);
    // From the next start() on, the clock and the keys come from `demo` (the palette tints
    // still reach the platform, in the same update, as in a live game). After loadLevel.
    // Returns "" or the one line saying the demo was recorded on another level.
    std::string replay(Demo demo, const std::string& file);
    // From the next start() on, a headless run's clock steps and keys come from `steps`, one a
    // step, as an input script gives them.
    void useScript(std::vector<ScriptStep> steps);
    // How many updates the script or the demo holds; 0 when the run has neither.
    long inputLength() const;

    // `observer` is shown every game started and every step from now on; it must outlive the
    // run or its last step.
    void watch(StepObserver& observer);

    // A fresh game exactly as at launch: the tables from the level's image, then the level
    // start-up, which builds the textures and reads the clock once. A demo the game before was
    // recording or replaying is dropped unless finish() ended it.
    void start();

    // One frame: every wall's mark cleared, the update (asking the clock and keys of the
    // script, the demo or the platform), the object sort and, given an output, the drawing;
    // then a recording writes the update down or a replay checks it, and the observers look.
    // Returns false when the script or the demo has no update left, or a replay has gone out of
    // step (finish() says how): a step after that runs past the input.
    bool step(const FrameOutput* output = nullptr);
    // The same for a headless run whose input is computed as it goes: the clock steps on by
    // input.dt and input.keys are held during the update.
    bool step(const ScriptStep& input, const FrameOutput* output = nullptr);

    // Ends the game's demo. A recording writes its end record and flushes; a replay that went
    // out of step says where. Returns "" or one line naming the demo: "FILE: update 40: ..." or
    // the recording's write problem (below). The game goes on unrecorded, on the platform alone.
    std::string finish();

    // A recording closes the block under way and hands it to the system (a game standing still
    // has nothing more to add to it for now).
    void flushDemo() {
        if (recorder_) recorder_->flush();
    }
    // "" while the recording's blocks all reach the file; else, at once, "FILE: cannot be
    // written: WHY; the demo keeps its first N updates". The game goes on; the file keeps them.
    std::string demoWriteProblem() const;

    // The game as it stands.
    const GameState& game() const { return *game_; }
    // Updates run since start().
    long updates() const { return updates_; }
    // Palette tints the game has asked for since start().
    long tints() const { return tints_; }
    // Game time the updates since start() have covered (the sum of their frameDt): how far a
    // replay has come, for a shell that shows it at the speed it was played.
    uint64_t gameMillis() const { return gameMillis_; }
    // The demo replay() was given (empty when none): its cutShort says whether it ends early.
    const Demo& replayedDemo() const { return demo_; }
    // A demo is being recorded (until finish()).
    bool recording() const { return recorder_.has_value(); }

private:
    // The host the game asks: the demo being replayed, else the platform (through the
    // recorder when recording). Every tint reaches the platform and is counted.
    uint32_t readClock() override { return source_->readClock(); }
    bool keyHeld(GameKey key) override { return source_->keyHeld(key); }
    void tintPalette(int startRed) override;
    // The next script step onto the headless platform, when the run has a script.
    void takeScriptStep();
    bool endStep();

    GameLevel level_;                      // what every game starts from
    std::unique_ptr<GameState> game_;      // the game under way
    HeadlessPlatform headless_;            // the platform of a run without a live one
    PlatformSeam& platform_;               // headless_ or the shell's live platform
    PlatformSeam* source_;                 // where clock and keys come from: platform_, recorder_ or replayer_
    std::string demoFile_;                 // the demo's name in messages
    std::FILE* recordOut_ = nullptr;       // where the next game is recorded, if it is
    uint16_t checkpointInterval_ = DEMO_DEFAULT_CHECKPOINT_INTERVAL;
    std::optional<DemoRecorder> recorder_;  // the game being recorded
    Demo demo_;                            // the demo being replayed
    bool replayArmed_ = false;             // the next game replays demo_
    std::optional<DemoReplayer> replayer_;  // the game being replayed
    std::vector<ScriptStep> script_;       // a headless run's input, one step an update
    bool scripted_ = false;                // useScript() gave the run its input
    std::vector<StepObserver*> observers_;
    long updates_ = 0;
    long tints_ = 0;
    uint64_t gameMillis_ = 0;
};

}  // namespace krello
