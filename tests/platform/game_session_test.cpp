// The session every shell runs: a game played to game over and restarted exactly as at launch (its
// demo ending with it), pause, the quit prompt, and Escape quitting at once without it.
#include "platform/common/game_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "render/render_threads.h"
#include "render/render_view.h"
#include "replay/demo.h"
#include "replay/input_script.h"
#include "replay/state_checksum.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

struct ManualClock final : PacerClock {
    uint64_t now = 5000000;
    uint64_t nowMicros() override { return now; }
    void sleepMicros(uint64_t micros) override { now += micros; }
};

struct NoShots final : ScreenshotSink {
    Result take(const uint8_t*, const Palette&) override { return {}; }
};

struct NoDrawing final : FrameDrawer {
    void draw(const GameState&, uint8_t*) override {}
};

constexpr KeyId GAME_KEYS[GAME_KEY_COUNT] = {KeyId::Left, KeyId::Right, KeyId::Up, KeyId::Down, KeyId::A, KeyId::Space};

class GameSessionTest : public ::testing::Test {
protected:
    void open(const ShellOptions& options) {
        session = std::make_unique<GameSession>(options, clock, shots, drawer);
        ASSERT_EQ(session->start(), 0);
    }
    // One frame dt milliseconds after the last, with these game keys held (bit k: GameKey k).
    void frame(uint16_t dt, uint8_t keys = 0) {
        clock.now += dt * 1000u;
        for (int k = 0; k < GAME_KEY_COUNT; ++k)
            if ((keys >> k) & 1) session->keyDown(GAME_KEYS[k], 0, false);
        session->produceFrame();
        for (int k = 0; k < GAME_KEY_COUNT; ++k)
            if ((keys >> k) & 1) session->keyUp(GAME_KEYS[k]);
    }
    void press(KeyId key) {
        session->keyDown(key, 0, false);
        session->keyUp(key);
    }

    // The loudest sample of the next `ms` milliseconds the session's mixer plays.
    int loudest(int ms) {
        std::vector<int16_t> out(static_cast<size_t>(ms) * 22050 / 1000 * 2);
        session->mixer()->render(out.data(), out.size() / 2);
        int peak = 0;
        for (int16_t s : out) peak = std::max(peak, std::abs(int{s}));
        return peak;
    }

    ManualClock clock;
    NoShots shots;
    NoDrawing drawer;
    std::unique_ptr<GameSession> session;
};

TEST_F(GameSessionTest, EnterAfterGameOverStartsAFreshGameExactlyAsAtLaunchAndEndsItsDemo) {
    const fs::path demo = fs::temp_directory_path() / ("krello-session-" + std::to_string(::getpid()) + ".demo");
    fs::remove(demo);
    ShellOptions options;
    options.demoMode = DemoMode::Record;
    options.demoFile = demo.string();
    open(options);
    const uint64_t launchedAt = clock.now;
    const uint32_t atLaunch = gameStateChecksum(session->game());

    // The tour's keys and frame times, through real key events, until an enemy shot ends the game.
    std::vector<ScriptStep> tour;
    std::string error;
    ASSERT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", tour, error)) << error;
    size_t played = 0;
    for (; played < tour.size() && session->game().gameOver == 0; ++played) {
        frame(tour[played].dt, tour[played].keys);
        if (played == 10) press(KeyId::Enter);  // during play Enter does nothing
    }
    ASSERT_NE(session->game().gameOver, 0);
    ASSERT_GT(session->game().score, 0);
    EXPECT_TRUE(fs::exists(demo));  // written as the game goes

    clock.now = launchedAt;  // the start-up reads the clock: the same reading gives the same game
    press(KeyId::Enter);
    EXPECT_EQ(session->state(), GameSession::State::Running);
    EXPECT_EQ(session->game().score, 0);
    EXPECT_EQ(session->game().gameOver, 0);
    EXPECT_EQ(gameStateChecksum(session->game()), atLaunch);
    EXPECT_EQ(session->message(), "Demo recorded: " + demo.string());
    Demo recorded;
    ASSERT_TRUE(readDemoFile(demo.string(), recorded, error)) << error;
    EXPECT_EQ(recorded.updates.size(), played);  // the first game, and only it
    frame(16);
    EXPECT_EQ(session->finish(), 0);

    // Replayed, the demo shows the game to its last update, the palette turning red with it.
    for (DemoMode mode : {DemoMode::Play, DemoMode::Timedemo}) {
        options.demoMode = mode;
        open(options);
        EXPECT_EQ(session->options().vsync, mode == DemoMode::Play);  // a timedemo runs as fast as it can
        EXPECT_NE(session->pixelLookup()[64], 0xFFFF0000u);
        size_t replayed = 0;
        for (; !session->ended() && replayed <= played; ++replayed) frame(16, keyBit(GameKey::Up));
        EXPECT_EQ(replayed, played);
        EXPECT_NE(session->game().gameOver, 0);
        EXPECT_EQ(session->pixelLookup()[64], 0xFFFF0000u);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(session->finish(), 0);
        const std::string said = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(said.find("timedemo: final state checksum 0x") != std::string::npos, mode == DemoMode::Timedemo);
    }
    fs::remove(demo);
}

