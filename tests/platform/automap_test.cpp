// The automap: only seen walls are drawn, where they lie around the player, and the game and the
// rendered frame are the same with the map on or off.
#include "platform/common/automap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/common/game_session.h"
#include "render/render_view.h"
#include "replay/game_run.h"
#include "replay/state_checksum.h"
#include "tour/tour_views.h"

namespace krello {
namespace {

double distanceToSegment(double px, double py, MapPoint a, MapPoint b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 == 0.0 ? 0.0 : std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0, 1.0);
    return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

uint8_t dimmed(uint8_t p) { return static_cast<uint8_t>((p & 0xC0) | ((p & 63) >> 2)); }

TEST(Automap, DrawsOnlySeenWallsWhereTheyLieAndThePlayerAtTheCentre) {
    GameRun run;
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    run.start();
    GameState g = run.game();
    g.player.angle = 300;  // not a right angle, so turning and north-up differ

    const struct {
        bool turns, fourByThree;
        int seenEvery;  // walls w with w % seenEvery == 0 are seen; 0: none
        int zoomOuts;
    } cases[] = {{false, true, 3, 0}, {true, true, 2, 1}, {true, false, 1, 3}, {false, false, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "turns " << c.turns << " 4:3 " << c.fourByThree << " every " << c.seenEvery);
        Automap map(c.turns, c.fourByThree);
        for (int i = 0; i < c.zoomOuts; ++i) map.zoomOut();
        std::vector<int> seen;
        for (int w = 0; c.seenEvery > 0 && w < WALL_COUNT; w += c.seenEvery) {
            map.see(w);
            seen.push_back(w);
        }
        std::vector<uint8_t> frame(FRAME_BYTES);
        for (int i = 0; i < FRAME_BYTES; ++i) frame[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7);
        const std::vector<uint8_t> before = frame;
        map.draw(frame.data(), g);

        int wallPixels = 0;
        for (int i = 0; i < FRAME_BYTES; ++i) {
            const uint8_t p = frame[static_cast<size_t>(i)];
            const int x = i % SCREEN_WIDTH;
            const int y = i / SCREEN_WIDTH;
            if (p == Automap::PLAYER_COLOUR) {
                EXPECT_LE(std::hypot(x - 160, y - 100), 8.0) << x << "," << y;
                continue;
            }
            if (p != Automap::SOLID_COLOUR && p != Automap::STEP_COLOUR) {
                EXPECT_EQ(p, dimmed(before[static_cast<size_t>(i)])) << x << "," << y;
                continue;
            }
            ++wallPixels;
            // Every wall pixel lies on a seen wall of its kind.
            double nearest = 1e9;
            for (const int w : seen) {
                const Wall& wall = g.walls[static_cast<size_t>(w)];
                if ((wall.otherWall < 0) != (p == Automap::SOLID_COLOUR)) continue;
                const Wall& next = g.walls[static_cast<size_t>(wall.point2)];
                nearest = std::min(nearest, distanceToSegment(x, y, map.place(g, wall.x, wall.y), map.place(g, next.x, next.y)));
            }
            EXPECT_LE(nearest, 1.5) << "pixel " << x << "," << y << " is on no seen wall";
        }
        if (c.seenEvery == 0) EXPECT_EQ(wallPixels, 0);
        else EXPECT_GT(wallPixels, 100);
    }
}

struct StepClock final : PacerClock {
    uint64_t now = 1000000;
    uint64_t nowMicros() override { return now; }
    void sleepMicros(uint64_t micros) override { now += micros; }
};

struct NoShots final : ScreenshotSink {
    Result take(const uint8_t*, const Palette&) override { return {}; }
};

// Two sessions on the same clock and keys, one with the map shown and zoomed: the same game and
// the same rendered frame; only the shown copy differs.
TEST(Automap, ShownOverTheSessionItChangesNeitherTheGameNorTheRenderedFrame) {
    StepClock clockA, clockB;
    NoShots shots;
    RenderThreads threadsA(1, RenderPath::Scalar), threadsB(1, RenderPath::Scalar);
    ViewDrawer drawerA(&threadsA), drawerB(&threadsB);
    GameSession plain(ShellOptions{}, clockA, shots, drawerA);
    GameSession mapped(ShellOptions{}, clockB, shots, drawerB);
    plain.mapWallsDrawnBy(threadsA);
    mapped.mapWallsDrawnBy(threadsB);
    ASSERT_EQ(plain.start(), 0);
    ASSERT_EQ(mapped.start(), 0);
    mapped.keyDown(KeyId::Tab, 0, false);
    mapped.keyUp(KeyId::Tab);
    for (int i = 0; i < 8; ++i) {  // + stops at the closest
        mapped.keyDown(KeyId::Equals, 0, false);
        mapped.keyUp(KeyId::Equals);
    }
    EXPECT_TRUE(mapped.automap().shown());
    EXPECT_EQ(mapped.automap().zoom(), Automap::CLOSEST_ZOOM);

    const int16_t startAngle = plain.game().player.angle;
    for (int f = 0; f < 40; ++f) {
        for (GameSession* s : {&plain, &mapped}) s->keyDown(f < 20 ? KeyId::Up : KeyId::Keypad4, 0, false);
        clockA.now += 14000;
        clockB.now += 14000;
        plain.produceFrame();
        mapped.produceFrame();
        for (GameSession* s : {&plain, &mapped}) s->keyUp(f < 20 ? KeyId::Up : KeyId::Keypad4);
    }
    EXPECT_EQ(gameStateChecksum(plain.game()), gameStateChecksum(mapped.game()));
    EXPECT_NE(plain.game().player.angle, startAngle) << "the keypad's 4 turns as Left does";
    EXPECT_TRUE(std::equal(plain.renderedFrame(), plain.renderedFrame() + FRAME_BYTES, mapped.renderedFrame()));
    const int mapPixels = static_cast<int>(std::count(mapped.shownFrame(), mapped.shownFrame() + FRAME_BYTES, Automap::SOLID_COLOUR));
    EXPECT_GT(mapPixels, 20) << "the walls in view are on the map";
    int walls = 0;
    for (int w = 0; w < WALL_COUNT; ++w) walls += mapped.automap().seen(w);
    EXPECT_GT(walls, 0);
    EXPECT_LT(walls, WALL_COUNT / 2) << "only what was in view";
}

// The map reads only the walls of the sectors the frame looked in and their back sides. What it
// marks seen must be every wall a frame found, whichever thread found it, frame after frame, on
// every path: the same as the whole table of one thread drawing alone, a thread that has not
// drawn yet (its scratch not warmed up) adding nothing.
TEST(Automap, NotesExactlyTheWallsTheFramesFound) {
    GameRun run;
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    run.start();
    auto g = std::make_unique<GameState>(run.game());
    std::vector<uint8_t> frame(FRAME_BYTES);
    const struct {
        int threads;
        RenderPath path;
        bool warmedUp;
    } cases[] = {{1, RenderPath::Scalar, false}, {2, RenderPath::Scalar, true}, {2, RenderPath::Scalar, false},
                 {1, bestRenderPath(), true}, {3, bestRenderPath(), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.threads << " threads, path " << static_cast<int>(c.path) << " warmed up " << c.warmedUp);
        RenderThreads alone(1, RenderPath::Scalar), threads(c.threads, c.path);
        Automap map(false, false);
        std::vector<bool> found(WALL_COUNT, false);  // alone's whole table read, frame by frame
        int frames = 0;
        for (const TourView& view : tourViews()) {
            ASSERT_TRUE(placeViewer(*g, view)) << view.name;
            if (frames == 0 && c.warmedUp) threads.warmUp(*g);
            for (int turn = 0; turn < 4; ++turn, ++frames) {
                g->player.angle = static_cast<int16_t>((view.angle + turn * 512) & 2047);
                drawView(*g, frame.data(), &threads);
                map.noteDrawn(threads, *g);
                drawView(*g, frame.data(), &alone);
                for (int w = 0; w < WALL_COUNT; ++w)
                    if (alone.scratch(0).marks[static_cast<size_t>(w)] >= 0) found[static_cast<size_t>(w)] = true;
                int differ = 0;
                for (int w = 0; w < WALL_COUNT; ++w) differ += map.seen(w) != found[static_cast<size_t>(w)];
                ASSERT_EQ(differ, 0) << view.name << " turned " << turn;
            }
        }
        EXPECT_GT(std::count(found.begin(), found.end(), true), WALL_COUNT / 4) << "the views see much of the level";
        EXPECT_GT(frames, 8);
    }
}

}  // namespace
}  // namespace krello
