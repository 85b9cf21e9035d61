// One object that runs a game: the level it plays, the game state, and the host the game asks.
#include "replay/game_run.h"

#include <utility>

#include "game/start_level.h"
#include "world/level_image.h"

namespace krello {

GameRun::GameRun() : game_(std::make_unique<GameState>()), platform_(headless_), source_(&headless_) {}

GameRun::GameRun(PlatformSeam& live) : game_(std::make_unique<GameState>()), platform_(live), source_(&live) {}

GameRun::~GameRun() = default;

bool GameRun::loadLevel(const std::string& path, std::vector<std::string>& problems) {
    return loadGameLevel(path, level_, problems);
}

void GameRun::record(std::FILE* out, const std::string& file, uint16_t checkpointInterval) {
    demoFile_ = file;
    recordOut_ = out;
    checkpointInterval_ = checkpointInterval;
    replayArmed_ = false;
}

std::string GameRun::replay(Demo demo, const std::string& file) {
    if (std::string mismatch = demoLevelMismatch(file, demo, level_.demoLevel()); !mismatch.empty()) return mismatch;
    replayer_.reset();  // it reads the demo being replaced
    source_ = &platform_;
    demo_ = std::move(demo);
    demoFile_ = file;
    replayArmed_ = true;
    recordOut_ = nullptr;
    return {};
}

void GameRun::useScript(std::vector<ScriptStep> steps) {
    script_ = std::move(steps);
    scripted_ = true;
}

long GameRun::inputLength() const {
    if (replayArmed_ || replayer_) return static_cast<long>(demo_.updates.size());
    return static_cast<long>(script_.size());
}

void GameRun::watch(StepObserver& observer) { observers_.push_back(&observer); }

void GameRun::start() {
    // A demo of the game before is dropped unless finish() completed it.
    recorder_.reset();
    replayer_.reset();
    source_ = &platform_;
    headless_ = HeadlessPlatform{};  // a fresh launch: the clock reads 0 again
    // A fresh object, not an assignment: a temporary state would not fit every platform's stack.
    game_ = std::make_unique<GameState>();
    decodeLevelImage(level_.image, *game_);
    if (recordOut_ != nullptr) {
        recorder_.emplace(platform_, recordOut_, level_.demoLevel(), checkpointInterval_);
        source_ = &*recorder_;
        recordOut_ = nullptr;
    } else if (replayArmed_) {
        replayer_.emplace(demo_);
        source_ = &*replayer_;
        replayArmed_ = false;
    }
    updates_ = 0;
    tints_ = 0;
    gameMillis_ = 0;
    startLevel(*game_, *this);  // the recording or the replay begins with the start-up's clock reading
    for (StepObserver* o : observers_) o->started(*this);
}

void GameRun::takeScriptStep() {
    if (static_cast<size_t>(updates_) < script_.size()) headless_.apply(script_[static_cast<size_t>(updates_)]);
}

bool GameRun::step(const FrameOutput* output) {
    takeScriptStep();
    runFrame(*game_, *this, output);
    return endStep();
}

bool GameRun::step(const ScriptStep& input, const FrameOutput* output) {
    headless_.apply(input);
    runFrame(*game_, *this, output);
    return endStep();
}

bool GameRun::endStep() {
    ++updates_;
    gameMillis_ += static_cast<uint64_t>(game_->frameDt);
    if (recorder_) recorder_->endUpdate(*game_);
    if (replayer_ && !replayer_->endUpdate(*game_)) return false;
    for (StepObserver* o : observers_) o->stepped(*this);
    if (replayer_) return !replayer_->finished();
    return !scripted_ || static_cast<size_t>(updates_) < script_.size();
}

void GameRun::tintPalette(int startRed) {
    ++tints_;
    platform_.tintPalette(startRed);
}

std::string GameRun::demoWriteProblem() const {
    if (!recorder_ || recorder_->writeProblem().empty()) return {};
    return demoFile_ + ": cannot be written: " + recorder_->writeProblem() + "; the demo keeps its first " +
           std::to_string(recorder_->updatesKept()) + " updates";
}

std::string GameRun::finish() {
    std::string problem;
    if (recorder_ && !recorder_->finish()) {
        problem = demoWriteProblem();
        if (problem.empty()) problem = demoFile_ + ": the demo could not be written completely";
    }
    if (replayer_ && replayer_->diverged()) problem = demoFile_ + ": " + replayer_->error();
    recorder_.reset();
    replayer_.reset();
    recordOut_ = nullptr;
    replayArmed_ = false;
    source_ = &platform_;
    return problem;
}

}  // namespace krello
