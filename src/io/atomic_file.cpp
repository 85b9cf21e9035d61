// A file written as a stream under a temporary name beside its target, moved into place only when complete.
#include "io/atomic_file.h"

#include "io/temporary_file.h"
#include "io/temporary_names.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace krello::io {
namespace {

namespace fs = std::filesystem;

// The temporary file beside the target, named as every output's is (io/temporary_file.h).
std::FILE* createTemporary(const std::string& path, std::string& temp) {
    const fs::path target(path);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    fs::path temporary;
    std::FILE* f = createTemporaryBeside(folder, target, temporary);
    temp = temporary.string();
    return f;
}

// Gives the finished temporary file the target's name. A hard link fails on an existing name,
// which is what keeps Replace::No from replacing a file; where the file system has no links,
// the name is checked first and then taken by a rename.
std::string placeFile(const std::string& temp, const std::string& path, bool replace, bool& exists) {
    exists = false;
    std::error_code e;
    if (replace) {
        fs::rename(temp, path, e);
        if (!e) forgetTemporary(temp.c_str());
        return e ? cannotWrite(path, e.message()) : std::string();
    }
    fs::create_hard_link(temp, path, e);
    if (!e) {
        removeTemporary(temp);
        return {};
    }
    if (e == std::errc::file_exists || fs::exists(path)) {
        exists = true;
        return path + ": already exists";
    }
    fs::rename(temp, path, e);
    if (!e) forgetTemporary(temp.c_str());
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
    if (const std::string why = closeWritten(file_); !why.empty()) {
        abandon();
        return cannotWrite(path_, why);
    }
    bool exists = false;
    std::string error = placeFile(temp_, path_, replace == Replace::Yes, exists);
    if (exists) {
        error += "; the finished file was kept as " + temp_;
        forgetTemporary(temp_.c_str());
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
    if (!temp_.empty()) removeTemporary(temp_);
    temp_.clear();
}

std::string writeNewFile(const std::string& path, std::span<const uint8_t> bytes, bool& exists) {
    exists = false;
    std::string temp;
    std::FILE* f = createTemporary(path, temp);
    if (f == nullptr) return cannotWrite(path, std::strerror(errno));
    const bool put = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int putErrno = errno;
    std::string why = closeWritten(f);
    if (!put && why.empty()) why = std::strerror(putErrno);
    std::string error = why.empty() ? placeFile(temp, path, false, exists) : cannotWrite(path, why);
    if (!error.empty()) removeTemporary(temp);
    return error;
}

}  // namespace krello::io
