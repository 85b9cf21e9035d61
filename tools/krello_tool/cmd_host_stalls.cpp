// krello-tool host-stalls: times quanta of plain arithmetic the size of a frame, so a speed run
// can tell the machine's own stalls from its frames' (a quantum touches no memory and makes no
// call, so only the system or the host can make one slower than the rest).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/option_words.h"
#include "krello_tool/commands.h"
#include "replay/timedemo.h"

namespace krello::tool {
namespace {

struct HostStallOptions {
    long quanta = 3000;  // how many quanta to time
    long micros = 90;    // about how long one takes on this machine
};

// A chain of dependent multiply-adds (unsigned, so it wraps by definition): each step waits for
// the one before, so the time is the core's and nothing else's.
uint64_t arithmetic(uint64_t x, long steps) {
    for (long i = 0; i < steps; ++i) x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    return x;
}

// Steps a microsecond on this core: the fastest of a few trials, so a stall in one does not
// shorten every quantum.
double stepsPerMicro(uint64_t& sink) {
    using Clock = std::chrono::steady_clock;
    constexpr long TRIAL_STEPS = 2'000'000;
    double best = 0.0;
    for (int trial = 0; trial < 5; ++trial) {
        const Clock::time_point t0 = Clock::now();
        sink = arithmetic(sink, TRIAL_STEPS);
        const double micros = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        if (micros > 0.0 && TRIAL_STEPS / micros > best) best = TRIAL_STEPS / micros;
    }
    return best;
}

void hostStalls(const HostStallOptions& o) {
    uint64_t sink = 1;
    const long steps = static_cast<long>(stepsPerMicro(sink) * static_cast<double>(o.micros)) + 1;
    TimedemoClock timing(static_cast<size_t>(o.quanta));
    timing.begin();
    for (long i = 0; i < o.quanta; ++i) {
        sink = arithmetic(sink, steps);
        timing.frameDone();
    }
    // The timedemo's line, quanta counted as frames, so scripts read both alike.
    std::string line = timing.report();
    if (line.starts_with("timedemo:")) line.replace(0, 8, "host-stalls");
    std::printf("%s\nhost-stalls: %ld quanta of %ld multiply-adds (about %ld us each), result %016llx\n",
                line.c_str(), o.quanta, steps, o.micros, static_cast<unsigned long long>(sink));
}

}  // namespace

void registerHostStallCommands(CLI::App& app) {
    auto o = std::make_shared<HostStallOptions>();
    CLI::App* cmd = app.add_subcommand("host-stalls", "time quanta of plain arithmetic the size of a frame: the machine's own stalls");
    cmd->add_option("--quanta", o->quanta, "quanta to time (default 3000)")
        ->type_name("N")
        ->check(cli::wholeNumber(1, 10'000'000));
    cmd->add_option("--micros", o->micros, "about how long a quantum takes, in microseconds (default 90)")
        ->type_name("US")
        ->check(cli::wholeNumber(1, 1'000'000));
    cmd->callback([o] { hostStalls(*o); });
}

}  // namespace krello::tool
