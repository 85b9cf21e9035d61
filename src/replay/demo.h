// Demo files: the clock steps and key answers of a played game, with state checkpoints.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace krello {

// The byte layout is described in docs/demo-format.md. All integers are little-endian.
constexpr char DEMO_MAGIC[8] = {'K', 'R', 'E', 'L', 'D', 'E', 'M', 'O'};
constexpr uint16_t DEMO_VERSION = 3;         // written; versions 1 (no level record) and 2 (no blocks) are still read
constexpr uint16_t DEMO_OLDEST_VERSION = 1;
constexpr size_t DEMO_HEADER_BYTES = 16;
constexpr uint8_t DEMO_LEVEL = 'L';       // u8 length, the level's name (empty: the built-in level)
constexpr uint8_t DEMO_START = 'S';       // u32 clock reading taken by the level start-up
constexpr uint8_t DEMO_UPDATE = 'U';      // varint clock step, u8 keys asked, u8 keys held
constexpr uint8_t DEMO_CHECKPOINT = 'C';  // u32 update number, u32 game state checksum
constexpr uint8_t DEMO_END = 'E';         // u32 update count, u32 CRC-32 of all bytes before
constexpr uint8_t DEMO_BLOCK = 'B';       // version 3: u32 CRC-32 of all bytes before; closes a block
constexpr uint16_t DEMO_FIRST_BLOCK_VERSION = 3;
constexpr uint16_t DEMO_DEFAULT_CHECKPOINT_INTERVAL = 64;

// One update as recorded: how far the clock moved since the previous reading, which keys
// the update asked about (bit per GameKey) and which of those were held.
struct DemoUpdate {
    uint32_t clockStep = 0;
    uint8_t asked = 0;
    uint8_t held = 0;
};

// The game state's checksum after update `update` (counted from 1).
struct DemoCheckpoint {
    uint32_t update = 0;
    uint32_t stateChecksum = 0;
};

// The level a demo was recorded on: its image's CRC-32 and its name as the player gave it
// (a level file's name); an empty name is the built-in level.
struct DemoLevel {
    uint32_t checksum = 0;
    std::string name;
};
constexpr size_t DEMO_MAX_LEVEL_NAME = 255;

struct Demo {
    uint16_t version = DEMO_VERSION;  // 1: recorded before demos named their level
    uint16_t checkpointInterval = DEMO_DEFAULT_CHECKPOINT_INTERVAL;
    uint32_t levelChecksum = 0;  // CRC-32 of the level image the game started from
    std::string levelName;       // empty: the built-in level (always so in version 1)
    uint32_t startClock = 0;     // what the clock read at the level start-up
    std::vector<DemoUpdate> updates;
    std::vector<DemoCheckpoint> checkpoints;  // in update order
    // Empty for a whole demo. A recording that ended without its end record (the program was
    // killed, the disk filled, the power went) keeps every block it completed: the demo then
    // holds those, and this says where and why the file stops ("byte 5012: the demo ends
    // inside an update's keys (truncated)").
    std::string cutShort;
};

// Checks and decodes a whole demo. On failure returns false with
// error = "NAME: byte OFFSET: what is wrong" (bad magic, another version, a truncated or
// unknown record, checkpoints out of order, a missing end record, a wrong file checksum, no
// updates at all, ...).
bool parseDemo(std::span<const uint8_t> bytes, const std::string& name, Demo& demo, std::string& error);

// Reads and parses a demo file.
bool readDemoFile(const std::string& path, Demo& demo, std::string& error);

// Empty when the demo was recorded on `level`; else one line naming both levels and their
// checksums: "FILE: recorded on level a.level (checksum 0x...), this game plays the built-in
// level (checksum 0x...)".
std::string demoLevelMismatch(const std::string& file, const Demo& demo, const DemoLevel& level);

// The one line a replay ends with, on every program: "FILE: demo ended after N updates; final
// state checksum 0x...", or, for a demo cut short, "FILE: demo ends early after N updates: WHY"
// (N the updates its complete blocks hold, WHY the reader's reason).
std::string demoEndLine(const std::string& file, const Demo& demo, long updates, uint32_t stateChecksum);

// How a level is named in messages: "level NAME" (control characters shown as '?'), or "the
// built-in level".
std::string describeLevel(const std::string& name);

// The longest varint: 32 bits in 7-bit groups.
constexpr size_t MAX_VARINT_BYTES = 5;

// Writes v as a varint (7 bits a byte, low bits first, high bit = more follows) and returns
// how many bytes it took.
size_t encodeVarint(uint32_t v, uint8_t (&out)[MAX_VARINT_BYTES]);

}  // namespace krello
