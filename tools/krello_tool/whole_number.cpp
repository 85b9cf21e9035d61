// Whole numbers given on krello-tool's command line, read and range-checked with one wording.
#include "krello_tool/whole_number.h"

#include <charconv>

#include "krello_tool/commands.h"

namespace krello::tool {

int64_t wholeNumber(const std::string& option, const std::string& text, int64_t lo, int64_t hi) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc{} || ptr != end || v < lo || v > hi) {
        throw ToolError{option + ": expected a whole number from " + std::to_string(lo) + " to " +
                        std::to_string(hi) + ", got '" + text + "'"};
    }
    return v;
}

}  // namespace krello::tool
