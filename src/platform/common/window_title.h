// The game's name as every shell shows it: on the window, and on the box that reports a failed start.
#pragma once

namespace krello {

constexpr const char* WINDOW_TITLE = "= KRELLO 32K =";

}  // namespace krello
