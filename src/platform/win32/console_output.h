// Standard output and error for a program built for the windowed subsystem.
#pragma once

namespace krello {

// Started from a console (cmd, PowerShell), the game writes its lines (--help, the timedemo's
// line, messages, problems) there. Where its output already goes somewhere (redirected, or under
// wine), it is left alone; started from Explorer, there is nowhere to write and nothing changes.
void useParentConsole();

}  // namespace krello
