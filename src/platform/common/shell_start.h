// The life of a desktop shell in its fixed order: renderer, session, window, play, finish.
#pragma once

#include <string>

#include "platform/common/game_session.h"
#include "platform/common/shell_options.h"

namespace krello {

// What a desktop shell adds to the session: its window and the loop that plays in it.
class ShellWindow {
public:
    // Opens the window for session.options(). Returns "" or why it could not; the shell has
    // already told the player (on stderr, and in an "ERROR!" box where a display can show one).
    virtual std::string open(GameSession& session) = 0;
    // Events into the session and frames out of it, until the session has ended.
    virtual void play(GameSession& session) = 0;

protected:
    ~ShellWindow() = default;
};

// A whole session, in the order every desktop shell keeps: the renderer's threads (a bad
// KRELLO_RENDER_PATH stops with 2); the session started before any window exists (the level, the
// demo and the first game's start-up; a bad level or demo stops with 2); the window (when it
// cannot open, a recording begun is removed and the status is 1); the play; and the session's
// finish, whose exit status is returned.
int runShell(const ShellOptions& options, ShellWindow& window);

}  // namespace krello
