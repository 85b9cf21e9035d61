// Where a session's clock and keys come from: the player live, the player recorded, or a demo.
#include "platform/common/demo_session.h"

#include <cerrno>
#include <cstring>

#include "level/builtin_level.h"
#include "replay/crc32.h"

namespace krello {
DemoSession::~DemoSession() {
    if (recordFile_ != nullptr) std::fclose(recordFile_);
}

std::string DemoSession::open() {
    const uint32_t level = crc32(builtinLevelImage());
    if (mode_ == DemoMode::Record) {
        recordFile_ = std::fopen(file_.c_str(), "wb");
        if (recordFile_ == nullptr) return file_ + ": cannot write: " + std::strerror(errno);
        recorder_ = std::make_unique<DemoRecorder>(live_, recordFile_, level);
    } else if (mode_ == DemoMode::Play || mode_ == DemoMode::Timedemo) {
        std::string error;
        if (!readDemoFile(file_, demo_, error)) return error;
        if (demo_.levelChecksum != level) {
            char what[128];
            std::snprintf(what, sizeof what, ": recorded on another level (checksum 0x%08X, this one is 0x%08X)",
                          demo_.levelChecksum, level);
            return file_ + what;
        }
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
    bool ok = recorder_->finish();
    recorder_.reset();
    ok = std::fclose(recordFile_) == 0 && ok;
    recordFile_ = nullptr;
    if (!ok) return file_ + ": the demo could not be written completely";
    return {};
}

void DemoSession::abandon() {
    if (!recorder_) return;
    recorder_.reset();
    std::fclose(recordFile_);
    recordFile_ = nullptr;
    std::remove(file_.c_str());
}

}  // namespace krello
