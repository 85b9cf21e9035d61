// Recording a demo while a game runs: a platform that forwards to the real one and writes down
// every clock reading and key answer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "game/platform_seam.h"
#include "replay/crc32.h"
#include "replay/demo.h"
#include "world/game_state.h"

namespace krello {

// Use it as the game's platform from the level start-up on:
//
//   DemoRecorder rec(shellPlatform, file, DemoLevel{crc32(levelImage), levelName});
//   startLevel(game, rec);                         // the start-up's clock reading is recorded
//   each frame: runFrame(game, rec, &output)       // the update asks rec
//               rec.endUpdate(game);               // after every frame that ran an update
//   at the end: rec.finish();                      // false if anything could not be written
//
// The records go to the file in whole blocks, each closed by a block record holding the CRC-32
// of the file so far: a block ends at every checkpoint, once the game's clock has moved a
// second since the block began, and whenever flush() is called (the session does so while the
// game stands still). Each block is flushed to the system as it closes and synced to the disk
// at each checkpoint, so a game that ends any way at all (killed, the power gone, the disk
// full) leaves a demo that replays up to its last complete block. After a write fails nothing
// more is written, so what reached the file stays sound. Nothing is allocated per update.
class DemoRecorder final : public PlatformSeam {
public:
    DemoRecorder(PlatformSeam& real, std::FILE* out, const DemoLevel& level,
                 uint16_t checkpointInterval = DEMO_DEFAULT_CHECKPOINT_INTERVAL);

    uint32_t readClock() override;
    bool keyHeld(GameKey key) override;
    void tintPalette(int startRed) override { real_.tintPalette(startRed); }

    // Closes the update that the last clock reading opened: writes its record, and a checkpoint
    // of the state every checkpointInterval updates. Does nothing if no update is open.
    void endUpdate(const GameState& g);
    // Writes the end record and flushes. Returns false if any write failed.
    bool finish();
    // Closes the block under way, if it holds anything, and hands it to the system.
    void flush();

    uint32_t updates() const { return updates_; }
    // Empty while every block reached the file; else the system's reason for the first that
    // did not ("No space left on device").
    const std::string& writeProblem() const { return problem_; }
    // Updates held by the blocks that reached the file.
    uint32_t updatesKept() const { return updatesKept_; }

private:
    static constexpr size_t BLOCK_BYTES = 2048;  // a block closes before it could pass this
    void write(const uint8_t* bytes, size_t n);
    void closeBlock(bool sync);
    void endUpdateRecord();
    void writeU32(uint32_t v);

    PlatformSeam& real_;
    std::FILE* out_;
    Crc32 fileCrc_;
    uint16_t interval_;
    bool ok_ = true;
    bool started_ = false;
    bool inUpdate_ = false;
    uint32_t lastClock_ = 0;
    uint32_t step_ = 0;
    uint8_t asked_ = 0;
    uint8_t held_ = 0;
    uint32_t updates_ = 0;
    uint32_t updatesKept_ = 0;
    uint8_t block_[BLOCK_BYTES] = {};  // the block under way
    size_t blockLength_ = 0;
    uint32_t blockClock_ = 0;  // the clock reading the block under way began at
    std::string problem_;
};

}  // namespace krello
