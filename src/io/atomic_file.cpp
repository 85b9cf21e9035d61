// A file written as a stream under a temporary name beside its target, moved into place only when complete.
#include "io/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace krello::io {
namespace {

namespace fs = std::filesystem;

std::string cannotWrite(const std::string& path, const std::string& why) {
    return path + ": cannot be written: " + why;
}

// A name beside the target that no other writer uses: the target's own name with a number made
// of the time and a counter, opened exclusively ("x"), tried a few times.
std::FILE* createTemporary(const std::string& path, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    const fs::path target(path);
    const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Appended piece by piece: g++ 12 at -O3 warns falsely about "." + string (-Wrestrict).
        std::string name(1, '.');
        name += target.filename().string();
        name += '.';
        name += std::to_string((now + counter.fetch_add(1)) % 1000000007ull);
        name += ".tmp";
        temp = (target.parent_path() / name).string();
        std::FILE* f = std::fopen(temp.c_str(), "wbx");
        if (f != nullptr || errno != EEXIST) return f;
    }
    return nullptr;
}

// Gives the finished temporary file the target's name. A hard link fails on an existing name,
// which is what keeps Replace::No from replacing a file; where the file system has no links,
// the name is checked first and then taken by a rename.
std::string placeFile(const std::string& temp, const std::string& path, bool replace, bool& exists) {
    exists = false;
    std::error_code e;
    if (replace) {
        fs::rename(temp, path, e);
        return e ? cannotWrite(path, e.message()) : std::string();
    }
    fs::create_hard_link(temp, path, e);
    if (!e) {
        fs::remove(temp, e);
        return {};
    }
    if (e == std::errc::file_exists || fs::exists(path)) {
        exists = true;
        return path + ": already exists";
    }
    fs::rename(temp, path, e);
    return e ? cannotWrite(path, e.message()) : std::string();
}

}  // namespace

std::string AtomicFile::open(const std::string& path) {
    abandon();
    path_ = path;
    file_ = createTemporary(path, temp_);
    if (file_ == nullptr) {
        const std::string why = std::strerror(errno);
        temp_.clear();
        return cannotWrite(path, why);
    }
    return {};
}

std::string AtomicFile::commit(Replace replace) {
    if (file_ == nullptr) return cannotWrite(path_, "it was not opened");
    const bool written = std::fflush(file_) == 0 && !std::ferror(file_);
    const int writeErrno = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        const std::string why = std::strerror(writeErrno != 0 ? writeErrno : errno);
        abandon();
        return cannotWrite(path_, why);
    }
    bool exists = false;
    std::string error = placeFile(temp_, path_, replace == Replace::Yes, exists);
    if (exists) {
        error += "; the finished file was kept as " + temp_;
        temp_.clear();  // kept, not removed
        return error;
    }
    if (!error.empty()) {
        abandon();
        return error;
    }
    temp_.clear();
    return {};
}

void AtomicFile::abandon() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) std::remove(temp_.c_str());
    temp_.clear();
}

std::string writeNewFile(const std::string& path, std::span<const uint8_t> bytes, bool& exists) {
    exists = false;
    std::string temp;
    std::FILE* f = createTemporary(path, temp);
    if (f == nullptr) return cannotWrite(path, std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    const int writeErrno = errno;
    ok = std::fclose(f) == 0 && ok;
    std::string error = ok ? placeFile(temp, path, false, exists)
                           : cannotWrite(path, std::strerror(writeErrno != 0 ? writeErrno : errno));
    if (!error.empty()) std::remove(temp.c_str());
    return error;
}

}  // namespace krello::io
