// The picture every room draws on or shows: 320x200 palette indices, rows 320 bytes apart.
#pragma once

namespace krello {

constexpr int SCREEN_WIDTH = 320;
constexpr int SCREEN_HEIGHT = 200;
constexpr int FRAME_BYTES = SCREEN_WIDTH * SCREEN_HEIGHT;

}  // namespace krello
