// Reads a level source or image from disk and hands it to the compiler or the image decoder.
#include "level/level_file.h"

#include "io/file_bytes.h"
#include "level/level_validator.h"
#include "world/level_image.h"

namespace krello {

bool readLevelFile(const std::string& path, LevelSize size, GameState& g, LevelFile& out) {
    out = LevelFile{};
    std::string bytes, error;
    if (!io::readFile(path, "the level", bytes, error)) {
        out.errors.push_back(error);
        return false;
    }
    out.isSource = bytes.find('\0') == std::string::npos;
    if (out.isSource) return compileLevelSource(bytes, path, size, g, out.map, out.errors);
    if (bytes.size() != LEVEL_IMAGE_BYTES) {
        out.errors.push_back(path + ": " + std::to_string(bytes.size()) + " bytes, not the " +
                             std::to_string(LEVEL_IMAGE_BYTES) + " bytes of a level image");
        return false;
    }
    decodeLevelImage({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, g);
    return true;
}

std::vector<std::string> validateLevelFile(const GameState& g, const std::string& path,
                                           const LevelFile& file, LevelSize size) {
    const LevelOrigin origin{path, file.isSource ? &file.map : nullptr};
    return validateLevel(g, origin, size);
}

}  // namespace krello
