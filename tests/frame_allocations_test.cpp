// Nothing is allocated per frame: 1,000 frames of the tour, updated, drawn on two threads and
// heard, with every operator new of the test program counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "render/render_threads.h"
#include "render/render_view.h"
#include "replay/game_run.h"
#include "replay/input_script.h"
#include "sound/game_sound.h"

namespace {

std::atomic<long> allocations{0};

void* counted(std::size_t size, std::size_t alignment = 0) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = alignment > alignof(std::max_align_t) ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                                                     : std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void* operator new(std::size_t size, std::align_val_t a) { return counted(size, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t size, std::align_val_t a) { return counted(size, static_cast<std::size_t>(a)); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace krello {
namespace {

TEST(FrameAllocations, AThousandDrawnFramesAllocateNothing) {
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(readInputScriptFile(std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input", steps, error)) << error;
    ASSERT_GE(steps.size(), 1000u);
    GameRun run;
    std::vector<std::string> problems;
    ASSERT_TRUE(run.loadLevel("", problems));
    run.useScript(std::move(steps));
    run.start();
    std::vector<uint8_t> frame(FRAME_BYTES, 0);
    RenderThreads threads(2, bestRenderPath());
    ViewDrawer drawer(&threads);
    const FrameOutput output{&drawer, frame.data()};
    const sound::SoundBank bank;
    sound::Mixer mixer(bank);
    sound::GameSound heard(mixer);
    heard.restart(run.game());
    // The sound listens after every step, as a shell's does.
    struct Listener final : StepObserver {
        explicit Listener(sound::GameSound& s) : listening(s) {}
        void stepped(const GameRun& r) override { listening.afterFrame(r.game()); }
        sound::GameSound& listening;
    } listener(heard);
    run.watch(listener);
    std::vector<int16_t> pcm(2 * 661);  // about 30 ms, as a back end pulls

    const long before = allocations.load();
    for (size_t i = 0; i < 1000; ++i) {
        run.step(&output);
        mixer.render(pcm.data(), 661);
    }
    const long during = allocations.load() - before;
    EXPECT_EQ(during, 0);
    EXPECT_EQ(run.updates(), 1000);

    // The count does see allocations: making threads allocates.
    { RenderThreads more(2, bestRenderPath()); }
    EXPECT_GT(allocations.load() - before, 0);
}

}  // namespace
}  // namespace krello
