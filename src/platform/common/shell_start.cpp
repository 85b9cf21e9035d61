// The life of a desktop shell in its fixed order: renderer, session, window, play, finish.
#include "platform/common/shell_start.h"

#include <cstdio>
#include <memory>

#include "platform/common/frame_pacer.h"
#include "platform/common/screenshot.h"
#include "platform/common/shell_renderer.h"

namespace krello {

int runShell(const ShellOptions& options, ShellWindow& window) {
    ShellRenderer renderer;
    if (std::string bad = renderer.open(options.threads); !bad.empty()) {
        std::fprintf(stderr, "krello: %s\n", bad.c_str());
        return 2;
    }
    SteadyPacerClock clock;
    ScreenshotTaker shots(options.shotDir);
    auto session = std::make_unique<GameSession>(options, clock, shots, renderer.drawer());
    session->mapWallsDrawnBy(renderer.threads());
    if (const int status = session->start(); status != 0) return status;
    if (!window.open(*session).empty()) {
        session->abandon();
        return 1;
    }
    window.play(*session);
    return session->finish();
}

}  // namespace krello
