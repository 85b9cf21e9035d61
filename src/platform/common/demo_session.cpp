// The demo file a session's first game is recorded into or replayed from.
#include "platform/common/demo_session.h"

#include <cstdio>
#include <utility>

#include "io/record_file.h"
#include "io/temporary_file.h"
#include "replay/demo.h"

namespace krello {

DemoSession::~DemoSession() { close(); }

std::string DemoSession::open(GameRun& run) {
    if (mode_ == DemoMode::Record) {
        std::string error;
        recordFile_ = io::openRecordFile(file_, overwrite_, created_, error);
        if (recordFile_ == nullptr) return error;
        run.record(recordFile_, file_);
    } else if (replaying()) {
        Demo demo;
        std::string error;
        if (!readDemoFile(file_, demo, error)) return error;
        cutShort_ = demo.cutShort;
        return run.replay(std::move(demo), file_);
    }
    return {};
}

void DemoSession::close() {
    if (recordFile_ != nullptr) std::fclose(recordFile_);
    recordFile_ = nullptr;
}

std::string DemoSession::finish(GameRun& run) {
    const bool recorded = run.recording();
    std::string problem = run.finish();
    if (!recorded || recordFile_ == nullptr) return problem;
    std::string why = io::closeWritten(recordFile_);
    if (problem.empty() && !why.empty()) problem = io::cannotWrite(file_, why);
    return problem;
}

void DemoSession::abandon(GameRun& run) {
    run.finish();
    if (recordFile_ == nullptr) return;
    close();
    if (created_) std::remove(file_.c_str());
}

}  // namespace krello