TEST_F(GameSessionTest, PauseStopsTheUpdatesAndTheFirstUpdateAfterItClampsItsStep) {
    ShellOptions options;
    open(options);
    frame(16, keyBit(GameKey::Up));
    press(KeyId::P);
    EXPECT_EQ(session->state(), GameSession::State::Paused);
    EXPECT_EQ(session->message(), "Paused");
    const uint32_t paused = gameStateChecksum(session->game());
    for (int i = 0; i < 5; ++i) frame(1000, keyBit(GameKey::Up));
    EXPECT_EQ(gameStateChecksum(session->game()), paused);
    press(KeyId::Pause);
    frame(16);
    EXPECT_EQ(session->state(), GameSession::State::Running);
    EXPECT_EQ(session->game().frameDt, 200);  // as after a restored window: the clock ran on
}

TEST_F(GameSessionTest, EscapeQuitsAtOnceUnlessConfirmQuitAsksFirst) {
    const struct {
        bool confirm;
        std::vector<KeyId> keys;
        GameSession::State after;
    } cases[] = {
        {false, {KeyId::Escape}, GameSession::State::Ended},
        {true, {KeyId::Escape}, GameSession::State::QuitPrompt},
        {true, {KeyId::Escape, KeyId::N}, GameSession::State::Running},
        {true, {KeyId::Escape, KeyId::Y}, GameSession::State::Ended},
        {true, {KeyId::Escape, KeyId::Escape}, GameSession::State::Ended},
        {true, {KeyId::P, KeyId::Escape, KeyId::N}, GameSession::State::Paused},
        {true, {KeyId::Escape, KeyId::Q}, GameSession::State::QuitPrompt},  // other keys wait for an answer
    };
    for (const auto& c : cases) {
        ShellOptions options;
        options.confirmQuit = c.confirm;
        open(options);
        frame(16);
        for (KeyId k : c.keys) press(k);
        EXPECT_EQ(session->state(), c.after) << c.confirm << " " << c.keys.size();
        if (c.after == GameSession::State::QuitPrompt) {
            const uint32_t asking = gameStateChecksum(session->game());
            frame(16);
            EXPECT_EQ(gameStateChecksum(session->game()), asking);  // the game waits for the answer
        }
        if (c.after == GameSession::State::Ended) {
            EXPECT_EQ(session->finish(), 0);
        }
    }
}

TEST_F(GameSessionTest, LosingFocusPausesOnlyWhenSetToAndASignalEndsWithItsStatus) {
    for (bool pauseOnFocusLoss : {false, true}) {
        ShellOptions options;
        options.pauseOnFocusLoss = pauseOnFocusLoss;
        open(options);
        frame(16);
        session->focusLost();
        EXPECT_EQ(session->state(), pauseOnFocusLoss ? GameSession::State::Paused : GameSession::State::Running);
    }
    session->interrupt(130);
    EXPECT_TRUE(session->ended());
    EXPECT_EQ(session->finish(), 130);
}

TEST_F(GameSessionTest, NewSettingsDuringASessionRebindAndAskBeforeQuittingFromThen) {
    open(ShellOptions{});
    frame(16);
    Settings changed;
    changed.confirmQuit = true;
    changed.showFps = true;
    changed.bindings.keys[static_cast<size_t>(Action::Pause)] = {KeyBinding{KeyId::O, 0}};
    session->applySettings(changed);
    EXPECT_TRUE(session->showingFps());
    press(KeyId::P);  // no longer bound
    EXPECT_EQ(session->state(), GameSession::State::Running);
    press(KeyId::O);
    EXPECT_EQ(session->state(), GameSession::State::Paused);
    press(KeyId::O);
    press(KeyId::Escape);
    EXPECT_EQ(session->state(), GameSession::State::QuitPrompt);
    press(KeyId::N);
    EXPECT_EQ(session->state(), GameSession::State::Running);
}

