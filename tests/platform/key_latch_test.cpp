// The game keys: held, tapped between two queries, and let go when the window loses the keyboard.
#include "platform/common/key_latch.h"

#include <gtest/gtest.h>

namespace krello {
namespace {

TEST(KeyLatch, KeyDownAnswersHeldOnEveryQueryUntilReleased) {
    KeyLatch keys;
    EXPECT_FALSE(keys.query(GameKey::Up));
    keys.press(GameKey::Up);
    EXPECT_TRUE(keys.query(GameKey::Up));
    EXPECT_TRUE(keys.query(GameKey::Up));
    keys.release(GameKey::Up);
    EXPECT_FALSE(keys.query(GameKey::Up));
}

TEST(KeyLatch, TapBetweenTwoQueriesCountsExactlyOnce) {
    KeyLatch keys;
    keys.press(GameKey::Space);
    keys.release(GameKey::Space);
    EXPECT_TRUE(keys.query(GameKey::Space));
    EXPECT_FALSE(keys.query(GameKey::Space));
    // Held, released and then not asked until later: the press still counts once.
    keys.press(GameKey::Space);
    EXPECT_TRUE(keys.query(GameKey::Space));
    keys.release(GameKey::Space);
    EXPECT_FALSE(keys.query(GameKey::Space));
}

TEST(KeyLatch, EachKeyKeepsItsOwnLatch) {
    KeyLatch keys;
    keys.press(GameKey::Left);
    keys.release(GameKey::Left);
    keys.press(GameKey::A);
    keys.release(GameKey::A);
    EXPECT_FALSE(keys.query(GameKey::Right));
    EXPECT_TRUE(keys.query(GameKey::Left));
    // Asking Left cleared only Left.
    EXPECT_TRUE(keys.query(GameKey::A));
    EXPECT_FALSE(keys.query(GameKey::Left));
    EXPECT_FALSE(keys.query(GameKey::Down));
}

TEST(KeyLatch, ReleaseAllUnsticksHeldKeysButKeepsUnaskedTaps) {
    KeyLatch keys;
    keys.press(GameKey::Up);
    EXPECT_TRUE(keys.query(GameKey::Up));
    keys.press(GameKey::Space);
    keys.releaseAll();
    EXPECT_FALSE(keys.query(GameKey::Up));
    EXPECT_TRUE(keys.query(GameKey::Space));
    EXPECT_FALSE(keys.query(GameKey::Space));
}

}  // namespace
}  // namespace krello
