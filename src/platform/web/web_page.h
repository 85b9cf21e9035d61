// What the shell asks of the page around it: the canvas, full screen, downloads and messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/common/display_layout.h"

namespace krello {

// Puts a 320x200 frame of RGBA bytes on the canvas, the last of `produced` frames made since the
// one before (the page counts them: the tests check the frame rate).
void pagePresent(const uint8_t* rgba, int produced);
// The canvas's box within the game's area of the page, in CSS pixels; the area's size.
void pagePlaceCanvas(const ScreenRect& box);
int pageAreaWidth();
int pageAreaHeight();
// Full screen on or off. The browser grants it only while a key or click is being handled.
void pageToggleFullscreen();
// Saves what the canvas shows as a PNG download named `name`.
void pageSaveCanvas(const std::string& name);
// A line for the player under the game; a problem is shown as one.
void pageSay(const std::string& text, bool problem);
// The game could not start; the page shows why (the last line the session wrote on stderr).
void pageStartFailed();
// The session ended (the quit key, a replay's end): the page offers a new game.
void pageSessionEnded(bool recorded);

}  // namespace krello
