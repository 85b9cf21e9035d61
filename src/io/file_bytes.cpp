// Whole files in and out: reading one into memory, writing bytes out whole or not at all.
#include "io/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "io/staged_outputs.h"

namespace krello::io {
namespace {

namespace fs = std::filesystem;

// Closes the file on every path out.
struct File {
    std::FILE* f;
    ~File() {
        if (f != nullptr) std::fclose(f);
    }
};

// Why the path cannot be read as a file, before opening it, or an empty string.
std::string kindProblem(const std::string& path) {
    std::error_code e;
    const fs::file_status s = fs::status(path, e);
    if (s.type() == fs::file_type::directory) return "it is a folder";
    if (s.type() == fs::file_type::not_found || s.type() == fs::file_type::regular || e) return {};
    return "it is not a regular file (a device, a pipe or a socket)";
}

}  // namespace

bool readFile(const std::string& path, std::string_view what, std::string& bytes, std::string& error) {
    const std::string cannotRead = path + ": cannot read " + std::string(what) + ": ";
    if (const std::string why = kindProblem(path); !why.empty()) {
        error = cannotRead + why;
        return false;
    }
    File in{std::fopen(path.c_str(), "rb")};
    if (in.f == nullptr) {
        error = path + ": cannot open " + std::string(what) + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.f)) > 0) {
        if (bytes.size() + n > MAX_INPUT_BYTES) {
            error = cannotRead + "it holds more than " + std::to_string(MAX_INPUT_BYTES) + " bytes";
            return false;
        }
        bytes.append(buffer, n);
    }
    if (std::ferror(in.f)) {
        error = cannotRead + std::strerror(errno);
        return false;
    }
    if (bytes.empty()) {
        error = cannotRead + "the file is empty";
        return false;
    }
    return true;
}

std::string writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    StagedOutputs out;
    if (std::string error = out.add(path, bytes); !error.empty()) return error;
    return out.commit();
}

std::string writeFile(const std::string& path, std::string_view text) {
    return writeFile(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace krello::io
