// The demo file a session's first game is recorded into or replayed from.
#include "platform/common/demo_session.h"

#include <cstdio>
#include <utility>

#include "replay/demo.h"

namespace krello {

std::string DemoSession::open(GameRun& run) {
    if (mode_ == DemoMode::Record) {
        if (std::string e = recordFile_.open(file_); !e.empty()) return e;
        run.record(recordFile_.stream(), file_);
    } else if (replaying()) {
        Demo demo;
        std::string error;
        if (!readDemoFile(file_, demo, error)) return error;
        return run.replay(std::move(demo), file_);
    }
    return {};
}

std::string DemoSession::finish(GameRun& run) {
    const bool recorded = run.recording();
    const std::string problem = run.finish();
    if (!recorded) return problem;
    if (!problem.empty()) {
        recordFile_.abandon();
        return problem;
    }
    return recordFile_.commit(overwrite_ ? io::AtomicFile::Replace::Yes : io::AtomicFile::Replace::No);
}

std::string demoEndLine(long updates, uint32_t stateChecksum) {
    char line[96];
    std::snprintf(line, sizeof line, "demo ended after %ld updates; final state checksum 0x%08x", updates,
                  static_cast<unsigned>(stateChecksum));
    return line;
}

void DemoSession::abandon(GameRun& run) {
    run.finish();
    recordFile_.abandon();
}

}  // namespace krello
