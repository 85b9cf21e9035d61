// Demo files: the clock steps and key answers of a played game, with state checkpoints.
#include "replay/demo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/platform_seam.h"
#include "io/file_bytes.h"
#include "replay/crc32.h"

namespace krello {

namespace {

// Reads the demo's bytes front to back, remembering the first thing wrong and where.
class DemoReader {
public:
    DemoReader(std::span<const uint8_t> bytes, const std::string& name) : bytes_(bytes), name_(name) {}

    size_t offset() const { return pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }
    // The fault without the file's name: "byte N: what".
    std::string reason() const { return error_.substr(std::min(error_.size(), name_.size() + 2)); }

    void fail(size_t at, const std::string& what) {
        if (error_.empty()) error_ = name_ + ": byte " + std::to_string(at) + ": " + what;
    }

    // Each read fails (and yields 0) if the file ends inside the value.
    uint8_t u8(const char* what) {
        if (failed()) return 0;
        if (pos_ >= bytes_.size()) {
            fail(pos_, std::string("the demo ends inside ") + what + " (truncated)");
            return 0;
        }
        return bytes_[pos_++];
    }
    uint16_t u16(const char* what) {
        const uint16_t lo = u8(what);
        return static_cast<uint16_t>(lo | (u8(what) << 8));
    }
    uint32_t u32(const char* what) {
        const uint32_t lo = u16(what);
        return lo | (static_cast<uint32_t>(u16(what)) << 16);
    }
    uint32_t varint(const char* what) {
        const size_t start = pos_;
        uint64_t v = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            const uint8_t b = u8(what);
            if (failed()) return 0;
            v |= static_cast<uint64_t>(b & 0x7Fu) << shift;
            if (!(b & 0x80u)) {
                if (v > 0xFFFFFFFFu) break;
                return static_cast<uint32_t>(v);
            }
        }
        fail(start, std::string(what) + " is not a valid 32-bit varint");
        return 0;
    }

private:
    std::span<const uint8_t> bytes_;
    const std::string& name_;
    size_t pos_ = 0;
    std::string error_;
};

std::string hex32(uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%08X", v);
    return s;
}

void readHeader(DemoReader& r, Demo& demo) {
    // A file that does not start with the magic is no demo at all, however short it is.
    for (size_t i = 0; i < sizeof DEMO_MAGIC; ++i) {
        if (r.atEnd() || r.u8("the header") != static_cast<uint8_t>(DEMO_MAGIC[i])) {
            r.fail(0, "not a demo file (it does not start with KRELDEMO)");
            return;
        }
    }
    demo.version = r.u16("the header");
    if (!r.failed() && (demo.version < DEMO_OLDEST_VERSION || demo.version > DEMO_VERSION)) {
        r.fail(8, "demo format version " + std::to_string(demo.version) + ", this program reads versions " +
                      std::to_string(DEMO_OLDEST_VERSION) + " to " + std::to_string(DEMO_VERSION));
    }
    demo.checkpointInterval = r.u16("the header");
    if (!r.failed() && demo.checkpointInterval == 0) r.fail(10, "checkpoint interval 0");
    demo.levelChecksum = r.u32("the header");
}

// Version 2 names the level in a record of its own before the start record.
void readLevel(DemoReader& r, Demo& demo) {
    const size_t at = r.offset();
    if (r.u8("the level record") != DEMO_LEVEL) {
        if (!r.failed()) r.fail(at, "the first record must be the level record");
        return;
    }
    const uint8_t length = r.u8("the level record");
    for (uint8_t i = 0; i < length && !r.failed(); ++i) demo.levelName += static_cast<char>(r.u8("the level record"));
}

void readUpdate(DemoReader& r, size_t at, Demo& demo) {
    DemoUpdate u;
    u.clockStep = r.varint("an update's clock step");
    u.asked = r.u8("an update's keys");
    u.held = r.u8("an update's keys");
    if (r.failed()) return;
    const uint8_t allKeys = static_cast<uint8_t>((1u << GAME_KEY_COUNT) - 1u);
    if ((u.asked & ~allKeys) || (u.held & ~u.asked)) {
        r.fail(at, "update " + std::to_string(demo.updates.size() + 1) + " has impossible key bits");
        return;
    }
    demo.updates.push_back(u);
}

void readCheckpoint(DemoReader& r, size_t at, Demo& demo) {
    DemoCheckpoint c;
    c.update = r.u32("a checkpoint");
    c.stateChecksum = r.u32("a checkpoint");
    if (r.failed()) return;
    if (c.update != demo.updates.size() || c.update == 0 || c.update % demo.checkpointInterval != 0) {
        r.fail(at, "checkpoint for update " + std::to_string(c.update) + " after update " +
                       std::to_string(demo.updates.size()) + " is out of place");
        return;
    }
    demo.checkpoints.push_back(c);
}

// Where the last complete block of a version 3 demo ended, and the running CRC that checks the
// next one without reading the file from its start again.
struct BlockMark {
    size_t crcUpTo = 0;     // bytes fed to `crc` so far
    Crc32 crc;
    size_t updates = 0;     // the demo as it stood after the last good block
    size_t checkpoints = 0;
    bool seen = false;
};

// A block record: the CRC-32 of every byte before it. A block whose CRC fails is damaged, and
// nothing after it can be trusted.
void readBlock(DemoReader& r, size_t at, std::span<const uint8_t> bytes, const Demo& demo, BlockMark& mark) {
    const uint32_t recorded = r.u32("a block record");
    if (r.failed()) return;
    mark.crc.add(bytes.subspan(mark.crcUpTo, at - mark.crcUpTo));
    mark.crcUpTo = at;
    if (mark.crc.value() != recorded) {
        r.fail(at, "block checksum " + hex32(mark.crc.value()) + " does not match the recorded " + hex32(recorded) +
                       " (corrupt demo)");
        return;
    }
    mark.updates = demo.updates.size();
    mark.checkpoints = demo.checkpoints.size();
    mark.seen = true;
}

// The end record: the update count and the CRC-32 of everything before it.
void readEnd(DemoReader& r, size_t at, std::span<const uint8_t> bytes, const Demo& demo, BlockMark& mark) {
    const uint32_t count = r.u32("the end record");
    const uint32_t fileCrc = r.u32("the end record");
    if (r.failed()) return;
    if (count != demo.updates.size()) {
        r.fail(at, "the end record counts " + std::to_string(count) + " updates, the demo holds " +
                       std::to_string(demo.updates.size()));
    } else if (fileCrc != crc32(bytes.first(at))) {
        r.fail(at, "file checksum " + hex32(crc32(bytes.first(at))) + " does not match the recorded " +
                       hex32(fileCrc) + " (corrupt demo)");
    } else if (!r.atEnd()) {
        // The end record checked out: everything before it is sound, whatever follows.
        mark.updates = demo.updates.size();
        mark.checkpoints = demo.checkpoints.size();
        mark.seen = demo.version >= DEMO_FIRST_BLOCK_VERSION;
        r.fail(r.offset(), "data after the end record");
    }
}

}  // namespace

