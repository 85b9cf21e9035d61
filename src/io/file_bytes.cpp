// Whole files in and out: reading one into memory, writing bytes out whole or not at all.
#include "io/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace krello::io {
namespace {

// Closes the file on every path out.
struct File {
    std::FILE* f;
    ~File() {
        if (f != nullptr) std::fclose(f);
    }
};

std::string cannotWrite(const std::string& path, const std::string& why) {
    return path + ": cannot be written: " + why;
}

}  // namespace

bool readFile(const std::string& path, std::string_view what, std::string& bytes, std::string& error) {
    File in{std::fopen(path.c_str(), "rb")};
    if (in.f == nullptr) {
        error = path + ": cannot open " + std::string(what);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.f)) > 0) bytes.append(buffer, n);
    if (std::ferror(in.f)) {
        error = path + ": cannot read " + std::string(what);
        return false;
    }
    return true;
}

std::string writeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string temp = path + ".tmp";
    File out{std::fopen(temp.c_str(), "wb")};
    if (out.f == nullptr) return cannotWrite(path, std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out.f) == bytes.size();
    const int writeErrno = errno;
    ok = std::fclose(out.f) == 0 && ok;
    out.f = nullptr;
    if (!ok) {
        std::remove(temp.c_str());
        return cannotWrite(path, std::strerror(writeErrno != 0 ? writeErrno : errno));
    }
    std::error_code renamed;
    std::filesystem::rename(temp, path, renamed);
    if (renamed) {
        std::remove(temp.c_str());
        return cannotWrite(path, renamed.message());
    }
    return {};
}

std::string writeFile(const std::string& path, std::string_view text) {
    return writeFile(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace krello::io
