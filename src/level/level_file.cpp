// Reads a level source or image from disk and hands it to the compiler or the image decoder.
#include "level/level_file.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "io/file_bytes.h"
#include "level/level_validator.h"
#include "world/level_image.h"

namespace krello {
namespace {

bool isTextByte(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n'; }

// Where the first byte that is no text lies, or npos.
size_t firstNonText(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!isTextByte(static_cast<unsigned char>(bytes[i]))) return i;
    return std::string_view::npos;
}

// Whether the first statement, past blank and comment lines, is `level`: a source, however
// damaged further on.
bool beginsLikeASource(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
        if (line.empty() || line.front() == '#' || line == "\r") continue;
        return line.substr(0, 5) == "level" &&
               (line.size() == 5 || line[5] == ' ' || line[5] == '\t' || line[5] == '\r');
    }
    return false;
}

std::string neitherKind(const std::string& path, std::string_view bytes, size_t bad) {
    const long line = 1 + static_cast<long>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(bad), '\n'));
    char what[200];
    std::snprintf(what, sizeof what,
                  ": neither a level source (byte 0x%02X on line %ld is not text) nor a level image "
                  "(%zu bytes; an image holds %zu)",
                  static_cast<unsigned char>(bytes[bad]), line, bytes.size(), LEVEL_IMAGE_BYTES);
    return path + what;
}

}  // namespace

bool readLevelFile(const std::string& path, LevelSize size, GameState& g, LevelFile& out) {
    out = LevelFile{};
    std::string bytes, error;
    if (!io::readFile(path, "the level", bytes, error)) {
        out.errors.push_back(error);
        return false;
    }
    const size_t bad = firstNonText(bytes);
    const bool text = bad == std::string::npos;
    const bool source = beginsLikeASource(bytes);
    out.isSource = text || source || bytes.size() != LEVEL_IMAGE_BYTES;
    if (!out.isSource) {
        decodeLevelImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, g);
        return true;
    }
    if (!text && !source) {
        out.errors.push_back(neitherKind(path, bytes, bad));
        return false;
    }
    return compileLevelSource(bytes, path, size, g, out.map, out.errors);
}

std::vector<std::string> validateLevelFile(const GameState& g, const std::string& path,
                                           const LevelFile& file, LevelSize size) {
    const LevelOrigin origin{path, file.isSource ? &file.map : nullptr};
    return validateLevel(g, origin, size);
}

std::vector<std::string> listedFaults(std::vector<std::string> faults) {
    if (faults.size() <= MAX_LISTED_FAULTS) return faults;
    const size_t more = faults.size() - MAX_LISTED_FAULTS;
    faults.resize(MAX_LISTED_FAULTS);
    faults.push_back("and " + std::to_string(more) + " more faults");
    return faults;
}

}  // namespace krello
