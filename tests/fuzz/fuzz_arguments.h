// A fuzz input as a command line: the program's name, then arguments separated by zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"

namespace krello::fuzz {

// Enough for any real command line of the programs, and a bound on one input's work.
constexpr size_t MAX_ARGUMENTS = 64;

struct Arguments {
    std::vector<std::string> words;
    std::vector<const char*> argv;  // into words, as main gets them

    Arguments(const char* program, const uint8_t* data, size_t size) {
        words.emplace_back(program);
        std::string word;
        for (size_t i = 0; i <= size && words.size() < MAX_ARGUMENTS; ++i) {
            if (i < size && data[i] != 0) {
                word += static_cast<char>(data[i]);
                continue;
            }
            words.push_back(word);
            word.clear();
        }
        for (const std::string& w : words) argv.push_back(w.c_str());
        argv.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(words.size()); }
};

// A bad argument's line: one line with the program's name first, short (an echoed word is cut at
// 80 characters, each at most 4 bytes as an escape or in UTF-8, so the words round it have 320
// bytes to spare), with no control character.
inline void requireErrorLine(const std::string& line, const std::string& program) {
    requireOneLine(line, program + ": ");
    require(line.size() <= 640, "an error line is short");
    for (const char c : line)
        require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "an error line holds no control character");
}

}  // namespace krello::fuzz
