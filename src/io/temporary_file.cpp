// The one way an output is begun: a new hidden file beside its target, under a name no other writer uses.
#include "io/temporary_file.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "io/new_file.h"
#include "io/temporary_names.h"

namespace krello::io {

namespace fs = std::filesystem;

namespace {

// The longest file name most file systems take, in bytes.
constexpr size_t MAX_NAME_BYTES = 255;
// What the temporary name adds: the dot in front and ".<16 hex digits>.tmp".
constexpr size_t ADDED_BYTES = 1 + 21;

// A target's name as its temporary file carries it: cut (at a character's start) so that any
// name the file system takes still has a temporary name it takes.
std::string shortenedName(std::string name) {
    if (name.size() + ADDED_BYTES <= MAX_NAME_BYTES) return name;
    size_t keep = MAX_NAME_BYTES - ADDED_BYTES;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    name.resize(keep);
    return name;
}

}  // namespace

std::FILE* createTemporaryBeside(const fs::path& folder, const fs::path& target, fs::path& temporary) {
    std::random_device device;
    std::mt19937_64 bits(device() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 8; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(bits()));
        temporary = folder / ("." + shortenedName(target.filename().string()) + suffix);
        std::error_code e;
        if (fs::exists(fs::symlink_status(temporary, e))) continue;
        // Noted before it exists, with the stop signals held, so no moment has the file on disk
        // and out of the list a stop signal's handler removes.
        std::FILE* f = nullptr;
        int createErrno = 0;
        {
            StopSignalsHeld held;
            noteTemporary(temporary.string().c_str());
            f = createNewFile(temporary);
            createErrno = errno;
            if (f == nullptr) forgetTemporary(temporary.string().c_str());
        }
        errno = createErrno;
        if (f != nullptr || errno != EEXIST) return f;
    }
    errno = EEXIST;
    return nullptr;
}

void removeTemporary(const fs::path& temporary) {
    std::error_code e;
    fs::remove(temporary, e);
    forgetTemporary(temporary.string().c_str());
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
