// Text from a user or a file as a one-line message echoes it: bounded, and unable to steer a terminal.
#pragma once

#include <string>
#include <string_view>

namespace krello::io {

// The longest echo, in characters.
constexpr size_t MAX_SHOWN_CHARACTERS = 80;

// `text` with control characters escaped ("\x1B") and cut after MAX_SHOWN_CHARACTERS characters
// (never inside one) with "…": a ten-megabyte token makes a short line, and escape sequences
// from a file never reach the terminal.
std::string shownText(std::string_view text);

// The same, cut after `most` characters: for a whole message from elsewhere that holds an echo.
std::string shownText(std::string_view text, size_t most);

// `text` with control characters escaped as shownText escapes them, but whole: for a message
// made of words of our own around an echo from elsewhere (a parser library's).
std::string escapedText(std::string_view text);

}  // namespace krello::io
