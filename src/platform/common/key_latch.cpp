// The game keys as the update sees them: down now, or pressed since the key was last asked.
#include "platform/common/key_latch.h"

namespace krello {

void KeyLatch::press(GameKey key) {
    const int k = static_cast<int>(key);
    down_[k] = true;
    pressedSinceQuery_[k] = true;
}

void KeyLatch::release(GameKey key) { down_[static_cast<int>(key)] = false; }

void KeyLatch::releaseAll() { down_.fill(false); }

bool KeyLatch::query(GameKey key) {
    const int k = static_cast<int>(key);
    const bool held = down_[k] || pressedSinceQuery_[k];
    pressedSinceQuery_[k] = false;
    return held;
}

}  // namespace krello
