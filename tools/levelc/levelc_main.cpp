// krello-levelc: compiles and checks the level source, then writes the built-in level as C++.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "io/file_bytes.h"
#include "level/level_file.h"
#include "world/level_image.h"

namespace {

constexpr int kBadInput = 2;   // unreadable, malformed or wrong arguments
constexpr int kViolations = 1;  // a readable level that breaks the level's rules

struct Arguments {
    std::string source, output, image;
};

bool parseArguments(int argc, char** argv, Arguments& a) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-o" || arg == "--image") && i + 1 < argc) {
            (arg == "-o" ? a.output : a.image) = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && a.source.empty()) {
            a.source = arg;
        } else {
            std::fprintf(stderr, "krello-levelc: unexpected argument '%s'\n", arg.c_str());
            return false;
        }
    }
    if (a.source.empty() || a.output.empty()) {
        std::fprintf(stderr, "usage: krello-levelc SOURCE -o OUT.cpp [--image OUT.img]\n");
        return false;
    }
    return true;
}

std::string cppFile(const std::string& sourceName, std::span<const uint8_t> image) {
    std::string s;
    s.reserve(image.size() * 5 + 1024);
    s += "// The level image, compiled by krello-levelc from " + sourceName + "; do not edit.\n";
    s += "#include \"level/builtin_level.h\"\n\nnamespace krello {\nnamespace {\n\n";
    s += "constexpr uint8_t kImage[LEVEL_IMAGE_BYTES] = {";
    for (size_t i = 0; i < image.size(); ++i) {
        s += (i % 20 == 0) ? "\n    " : " ";
        s += std::to_string(image[i]) + ",";
    }
    s += "\n};\n\n}  // namespace\n\n";
    s += "std::span<const uint8_t, LEVEL_IMAGE_BYTES> builtinLevelImage() {\n"
         "    return std::span<const uint8_t, LEVEL_IMAGE_BYTES>(kImage, LEVEL_IMAGE_BYTES);\n}\n\n";
    s += "void loadBuiltinLevel(GameState& g) { decodeLevelImage(builtinLevelImage(), g); }\n\n";
    s += "}  // namespace krello\n";
    return s;
}

// Whole or not at all, so a failed run never leaves a half-written file.
bool writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string error = krello::io::writeFile(path, bytes);
    if (!error.empty()) std::fprintf(stderr, "krello-levelc: %s\n", error.c_str());
    return error.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    if (!parseArguments(argc, argv, args)) return kBadInput;
    auto g = std::make_unique<krello::GameState>();
    krello::LevelFile file;
    if (!krello::readLevelFile(args.source, krello::LevelSize::Full, *g, file)) {
        for (const std::string& e : file.errors) std::fprintf(stderr, "%s\n", e.c_str());
        return kBadInput;
    }
    const auto violations = krello::validateLevelFile(*g, args.source, file, krello::LevelSize::Full);
    for (const std::string& v : violations) std::fprintf(stderr, "%s\n", v.c_str());
    if (!violations.empty()) return kViolations;
    std::array<uint8_t, krello::LEVEL_IMAGE_BYTES> image{};
    krello::encodeLevelImage(*g, image);
    const std::string name = std::filesystem::path(args.source).filename().string();
    const std::string cpp = cppFile(name, image);
    if (!writeFile(args.output, {reinterpret_cast<const uint8_t*>(cpp.data()), cpp.size()})) return kBadInput;
    if (!args.image.empty() && !writeFile(args.image, image)) return kBadInput;
    return 0;
}
