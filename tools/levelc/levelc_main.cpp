// krello-levelc: compiles and checks the level source, then writes the built-in level as C++.
#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "io/staged_outputs.h"
#include "io/temporary_names.h"
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

// Reports a failure of the outputs, if any.
bool written(const std::string& error) {
    if (!error.empty()) std::fprintf(stderr, "krello-levelc: %s\n", error.c_str());
    return error.empty();
}

// Checks, compiles and writes: both outputs appear together, and only for a sound level.
int compile(const Arguments& args) {
    krello::io::StagedOutputs out;
    out.input(args.source);  // the source is never replaced by what is compiled from it
    if (!written(out.check(args.output)) || (!args.image.empty() && !written(out.check(args.image)))) return kBadInput;
    auto g = std::make_unique<krello::GameState>();
    krello::LevelFile file;
    if (!krello::readLevelFile(args.source, krello::LevelSize::Full, *g, file)) {
        for (const std::string& e : file.errors) std::fprintf(stderr, "krello-levelc: %s\n", e.c_str());
        return kBadInput;
    }
    const auto violations = krello::validateLevelFile(*g, args.source, file, krello::LevelSize::Full);
    for (const std::string& v : krello::listedFaults(violations)) std::fprintf(stderr, "krello-levelc: %s\n", v.c_str());
    if (!violations.empty()) return kViolations;
    std::array<uint8_t, krello::LEVEL_IMAGE_BYTES> image{};
    krello::encodeLevelImage(*g, image);
    const std::string name = std::filesystem::path(args.source).filename().string();
    if (!written(out.add(args.output, cppFile(name, image)))) return kBadInput;
    if (!args.image.empty() && !written(out.add(args.image, image))) return kBadInput;
    return written(out.commit()) ? 0 : kBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    krello::io::removeTemporariesOnStop();  // an interrupted compile leaves no hidden file
    Arguments args;
    if (!parseArguments(argc, argv, args)) return kBadInput;
    // Nothing the compiler does may end in std::terminate: whatever is thrown is one line.
    try {
        return compile(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "krello-levelc: %s: out of memory while compiling\n", args.source.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krello-levelc: %s: compiling failed: %s\n", args.source.c_str(), e.what());
    } catch (...) {
        std::fprintf(stderr, "krello-levelc: %s: compiling failed\n", args.source.c_str());
    }
    return kBadInput;
}
