// Ctrl+C, Ctrl+Break and a closing console as a request to end the session cleanly.
#include "platform/win32/stop_requests.h"

#include <atomic>

#include "platform/win32/windows_api.h"

namespace krello {
namespace {

// Written by the handler, which Windows runs on a thread of its own; read by the loop.
std::atomic<int> requestedStatus{0};

constexpr int INTERRUPTED = 130;  // 128 + SIGINT
constexpr int TERMINATED = 143;   // 128 + SIGTERM

BOOL WINAPI onConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    requestedStatus = interrupt ? INTERRUPTED : TERMINATED;
    // Closing, logoff and shutdown end the process when the handler returns: give the loop a
    // moment to finish the recording first.
    if (!interrupt) Sleep(2000);
    return TRUE;
}

}  // namespace

void watchStopRequests() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int stopRequestStatus() { return requestedStatus; }

}  // namespace krello
