// Whole numbers given on krello-tool's command line, read and range-checked with one wording.
#pragma once

#include <cstdint>
#include <string>

namespace krello::tool {

// The decimal whole number `text` (an optional '-' and digits, nothing else), or ToolError
// "OPTION: expected a whole number from LO to HI, got 'TEXT'". Numbers such as 1e23 or 1.5 are
// refused, never rounded or saturated.
int64_t wholeNumber(const std::string& option, const std::string& text, int64_t lo, int64_t hi);

}  // namespace krello::tool
