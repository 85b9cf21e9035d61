// The one way an output is begun: a new hidden file beside its target, under a name no other writer uses.
#include "io/temporary_file.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "io/new_file.h"

namespace krello::io {

namespace fs = std::filesystem;

std::FILE* createTemporaryBeside(const fs::path& folder, const fs::path& target, fs::path& temporary) {
    std::random_device device;
    std::mt19937_64 bits(device() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 8; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(bits()));
        temporary = folder / ("." + target.filename().string() + suffix);
        std::error_code e;
        if (fs::exists(fs::symlink_status(temporary, e))) continue;
        std::FILE* f = createNewFile(temporary);
        if (f != nullptr || errno != EEXIST) return f;
    }
    errno = EEXIST;
    return nullptr;
}

std::string cannotWrite(const std::string& path, const std::string& why) {
    return path + ": cannot be written: " + why;
}

std::string closeWritten(std::FILE*& f) {
    const bool written = std::fflush(f) == 0 && std::ferror(f) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    f = nullptr;
    if (written && closed) return {};
    return std::strerror(!written && writeErrno != 0 ? writeErrno : errno);
}

}  // namespace krello::io
