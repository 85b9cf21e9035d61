// A fixed ring of commands from one thread to another, without locks and without allocation.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace krello::sound {

// One producer (the game's thread) pushes, one consumer (the audio thread) pops. Each side
// writes only its own index; the release store of an index publishes the slots behind it, so
// a popped command is always whole. Full means the push is refused, never that it waits.
template <typename T, size_t N>
class CommandQueue {
    static_assert((N & (N - 1)) == 0, "the ring's size must be a power of two");
    static_assert(std::atomic<uint32_t>::is_always_lock_free);

public:
    bool push(const T& value) {
        const uint32_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) return false;
        slots_[tail & (N - 1)] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    bool pop(T& value) {
        const uint32_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        value = slots_[head & (N - 1)];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    std::array<T, N> slots_{};
    std::atomic<uint32_t> head_{0};  // next slot to pop; the consumer's
    std::atomic<uint32_t> tail_{0};  // next slot to fill; the producer's
};

}  // namespace krello::sound
