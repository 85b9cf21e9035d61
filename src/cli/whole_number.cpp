// The one reader of whole numbers given as text: on command lines, in the settings file, in a view.
#include "cli/whole_number.h"

#include <charconv>

namespace krello::cli {

bool readWholeNumber(std::string_view text, int64_t lo, int64_t hi, int64_t& value) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc{} || ptr != end || v < lo || v > hi) return false;
    value = v;
    return true;
}

std::string wholeNumberRange(int64_t lo, int64_t hi) {
    if (hi == std::numeric_limits<int64_t>::max()) return "a whole number from " + std::to_string(lo) + " up";
    return "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
}

}  // namespace krello::cli
