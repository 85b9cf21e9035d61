// windows.h as the shell includes it: lean, without min and max, and without the hot-key macros
// MOD_ALT and MOD_SHIFT, whose names the shared modifier bits use.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef MOD_ALT
#undef MOD_CONTROL
#undef MOD_SHIFT
