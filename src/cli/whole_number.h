// The one reader of whole numbers given as text: on command lines, in the settings file, in a view.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace krello::cli {

// Reads `text` as a decimal whole number from lo to hi: an optional '-' and digits, nothing
// else. Numbers such as 1e23 or 1.5 are refused, never rounded or saturated.
bool readWholeNumber(std::string_view text, int64_t lo, int64_t hi, int64_t& value);

// What such a number must be, for messages: "a whole number from 1 to 16", or "a whole number
// from 0 up" when hi is the largest int64_t.
std::string wholeNumberRange(int64_t lo, int64_t hi = std::numeric_limits<int64_t>::max());

}  // namespace krello::cli