TEST_F(GameSessionTest, SoundIsHeardButTheGameIsTheSameWithItOnOrOff) {
    std::vector<ScriptStep> tour;
    std::string error;
    ASSERT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", tour, error)) << error;
    tour.resize(std::min<size_t>(tour.size(), 700));
    std::vector<uint32_t> states[2];
    for (const bool withSound : {false, true}) {
        ShellOptions options;
        options.sound = withSound;
        clock.now = 5000000;
        open(options);
        ASSERT_EQ(session->mixer() != nullptr, withSound);
        int heard = 0;
        for (size_t i = 0; i < tour.size(); ++i) {
            frame(tour[i].dt, tour[i].keys);
            states[withSound].push_back(gameStateChecksum(session->game()));
            if (withSound) heard = std::max(heard, loudest(tour[i].dt));
            if (i == 350) {  // a pause in the middle: no steps, so nothing of the game is heard
                press(KeyId::P);
                frame(500);
                press(KeyId::P);
            }
        }
        if (withSound) {
            EXPECT_GT(heard, 1000);
        }
    }
    EXPECT_EQ(states[0], states[1]);

    // The session's own sounds, each heard at once; muted, nothing is; a timedemo is silent.
    const struct {
        std::vector<KeyId> keys;
        bool heard;
        const char* message;
    } cases[] = {
        {{KeyId::P}, true, "Paused"},
        {{KeyId::P, KeyId::P}, true, "Paused"},  // and the unpause
        {{KeyId::Escape}, true, ""},             // the quit prompt
        {{KeyId::M, KeyId::P}, false, "Paused"},
        {{KeyId::M}, false, "Sound muted"},
        {{KeyId::M, KeyId::M, KeyId::P}, true, "Paused"},
    };
    for (const auto& c : cases) {
        ShellOptions options;
        options.confirmQuit = true;
        open(options);
        frame(16);
        loudest(100);  // past the mute's glide
        for (KeyId k : c.keys) {
            press(k);
            if (k == KeyId::M) loudest(100);
        }
        EXPECT_EQ(loudest(300) > 1000, c.heard) << c.keys.size() << " " << c.message;
        if (*c.message != 0) {
            EXPECT_EQ(session->message(), c.message);
        }
    }
    ShellOptions options;
    options.demoMode = DemoMode::Timedemo;
    options.demoFile = std::string(KRELLO_SOURCE_DIR) + "/tests/data/none.demo";
    session = std::make_unique<GameSession>(options, clock, shots, drawer);
    EXPECT_EQ(session->mixer(), nullptr);
}

// The page's timedemo draws frames nobody sees without their copy and text, and composes the
// newest of a turn: that picture, the game and the fps line are those of a session that
// composes every frame.
TEST(GameSessionFrames, UnshownFramesThenTheNewestComposedShowWhatComposingEveryFrameShows) {
    ShellOptions options;
    options.showFps = true;
    ManualClock clockA, clockB;
    NoShots shots;
    RenderThreads threadsA(1, RenderPath::Scalar), threadsB(1, RenderPath::Scalar);
    ViewDrawer drawerA(&threadsA), drawerB(&threadsB);
    GameSession every(options, clockA, shots, drawerA), newest(options, clockB, shots, drawerB);
    ASSERT_EQ(every.start(), 0);
    ASSERT_EQ(newest.start(), 0);
    std::vector<uint8_t> before(newest.shownFrame(), newest.shownFrame() + FRAME_BYTES);
    for (int turn : {1, 7, 60}) {  // frames in a turn; 68 frames of 14 ms bring the fps text
        for (int f = 0; f < turn; ++f) {
            for (GameSession* s : {&every, &newest}) s->keyDown(f % 3 ? KeyId::Up : KeyId::Left, 0, false);
            clockA.now += 14000;
            clockB.now += 14000;
            every.produceFrame();
            newest.produceUnshownFrame(clockB.now);
            for (GameSession* s : {&every, &newest}) s->keyUp(f % 3 ? KeyId::Up : KeyId::Left);
        }
        EXPECT_TRUE(std::equal(before.begin(), before.end(), newest.shownFrame())) << "unshown frames leave the copy alone";
        newest.composeShown();
        EXPECT_EQ(gameStateChecksum(every.game()), gameStateChecksum(newest.game()));
        EXPECT_TRUE(std::equal(every.shownFrame(), every.shownFrame() + FRAME_BYTES, newest.shownFrame())) << "after a turn of " << turn;
        EXPECT_FALSE(std::equal(every.renderedFrame(), every.renderedFrame() + FRAME_BYTES, every.shownFrame())) << "text over it";
        before.assign(newest.shownFrame(), newest.shownFrame() + FRAME_BYTES);
    }
}

}  // namespace
}  // namespace krello
