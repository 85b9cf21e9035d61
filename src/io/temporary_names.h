// The temporary files a program has made and not yet put in place, removed when a stop signal ends it.
#pragma once

namespace krello::io {

// Notes `path` (a temporary file just created) so that a stop signal removes it, and forgets it
// once it was renamed into place or removed. Every temporary made through createTemporaryBeside
// is noted there; whoever renames or removes one calls forgetTemporary after doing so.
void noteTemporary(const char* path);
void forgetTemporary(const char* path);

// Makes SIGINT, SIGTERM, SIGHUP and SIGPIPE remove every noted temporary file, then end the
// program as the signal would have (the same status a shell sees). For the tools, whose outputs
// appear whole or not at all: an interrupted command leaves its targets as they were and no
// hidden file behind. The game handles its own stop signals and does not call this. A no-op
// where there are no such signals (Windows).
void removeTemporariesOnStop();

// Holds the stop signals back while it lives, so that a command's outputs are put in place all
// together or not at all; a signal that came meanwhile acts when it ends.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    unsigned char saved_[256];  // the thread's signal mask before, kept opaque for Windows' sake
};

}  // namespace krello::io
