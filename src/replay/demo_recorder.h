// Recording a demo while a game runs: a platform that forwards to the real one and writes down
// every clock reading and key answer.
#pragma once

#include <cstdint>
#include <cstdio>
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
// Bytes go to the file as they are produced (through stdio's buffer), so a game that ends
// without finish() leaves a demo that readers reject as truncated rather than misread.
// Nothing is allocated per update.
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

    uint32_t updates() const { return updates_; }

private:
    void write(const uint8_t* bytes, size_t n);
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
};

}  // namespace krello
