// Recording a demo while a game runs: a platform that forwards to the real one and writes down
// every clock reading and key answer.
#include "replay/demo_recorder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "io/record_file.h"

#include "replay/state_checksum.h"

namespace krello {

DemoRecorder::DemoRecorder(PlatformSeam& real, std::FILE* out, const DemoLevel& level,
                           uint16_t checkpointInterval)
    : real_(real), out_(out), interval_(checkpointInterval == 0 ? 1 : checkpointInterval) {
    write(reinterpret_cast<const uint8_t*>(DEMO_MAGIC), sizeof DEMO_MAGIC);
    const uint8_t fields[4] = {static_cast<uint8_t>(DEMO_VERSION), static_cast<uint8_t>(DEMO_VERSION >> 8),
                               static_cast<uint8_t>(interval_), static_cast<uint8_t>(interval_ >> 8)};
    write(fields, sizeof fields);
    writeU32(level.checksum);
    const size_t length = std::min(level.name.size(), DEMO_MAX_LEVEL_NAME);
    const uint8_t head[2] = {DEMO_LEVEL, static_cast<uint8_t>(length)};
    write(head, sizeof head);
    write(reinterpret_cast<const uint8_t*>(level.name.data()), length);
}

void DemoRecorder::write(const uint8_t* bytes, size_t n) {
    fileCrc_.add({bytes, n});
    // Blocks close past half the buffer, so the rest holds the longest run of records that can
    // follow (the header with a 255-byte level name, an update, a checkpoint, the block record).
    if (blockLength_ + n > BLOCK_BYTES - 5) {
        ok_ = false;
        problem_ = "a block outgrew its buffer";
        return;
    }
    std::copy(bytes, bytes + n, block_ + blockLength_);
    blockLength_ += n;
}

void DemoRecorder::closeBlock(bool sync) {
    if (blockLength_ == 0) return;
    const uint32_t crc = fileCrc_.value();
    const uint8_t record[5] = {DEMO_BLOCK, static_cast<uint8_t>(crc), static_cast<uint8_t>(crc >> 8),
                               static_cast<uint8_t>(crc >> 16), static_cast<uint8_t>(crc >> 24)};
    fileCrc_.add(record);
    std::copy(record, record + sizeof record, block_ + blockLength_);
    const size_t length = blockLength_ + sizeof record;
    blockLength_ = 0;
    if (!ok_) return;  // a file with a gap in it would hide what came after
    if (out_ == nullptr) {
        ok_ = false;
        problem_ = "no file to write to";
        return;
    }
    errno = 0;
    const bool written = std::fwrite(block_, 1, length, out_) == length && std::fflush(out_) == 0;
    std::string why = written ? std::string() : std::string(std::strerror(errno != 0 ? errno : EIO));
    if (written && sync) why = io::syncToDisk(out_);
    if (!why.empty()) {
        ok_ = false;
        problem_ = why;
        return;
    }
    updatesKept_ = updates_;
}

void DemoRecorder::flush() {
    if (!inUpdate_) closeBlock(false);
}

void DemoRecorder::writeU32(uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    write(b, sizeof b);
}

uint32_t DemoRecorder::readClock() {
    const uint32_t now = real_.readClock();
    if (!started_) {
        // The level start-up's reading, before the first update.
        started_ = true;
        write(&DEMO_START, 1);
        writeU32(now);
        blockClock_ = now;
    } else {
        // Every later reading opens an update (the clock step is its first step).
        if (inUpdate_) endUpdateRecord();
        inUpdate_ = true;
        step_ = now - lastClock_;
        asked_ = 0;
        held_ = 0;
    }
    lastClock_ = now;
    return now;
}

bool DemoRecorder::keyHeld(GameKey key) {
    const bool held = real_.keyHeld(key);
    asked_ |= keyBit(key);
    if (held) held_ |= keyBit(key);
    return held;
}

void DemoRecorder::endUpdateRecord() {
    uint8_t step[MAX_VARINT_BYTES];
    const size_t stepBytes = encodeVarint(step_, step);
    write(&DEMO_UPDATE, 1);
    write(step, stepBytes);
    const uint8_t keys[2] = {asked_, held_};
    write(keys, sizeof keys);
    inUpdate_ = false;
    ++updates_;
}

void DemoRecorder::endUpdate(const GameState& g) {
    if (!inUpdate_) return;
    endUpdateRecord();
    constexpr uint32_t BLOCK_MILLIS = 1000;  // a killed game loses at most about this much
    if (updates_ % interval_ == 0) {
        write(&DEMO_CHECKPOINT, 1);
        writeU32(updates_);
        writeU32(gameStateChecksum(g));
        closeBlock(true);
    } else if (lastClock_ - blockClock_ >= BLOCK_MILLIS || blockLength_ > BLOCK_BYTES / 2) {
        closeBlock(false);
    }
    if (blockLength_ == 0) blockClock_ = lastClock_;
}

bool DemoRecorder::finish() {
    if (inUpdate_) endUpdateRecord();
    const uint32_t crc = fileCrc_.value();
    write(&DEMO_END, 1);
    writeU32(updates_);
    writeU32(crc);
    // The end record goes out as the last block does, without a block record of its own.
    if (ok_ && out_ != nullptr) {
        errno = 0;
        const bool written =
            std::fwrite(block_, 1, blockLength_, out_) == blockLength_ && std::fflush(out_) == 0;
        std::string why = written ? io::syncToDisk(out_) : std::string(std::strerror(errno != 0 ? errno : EIO));
        if (!why.empty()) ok_ = false, problem_ = why;
        else updatesKept_ = updates_;
    } else {
        ok_ = false;
    }
    blockLength_ = 0;
    return ok_;
}

}  // namespace krello
