// What the shell asks of the page around it: the canvas, full screen, downloads and messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/common/display_layout.h"

namespace krello {

// Puts a 320x200 frame of RGBA bytes on the canvas, the last of `produced` frames made since the
// one before; `dropped` is the session's running count of frames owed by the clock that a slow
// display left no room for (the page keeps both: the tests check the pacing by them).
void pagePresent(const uint8_t* rgba, int produced, double dropped);
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
// The game could not start; the page shows "ERROR!" and why (the lines the session wrote on stderr).
void pageStartFailed();
// The status bar's state changed (a PageState, web_shell.h); the keys named are the first
// bound to pause, restart and quit, for its hints.
void pageShowState(int state, const std::string& pauseKey, const std::string& restartKey, const std::string& quitKey);
// A recording is finished in the page's demo file: the page offers to download and share it.
void pageDemoRecorded();
// A replay ran to its end; the game's state checksum as it left it.
void pageReplayEnded(uint32_t stateChecksum);
// The page reads the gamepads (the browser only says how they stand when asked) and hands their
// changes to the shell.
void pagePollPads();
// Calls krello_timedemo_turn again and again, yielding to the browser between two with a message
// on a channel (the quickest ordinary task a page can post), until it returns 0.
void pageRunTurns();

}  // namespace krello
