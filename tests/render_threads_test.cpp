// A frame does not depend on which thread drew which column, nor in what order: columns dealt out
// in random pieces to several scratches, and frames drawn by threads while a busy thread competes
// for the cores (so pieces are taken back from late threads, or frames drawn alone), after the
// threads were readied on another view, give the one thread's bytes.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "game/frame.h"
#include "game/start_level.h"
#include "level/builtin_level.h"
#include "render/render_threads.h"
#include "render/render_view.h"
#include "render/sharing_choice.h"
#include "replay/headless_platform.h"
#include "tour/tour_views.h"

namespace krello {
namespace {

// The built-in level after start-up, one copy per tour view with the viewer placed.
std::vector<std::unique_ptr<GameState>> tourGames() {
    auto started = std::make_unique<GameState>();
    loadBuiltinLevel(*started);
    HeadlessPlatform platform;
    startLevel(*started, platform);
    std::vector<std::unique_ptr<GameState>> games;
    for (const TourView& view : tourViews()) {
        games.push_back(std::make_unique<GameState>(*started));
        EXPECT_TRUE(placeViewer(*games.back(), view));
    }
    return games;
}

std::vector<uint8_t> oneThreadFrame(GameState& g) {
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    ViewDrawer drawer;
    drawStill(g, FrameOutput{&drawer, frame.data()});
    return frame;
}

TEST(RenderSchedules, ColumnsDealtOutInAnyOrderGiveTheSameFrame) {
    auto games = tourGames();
    uint32_t seed = 3;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    std::vector<ColumnScratch> scratches(3);
    for (auto& g : games) {
        const std::vector<uint8_t> expected = oneThreadFrame(*g);
        std::vector<uint8_t> frame(FRAME_BYTES, 0);
        const FrameView view(*g, frame.data(), bestRenderPath());
        // Pieces of 1 to 9 columns, from either end, each to one of the scratches at random.
        for (ColumnScratch& s : scratches) s.startFrame();
        int front = 0;
        int back = SCREEN_WIDTH;
        while (front < back) {
            const int n = std::min(back - front, static_cast<int>(next() % 9) + 1);
            ColumnScratch& s = scratches[next() % scratches.size()];
            if (next() & 1) {
                drawColumns(view, s, front, front + n);
                front += n;
            } else {
                drawColumns(view, s, back - n, back);
                back -= n;
            }
        }
        ASSERT_EQ(frame, expected);
    }
}

TEST(RenderSchedules, ThreadsCompetingWithABusyThreadDrawTheSameFrames) {
    auto games = tourGames();
    std::vector<std::vector<uint8_t>> expected;
    for (auto& g : games) expected.push_back(oneThreadFrame(*g));
    std::atomic<bool> stop{false};
    std::thread busy([&stop] {
        while (!stop.load(std::memory_order_relaxed)) {
        }
    });
    for (int count : {2, 3}) {
        RenderThreads threads(count, bestRenderPath());
        ViewDrawer drawer(&threads);
        drawer.warmUp(*games.back());  // readied on another view than the first drawn
        std::vector<uint8_t> frame(FRAME_BYTES, 0);
        for (int round = 0; round < 20; ++round) {
            for (size_t i = 0; i < games.size(); ++i) {
                drawStill(*games[i], FrameOutput{&drawer, frame.data()});
                ASSERT_EQ(frame, expected[i]) << count << " threads, view " << i;
            }
        }
    }
    stop.store(true);
    busy.join();
}

// The choice of who draws, fed frame costs: it must settle on whichever way is cheaper by the
// margin, come back to sharing when sharing pays again, and not be swayed for long by frames the
// host stalled.
TEST(RenderSharingChoice, SettlesOnTheCheaperWay) {
    struct Case {
        const char* what;
        double alone, shared;  // a frame's cost each way, before frame `change`
        double aloneAfter, sharedAfter;  // and from it on
        int change;
        int stallEvery;        // shared frames where the caller slept for a piece (0: none)
        int hostStallEvery;    // frames between two that cost 100 times as much (0: none)
        double leastShared, mostShared;  // share of the last 1,000 of 6,000 frames shared
    };
    const Case cases[] = {
        {"sharing pays", 100, 60, 100, 60, 0, 0, 0, 0.97, 0.99},
        {"sharing costs", 100, 110, 100, 110, 0, 0, 0, 0.0, 0.02},
        {"sharing saves less than its risk", 100, 95, 100, 95, 0, 0, 0, 0.0, 0.02},
        {"sharing saves more than its risk", 100, 88, 100, 88, 0, 0, 0, 0.97, 0.99},
        {"every shared frame stalls", 100, 60, 100, 60, 0, 1, 0, 0.0, 0.02},
        {"a stall now and then", 100, 60, 100, 60, 0, 200, 0, 0.9, 0.99},
        {"the host stalls a frame now and then", 100, 60, 100, 60, 0, 0, 100, 0.9, 0.99},
        {"the other program stops", 100, 130, 100, 60, 4000, 0, 0, 0.97, 0.99},
        {"another program starts", 100, 60, 100, 130, 4000, 0, 0, 0.0, 0.02},
        {"frames get dearer both ways", 100, 60, 300, 180, 3000, 0, 0, 0.97, 0.99},
    };
    for (const Case& c : cases) {
        SharingChoice choice;
        int sharedFrames = 0;
        int sharedInLast = 0;
        for (int f = 0; f < 6000; ++f) {
            const bool shared = choice.shareNext();
            const bool after = f >= c.change && c.change > 0;
            double cost = shared ? (after ? c.sharedAfter : c.shared) : (after ? c.aloneAfter : c.alone);
            if (c.hostStallEvery > 0 && f % c.hostStallEvery == 0) cost *= 100;
            const bool stalled = shared && c.stallEvery > 0 && ++sharedFrames % c.stallEvery == 0;
            choice.drawn(shared, cost, stalled);
            if (f >= 5000) sharedInLast += shared;
        }
        const double share = sharedInLast / 1000.0;
        EXPECT_GE(share, c.leastShared) << c.what;
        EXPECT_LE(share, c.mostShared) << c.what;
    }
}

// How idle workers wait: busily while a busy-waiting worker comes promptly to the shared frames and
// the caller keeps its core, asleep for stretches while the worker often comes late or the caller
// is taken off its core (the cores are contested), and busily again once they are free; a rare
// late arrival or stalled frame (the host's) must not put it to sleep.
TEST(RenderSharingChoice, WorkersSleepBetweenFramesOnlyWhileTheirCoreIsContested) {
    struct Case {
        const char* what;
        int lateEvery, lateEveryAfter;  // arrivals between two late ones (0: none late), before
        int change;                     // frame `change` and from it on
        int stallEvery;                 // busy-waiting shared frames between two stalled (0: none)
        double leastBusy, mostBusy;     // share of the last 1,000 of 6,000 frames waited busily
    };
    const Case cases[] = {
        {"always prompt", 0, 0, 0, 0, 1.0, 1.0},
        {"late one time in a hundred", 100, 100, 0, 0, 1.0, 1.0},
        {"always late", 1, 1, 0, 0, 0.0, 0.05},
        {"late one time in three", 3, 3, 0, 0, 0.0, 0.05},
        {"another program starts", 0, 2, 3000, 0, 0.0, 0.05},
        {"the other program stops", 2, 0, 3000, 0, 1.0, 1.0},
        {"the caller taken off its core now and then", 0, 0, 0, 60, 0.0, 0.05},
        {"the host stalls a frame now and then", 0, 0, 0, 1000, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        SharingChoice choice;
        int arrivals = 0;
        int busyShared = 0;
        int busyInLast = 0;
        for (int f = 0; f < 6000; ++f) {
            const bool shared = choice.shareNext();
            const bool busily = choice.waitBusily();
            if (shared && busily) {
                const int every = f >= c.change && c.change > 0 ? c.lateEveryAfter : c.lateEvery;
                choice.workerCame(every == 0 || ++arrivals % every != 0);
            }
            const bool stall = shared && busily && c.stallEvery > 0 && ++busyShared % c.stallEvery == 0;
            choice.drawn(shared, stall ? 6000 : shared ? 60 : 100, false);
            if (f >= 5000) busyInLast += busily;
        }
        const double share = busyInLast / 1000.0;
        EXPECT_GE(share, c.leastBusy) << c.what;
        EXPECT_LE(share, c.mostBusy) << c.what;
    }
}

}  // namespace
}  // namespace krello
