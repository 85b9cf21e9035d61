# Toolchain for 64-bit Windows (x86-64), cross-built with mingw-w64: cmake --preset windows-x64.
set(KRELLO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
