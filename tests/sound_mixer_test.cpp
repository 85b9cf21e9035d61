// The mixer and the listener: buffers of any length, sounds as made, volume and mute, voices
// and their stealing, the limiter, the queue between threads, and where a sound is heard from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <vector>

#include "sound/command_queue.h"
#include "sound/listener.h"
#include "sound/mixer.h"

namespace krello::sound {
namespace {

PlayCommand sound(SoundId id, int32_t left, int32_t right, uint8_t priority = 5) {
    return PlayCommand{PlayCommand::Kind::Play, id, priority, StereoGain{left, right}};
}

std::vector<int16_t> render(Mixer& m, size_t frames) {
    std::vector<int16_t> out(frames * 2);
    m.render(out.data(), frames);
    return out;
}

TEST(SoundMixer, AnyBufferLengthGivesTheSameSound) {
    const SoundBank bank;
    Mixer whole(bank);
    Mixer pieces(bank);
    const PlayCommand plays[][2] = {
        {sound(SoundId::PlayerHit, 30000, 20000), sound(SoundId::EnemyFire, 9000, 26000)},
        {sound(SoundId::Land, 32768, 32768), sound(SoundId::StepB, 5000, 4000)},
        {sound(SoundId::EnemyHit, 20000, 20000), sound(SoundId::Respawn, 12000, 3000)},
    };
    const size_t sizes[] = {1, 7, 256, 661, 1000, 3, 255, 257};
    std::vector<int16_t> a, b;
    for (const auto& pair : plays) {
        for (const PlayCommand& c : pair) {
            whole.play(c);
            pieces.play(c);
        }
        const auto w = render(whole, 4410);
        a.insert(a.end(), w.begin(), w.end());
        for (size_t done = 0, k = 0; done < 4410; ++k) {
            const size_t n = std::min(sizes[k % std::size(sizes)], 4410 - done);
            const auto p = render(pieces, n);
            b.insert(b.end(), p.begin(), p.end());
            done += n;
        }
    }
    EXPECT_EQ(a, b);
    EXPECT_NE(std::count(a.begin(), a.end(), 0), static_cast<long>(a.size()));
}

TEST(SoundMixer, ALoneSoundComesOutAsMadeFromTheFirstFrameAndEnds) {
    const SoundBank bank;
    Mixer m(bank);
    m.play(sound(SoundId::PlayerFire, 16384, 8192));
    const auto samples = bank.samples(SoundId::PlayerFire);
    const auto out = render(m, samples.size() + 100);
    for (size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(out[2 * i], (samples[i] * 16384) >> 15) << i;
        ASSERT_EQ(out[2 * i + 1], (samples[i] * 8192) >> 15) << i;
    }
    for (size_t i = samples.size() * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 0);
    EXPECT_EQ(m.activeVoices(), 0);
}

TEST(SoundMixer, VolumeFollowsASquareLawGlidesAndMuteKeepsIt) {
    const SoundBank bank;
    Mixer full(bank);
    Mixer half(bank);
    for (Mixer* m : {&full, &half}) m->play(sound(SoundId::PlayerHit, 20000, 20000));
    render(full, 100);
    render(half, 100);
    half.setVolume(50);
    const auto a = render(full, 4000);
    const auto b = render(half, 4000);
    for (size_t i = 2 * 441; i < a.size(); ++i) ASSERT_LE(std::abs(a[i] / 4 - b[i]), 1) << i;
    // The change glides over 20 ms instead of stepping: the first frame is still near full.
    ASSERT_GT(std::abs(a[0]), 100);
    EXPECT_GE(std::abs(b[0]) * 4, std::abs(a[0]) * 3);

    half.setMuted(true);
    EXPECT_TRUE(half.muted());
    EXPECT_EQ(half.volume(), 50);
    const auto muted = render(half, 2000);
    for (size_t i = 2 * 441; i < muted.size(); ++i) ASSERT_EQ(muted[i], 0) << i;
    half.setMuted(false);
    const auto back = render(half, 2000);
    EXPECT_GT(*std::max_element(back.begin() + 2 * 441, back.end()), 0);

    const std::pair<int, int> clamps[] = {{150, 100}, {-5, 0}, {0, 0}, {100, 100}, {37, 37}};
    for (const auto& [asked, kept] : clamps) {
        half.setVolume(asked);
        EXPECT_EQ(half.volume(), kept) << asked;
    }
}

TEST(SoundMixer, AllVoicesBusyTheMoreImportantSoundTakesOne) {
    const SoundBank bank;
    const size_t respawnEnds = bank.samples(SoundId::Respawn).size() + 10;
    struct Case {
        uint8_t priority;
        int stillPlaying;  // after the respawns have ended
    } cases[] = {{9, 1}, {5, 1}, {1, 0}};
    for (const Case& c : cases) {
        Mixer m(bank);
        for (int i = 0; i < Mixer::VOICES; ++i) m.play(sound(SoundId::Respawn, 8000, 8000, 5));
        render(m, 10);
        EXPECT_EQ(m.activeVoices(), Mixer::VOICES);
        m.play(sound(SoundId::PlayerHit, 8000, 8000, c.priority));
        render(m, respawnEnds);
        EXPECT_EQ(m.activeVoices(), c.stillPlaying) << int(c.priority);
    }
}

TEST(SoundMixer, StopAllSilencesAndAFullQueueRefuses) {
    const SoundBank bank;
    Mixer m(bank);
    m.play(sound(SoundId::PlayerHit, 20000, 20000));
    render(m, 100);
    m.stopAll();
    const auto out = render(m, 100);
    EXPECT_EQ(std::count(out.begin(), out.end(), 0), static_cast<long>(out.size()));
    EXPECT_EQ(m.activeVoices(), 0);
    for (int i = 0; i < Mixer::QUEUE; ++i) EXPECT_TRUE(m.play(sound(SoundId::Jump, 100, 100))) << i;
    EXPECT_FALSE(m.play(sound(SoundId::Jump, 100, 100)));
    render(m, 1);
    EXPECT_TRUE(m.play(sound(SoundId::Jump, 100, 100)));
}

// Sixteen loud sounds at once bend into full scale: never past it, never wrapped round.
TEST(SoundMixer, ACrowdIsLimitedNotClipped) {
    const SoundBank bank;
    Mixer m(bank);
    for (int i = 0; i < Mixer::VOICES; ++i) m.play(sound(SoundId::PlayerHit, 32768, 32768));
    const auto s = bank.samples(SoundId::PlayerHit);
    const auto out = render(m, s.size());
    int loudest = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        ASSERT_EQ(out[2 * i] > 0, s[i] > 0) << i;
        ASSERT_EQ(out[2 * i] < 0, s[i] < 0) << i;
        loudest = std::max(loudest, std::abs(static_cast<int>(out[2 * i])));
    }
    EXPECT_GT(loudest, 30000);
    EXPECT_LE(loudest, 32767);
}

TEST(SoundMixer, TheQueueHandsEveryCommandOverInOrderBetweenThreads) {
    constexpr uint32_t COUNT = 200000;
    CommandQueue<uint32_t, 64> queue;
    std::thread producer([&] {
        for (uint32_t i = 0; i < COUNT; ++i)
            while (!queue.push(i)) std::this_thread::yield();
    });
    uint32_t expected = 0;
    uint32_t value = 0;
    while (expected < COUNT) {
        if (queue.pop(value)) {
            ASSERT_EQ(value, expected);
            ++expected;
        } else {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_FALSE(queue.pop(value));
}

// Where a sound is heard from. Headings grow turning right, so facing +x, +y is on the right.
TEST(SoundListener, PanAndLoudnessFollowBearingAndDistance) {
    enum Side { Left, Centre, Right };
    struct Case {
        int16_t heading;
        int32_t dx, dy;
        Side side;
    } cases[] = {
        {0, 3000, 0, Centre},    {0, 0, 3000, Right},     {0, 0, -3000, Left},  {512, 3000, 0, Left},
        {1024, 0, 3000, Left},   {1536, 3000, 0, Right},  {0, -3000, 0, Centre}, {0, 10, 10, Centre},
    };
    const PlayerState origin{100000, 200000, -8000, 0, 0};
    for (const Case& c : cases) {
        PlayerState p = origin;
        p.angle = c.heading;
        const StereoGain g = placeSound(p, p.x + c.dx, p.y + c.dy);
        SCOPED_TRACE(testing::Message() << c.heading << " " << c.dx << " " << c.dy);
        const Side heard = g.right > 2 * g.left ? Right : g.left > 2 * g.right ? Left : Centre;
        EXPECT_EQ(heard, c.side);
        if (c.side == Centre) {
            EXPECT_LE(std::abs(g.left - g.right), 1);
        }
        EXPECT_GT(g.left, 0);  // never wholly in one ear
        EXPECT_GT(g.right, 0);
    }
    const auto loudness = [&](int32_t dx, int32_t dy) {
        const StereoGain g = placeSound(origin, origin.x + dx, origin.y + dy);
        return g.left + g.right;
    };
    EXPECT_EQ(loudness(0, 0), loudness(1000, 0)) << "full loudness near the player";
    EXPECT_GT(loudness(2000, 0), loudness(4000, 0));
    EXPECT_GT(loudness(4000, 0), loudness(12000, 0));
    EXPECT_GT(loudness(12000, 0), 0);
    EXPECT_EQ(loudness(16000, 0), 0) << "silent where far enemies are taken away";
    EXPECT_EQ(loudness(0, -40000), 0);
    EXPECT_GT(loudness(3000, 0), loudness(-3000, 0)) << "softer behind";
    // Distances hold for points as far apart as 32-bit coordinates allow.
    EXPECT_EQ(planarDistance(-2147483647 - 1, 0, 2147483647, 0), 4294967295LL - 1);
    EXPECT_EQ(planarDistance(0, 0, 3, 4), 5);
}

}  // namespace
}  // namespace krello::sound
