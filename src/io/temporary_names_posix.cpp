// The temporary files a program has made, kept where a signal handler can reach them without allocating.
#include "io/temporary_names.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pthread.h>
#include <unistd.h>

namespace krello::io {
namespace {

constexpr int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// One noted name. Entries are only ever added at the head of the list, fully written before they
// are published, and never unlinked, so the handler can walk the list at any moment; a
// forgotten entry is free and taken again by the next name that fits.
struct Entry {
    std::atomic<Entry*> next{nullptr};
    std::atomic<int> state{0};  // FREE, CLAIMED (being written) or LIVE
    size_t capacity = 0;        // bytes `path` holds, with its terminating zero
    char path[1];               // allocated longer
};
constexpr int FREE = 0, CLAIMED = 1, LIVE = 2;

// The list is the program's one record of what a signal must remove: a handler cannot be given
// an object, so this is deliberately process-wide.
std::atomic<Entry*> g_head{nullptr};

// Keeps the stop signals away from this thread while the list changes, so a handler on this
// thread never sees a half-made change of its own thread.
class Blocked {
public:
    Blocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : STOP_SIGNALS) sigaddset(&set, s);
        pthread_sigmask(SIG_BLOCK, &set, &old_);
    }
    ~Blocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }

private:
    sigset_t old_;
};

Entry* claimFree(size_t bytes) {
    for (Entry* e = g_head.load(); e != nullptr; e = e->next.load()) {
        int expected = FREE;
        if (e->capacity >= bytes && e->state.compare_exchange_strong(expected, CLAIMED)) return e;
    }
    return nullptr;
}

void removeNoted(int signal) {
    const int savedErrno = errno;
    for (Entry* e = g_head.load(); e != nullptr; e = e->next.load())
        if (e->state.load() == LIVE) unlink(e->path);
    // End as the signal would have: its default action, raised again once the handler returns.
    std::signal(signal, SIG_DFL);
    raise(signal);
    errno = savedErrno;
}

}  // namespace

void noteTemporary(const char* path) {
    const size_t bytes = std::strlen(path) + 1;
    Blocked blocked;
    Entry* e = claimFree(bytes);
    if (e == nullptr) {
        void* memory = std::malloc(sizeof(Entry) + bytes);
        if (memory == nullptr) return;  // not removed by a signal, still by the normal paths
        e = new (memory) Entry;
        e->capacity = bytes;
        e->state.store(CLAIMED);
        std::memcpy(e->path, path, bytes);
        e->state.store(LIVE);
        Entry* head = g_head.load();
        do e->next.store(head);
        while (!g_head.compare_exchange_weak(head, e));
        return;
    }
    std::memcpy(e->path, path, bytes);
    e->state.store(LIVE);
}

void forgetTemporary(const char* path) {
    Blocked blocked;
    for (Entry* e = g_head.load(); e != nullptr; e = e->next.load()) {
        if (e->state.load() == LIVE && std::strcmp(e->path, path) == 0) {
            e->state.store(FREE);
            return;
        }
    }
}

void removeTemporariesOnStop() {
    struct sigaction action {};
    action.sa_handler = removeNoted;
    sigemptyset(&action.sa_mask);
    for (int s : STOP_SIGNALS) sigaddset(&action.sa_mask, s);
    for (int s : STOP_SIGNALS) {
        // A signal the caller chose to ignore (nohup) stays ignored.
        struct sigaction old {};
        sigaction(s, nullptr, &old);
        if (old.sa_handler != SIG_IGN) sigaction(s, &action, nullptr);
    }
}

StopSignalsHeld::StopSignalsHeld() {
    static_assert(sizeof(sigset_t) <= sizeof saved_);
    sigset_t set;
    sigemptyset(&set);
    for (int s : STOP_SIGNALS) sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, reinterpret_cast<sigset_t*>(saved_));
}

StopSignalsHeld::~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(saved_), nullptr); }

}  // namespace krello::io
