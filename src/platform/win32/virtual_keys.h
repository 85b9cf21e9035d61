// Windows' virtual-key codes translated into the key names every shell shares. Plain numbers, no
// windows.h, so the table is tested on every platform.
#pragma once

#include <cstdint>

#include "platform/common/input_names.h"

namespace krello {

// The key of a WM_KEYDOWN/WM_KEYUP message: its virtual-key code (wParam), its scan code and its
// extended-key flag (bits 16-23 and 24 of lParam). The flag tells the right Ctrl and Alt and the
// keypad's Enter from their twins; the scan code tells the right Shift. KeyId::None for keys the
// game has no name for.
KeyId keyIdOfVirtualKey(unsigned virtualKey, unsigned scanCode, bool extended);

}  // namespace krello
