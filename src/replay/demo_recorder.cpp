// Recording a demo while a game runs: a platform that forwards to the real one and writes down
// every clock reading and key answer.
#include "replay/demo_recorder.h"

#include <algorithm>

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
    if (!out_ || std::fwrite(bytes, 1, n, out_) != n) ok_ = false;
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
    if (updates_ % interval_ == 0) {
        write(&DEMO_CHECKPOINT, 1);
        writeU32(updates_);
        writeU32(gameStateChecksum(g));
    }
}

bool DemoRecorder::finish() {
    if (inUpdate_) endUpdateRecord();
    const uint32_t crc = fileCrc_.value();
    write(&DEMO_END, 1);
    writeU32(updates_);
    writeU32(crc);
    if (!out_ || std::fflush(out_) != 0 || std::ferror(out_)) ok_ = false;
    return ok_;
}

}  // namespace krello
