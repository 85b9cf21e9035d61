// One frame of the game in its fixed order: marks reset, update, object sort, then the drawing.
#include "game/frame.h"

#include "game/object_sort.h"
#include "game/update_game.h"

namespace krello {
namespace {

// A portal crossed in an update is marked -2 and closed to the rest of that update's scans;
// each frame's update starts with every portal open again. Only marks that are set are written:
// a store dirties its cache line even when the value stays, and the walls' lines are what the
// drawing threads read next.
void clearMarks(GameState& g) {
    for (Wall& w : g.walls)
        if (w.mark != -1) w.mark = -1;
}

void draw(GameState& g, const FrameOutput* output) {
    if (output != nullptr && output->drawer != nullptr && output->buffer != nullptr)
        output->drawer->draw(g, output->buffer);
}

}  // namespace

void runFrame(GameState& g, PlatformSeam& platform, const FrameOutput* output) {
    clearMarks(g);
    updateGame(g, platform);
    sortObjects(g);
    draw(g, output);
}

void drawStill(GameState& g, const FrameOutput& output) {
    clearMarks(g);
    sortObjects(g);
    draw(g, &output);
}

}  // namespace krello
