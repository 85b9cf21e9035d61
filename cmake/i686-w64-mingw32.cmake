# Toolchain for 32-bit Windows (i686), cross-built with mingw-w64: cmake --preset windows-x86.
# The build does its doubles in SSE2 registers, never the x87's 80-bit ones: the project's
# CMakeLists.txt adds -msse2 -mfpmath=sse for every 32-bit x86 target (docs/arithmetic.md).
set(KRELLO_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
