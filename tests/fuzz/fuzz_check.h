// What every fuzz harness insists on besides not crashing: failures say so and stop the run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace krello::fuzz {

// Stops the run as a crash (libFuzzer keeps the input) when `ok` is false.
inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

// Every message is one line naming the file, as the tools print it.
inline void requireOneLine(const std::string& message, const std::string& file) {
    require(!message.empty(), "a failure gives a message");
    require(message.find('\n') == std::string::npos, "a message is one line");
    require(message.rfind(file, 0) == 0, "a message names the file");
}

inline void requireOneLineEach(const std::vector<std::string>& messages, const std::string& file) {
    for (const std::string& m : messages) requireOneLine(m, file);
}

}  // namespace krello::fuzz
