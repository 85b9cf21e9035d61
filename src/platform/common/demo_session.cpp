// Where a game's clock and keys come from: the player live, the player recorded, or a demo.
#include "platform/common/demo_session.h"

namespace krello {

std::string DemoSession::open(const DemoLevel& level) {
    if (mode_ == DemoMode::Record) {
        if (std::string e = recordFile_.open(file_); !e.empty()) return e;
        recorder_ = std::make_unique<DemoRecorder>(live_, recordFile_.stream(), level);
    } else if (mode_ == DemoMode::Play || mode_ == DemoMode::Timedemo) {
        std::string error;
        if (!readDemoFile(file_, demo_, error)) return error;
        if (std::string mismatch = demoLevelMismatch(file_, demo_, level); !mismatch.empty()) return mismatch;
        replayer_ = std::make_unique<DemoReplayer>(demo_);
        replaySeam_ = std::make_unique<ReplaySeam>(*replayer_, live_);
    }
    return {};
}

PlatformSeam& DemoSession::platform() {
    if (recorder_) return *recorder_;
    if (replaySeam_) return *replaySeam_;
    return live_;
}

bool DemoSession::afterUpdate(const GameState& g) {
    if (recorder_) {
        recorder_->endUpdate(g);
        return true;
    }
    if (!replayer_) return true;
    replayedMillis_ += static_cast<uint64_t>(g.frameDt);
    if (!replayer_->endUpdate(g)) return false;
    return !replayer_->finished();
}

std::string DemoSession::finish() {
    if (replayer_ && replayer_->diverged()) return file_ + ": " + replayer_->error();
    if (!recorder_) return {};
    const bool written = recorder_->finish();
    recorder_.reset();
    if (!written) {
        recordFile_.abandon();
        return file_ + ": the demo could not be written completely";
    }
    return recordFile_.commit(overwrite_ ? io::AtomicFile::Replace::Yes : io::AtomicFile::Replace::No);
}

void DemoSession::abandon() {
    recorder_.reset();
    recordFile_.abandon();
}

}  // namespace krello
