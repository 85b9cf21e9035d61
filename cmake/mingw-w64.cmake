# Cross-building for Windows with mingw-w64 on Linux: what both Windows toolchain files share.
# The including file sets KRELLO_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model gives std::thread and std::mutex (winpthreads, linked statically).
set(CMAKE_C_COMPILER ${KRELLO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KRELLO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KRELLO_MINGW_TRIPLET}-windres)

# Libraries and headers come from the cross root only (zlib from libz-mingw-w64-dev); the
# build's programs run on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KRELLO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
