// A false -Wrestrict warning of g++ 12 for 32-bit x86, from std::string concatenation alone.
//
//   i686-w64-mingw32-g++-posix -std=c++20 -O3 -Wall -c gcc12-i686-restrict-string.cpp
//
// warns "'void* __builtin_memcpy(void*, const void*, unsigned int)' accessing 10 bytes at
// offsets 8 and [0, 1073741831] overlaps". The literal cannot lie inside the new string's buffer.
// x86_64-w64-mingw32-g++-posix and the native g++ 12 say nothing.
#include <string>

void error(int line, const std::string& message);

void tooMany(int line, bool& reported) {
    if (!reported) error(line, "more than " + std::to_string(1138) + " walls");
    reported = true;
}
