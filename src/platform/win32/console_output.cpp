// Standard output and error for a program built for the windowed subsystem.
#include "platform/win32/console_output.h"

#include "platform/win32/windows_api.h"

#include <cstdio>

namespace krello {
namespace {

bool hasHandle(DWORD which) {
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

}  // namespace

void useParentConsole() {
    const bool out = hasHandle(STD_OUTPUT_HANDLE);
    const bool err = hasHandle(STD_ERROR_HANDLE);
    if (out && err) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!out) std::freopen("CONOUT$", "w", stdout);
    if (!err) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace krello