size_t encodeVarint(uint32_t v, uint8_t (&out)[MAX_VARINT_BYTES]) {
    size_t n = 0;
    while (v >= 0x80u) {
        out[n++] = static_cast<uint8_t>(v | 0x80u);
        v >>= 7;
    }
    out[n++] = static_cast<uint8_t>(v);
    return n;
}

bool parseDemo(std::span<const uint8_t> bytes, const std::string& name, Demo& demo, std::string& error) {
    demo = Demo{};
    DemoReader r(bytes, name);
    readHeader(r, demo);
    if (!r.failed() && demo.version >= 2) readLevel(r, demo);
    bool started = false;
    bool ended = false;
    BlockMark mark;
    while (!r.failed() && !ended) {
        if (r.atEnd()) {
            r.fail(r.offset(), "the demo ends without its end record (truncated)");
            break;
        }
        const size_t at = r.offset();
        const uint8_t tag = r.u8("a record");
        if (!started && tag != DEMO_START) {
            r.fail(at, "expected the start record here");
        } else if (tag == DEMO_START) {
            if (started) r.fail(at, "a second start record");
            demo.startClock = r.u32("the start record");
            started = true;
        } else if (tag == DEMO_UPDATE) {
            readUpdate(r, at, demo);
        } else if (tag == DEMO_CHECKPOINT) {
            readCheckpoint(r, at, demo);
        } else if (tag == DEMO_BLOCK && demo.version >= DEMO_FIRST_BLOCK_VERSION) {
            readBlock(r, at, bytes, demo, mark);
        } else if (tag == DEMO_END) {
            readEnd(r, at, bytes, demo, mark);
            // Nothing could replay it: the game would run past its end at the first update.
            if (demo.updates.empty()) r.fail(at, "the demo holds no updates");
            ended = true;
        } else {
            r.fail(at, "unknown record tag " + std::to_string(tag));
        }
    }
    if (r.failed() && mark.seen && mark.updates > 0) {
        // What the recorder completed before the file stopped still replays.
        demo.updates.resize(mark.updates);
        demo.checkpoints.resize(mark.checkpoints);
        demo.cutShort = r.reason();
        return true;
    }
    if (r.failed()) {
        error = r.error();
        return false;
    }
    return true;
}

std::string demoEndLine(const std::string& file, const Demo& demo, long updates, uint32_t stateChecksum) {
    if (!demo.cutShort.empty())
        return file + ": demo ends early after " + std::to_string(updates) + " updates: " + demo.cutShort;
    // The checksum written as the timedemo's last line writes it, so the two can be compared by eye.
    char checksum[16];
    std::snprintf(checksum, sizeof checksum, "0x%08x", static_cast<unsigned>(stateChecksum));
    return file + ": demo ended after " + std::to_string(updates) + " updates; final state checksum " + checksum;
}

std::string describeLevel(const std::string& name) {
    if (name.empty()) return "the built-in level";
    // A demo's bytes name the level: a control character in them must not break the message's line.
    std::string shown = name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return "level " + shown;
}

std::string demoLevelMismatch(const std::string& file, const Demo& demo, const DemoLevel& level) {
    if (demo.levelChecksum == level.checksum) return {};
    return file + ": recorded on " + describeLevel(demo.levelName) + " (checksum " + hex32(demo.levelChecksum) +
           "), this game plays " + describeLevel(level.name) + " (checksum " + hex32(level.checksum) + ")";
}

bool readDemoFile(const std::string& path, Demo& demo, std::string& error) {
    std::string bytes;
    if (!io::readFile(path, "the demo", bytes, error)) return false;
    return parseDemo({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, path, demo, error);
}

}  // namespace krello
