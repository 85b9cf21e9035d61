// The page's test hook: an input script run headless on the built-in level, as krello-tool runs
// it, so a browser's states and frames can be compared with the desktop's bit for bit.
#include "platform/web/script_check.h"

#include <memory>
#include <utility>
#include <vector>

#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/game_run.h"
#include "replay/input_script.h"
#include "replay/state_dump.h"

namespace krello {

const std::string& ScriptCheck::run(std::string_view script, long frames, long stateEvery) {
    text_.clear();
    std::vector<ScriptStep> steps;
    std::string error;
    if (!parseInputScript(script, "script", steps, error)) return text_ = "error: " + error;
    const long length = static_cast<long>(steps.size());
    if (frames < 0) frames = length;
    if (frames > length) {
        return text_ = "error: script: holds " + std::to_string(length) + " updates, asked for " +
                       std::to_string(frames);
    }
    auto game = std::make_unique<GameRun>();  // a fresh run: the clock reads 0 at the level start-up
    std::vector<std::string> problems;
    if (!game->loadLevel("", problems))
        return text_ = "error: the built-in level: " + (problems.empty() ? "" : problems.front());
    game->useScript(std::move(steps));
    StateDumps dumps(stateEvery, frames);
    game->watch(dumps);
    frame_.fill(0);
    ViewDrawer drawer;  // this thread alone, as krello-tool draws without --threads
    const FrameOutput output{&drawer, frame_.data()};
    game->start();
    for (long i = 0; i < frames && game->step(&output); ++i) {
    }
    return text_ = dumps.text();
}

const std::string& ScriptCheck::frameCrc() { return crcText_ = crc32Text(crc32(frame_)); }

}  // namespace krello
