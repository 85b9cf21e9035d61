// The page's test hook: an input script run headless on the built-in level, as krello-tool runs
// it, so a browser's states and frames can be compared with the desktop's bit for bit.
#include "platform/web/script_check.h"

#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "render/render_view.h"
#include "replay/crc32.h"
#include "replay/headless_platform.h"
#include "replay/input_script.h"
#include "replay/state_dump.h"

namespace krello {

bool ScriptCheck::loadLevel() {
    if (levelLoaded_) return true;
    std::vector<std::string> problems;
    levelLoaded_ = loadSessionLevel("", level_, problems);
    if (!levelLoaded_) text_ = "error: the built-in level: " + (problems.empty() ? "" : problems.front());
    return levelLoaded_;
}

const std::string& ScriptCheck::run(std::string_view script, long frames, long stateEvery) {
    text_.clear();
    if (!loadLevel()) return text_;
    std::vector<ScriptStep> steps;
    std::string error;
    if (!parseInputScript(script, "script", steps, error)) return text_ = "error: " + error;
    const long length = static_cast<long>(steps.size());
    if (frames < 0) frames = length;
    if (frames > length) {
        return text_ = "error: script: holds " + std::to_string(length) + " updates, asked for " +
                       std::to_string(frames);
    }
    game_ = GameState{};
    loadLevelInto(game_, level_);
    frame_.fill(0);
    HeadlessPlatform platform;  // the clock reads 0 at the level start-up
    startLevel(game_, platform);
    ViewDrawer drawer;  // this thread alone, as krello-tool draws without --threads
    const FrameOutput output{&drawer, frame_.data()};
    for (long i = 0; i < frames; ++i) {
        platform.apply(steps[static_cast<size_t>(i)]);
        runFrame(game_, platform, &output);
        const long update = i + 1;
        if ((stateEvery > 0 && update % stateEvery == 0) || update == frames)
            appendStateDump(text_, game_, update, platform.tintCount);
    }
    if (frames == 0) appendStateDump(text_, game_, 0, platform.tintCount);
    return text_;
}

const std::string& ScriptCheck::frameCrc() { return crcText_ = crc32Text(crc32(frame_)); }

}  // namespace krello
