// Ctrl+C, Ctrl+Break and a closing console as a request to end the session cleanly.
#pragma once

namespace krello {

// Installs the console's handler. The session ends with 130 after Ctrl+C and 143 after the
// console closes or the user logs off, as after SIGINT and SIGTERM on Linux, and a recording is kept.
void watchStopRequests();

// 0, or the exit status the last request asks for.
int stopRequestStatus();

}  // namespace krello
