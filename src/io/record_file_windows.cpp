// A file a program writes as it runs, on Windows: the file system's view of the target, then fopen.
#include "io/record_file.h"

#include <io.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "io/new_file.h"
#include "io/temporary_file.h"

namespace krello::io {

namespace fs = std::filesystem;

std::string recordTargetProblem(const std::string& path, bool overwrite) {
    std::error_code e;
    const fs::file_status st = fs::status(path, e);
    if (fs::exists(st)) {
        if (fs::is_directory(st)) return path + ": is a folder, not a file";
        if (!fs::is_regular_file(st)) return path + ": is a device, a pipe or a socket, not a file";
        if (!overwrite) return path + " already exists (--overwrite replaces it)";
        return {};
    }
    if (fs::exists(fs::symlink_status(path, e)) && !overwrite)
        return path + " already exists, a link to a missing file (--overwrite writes through it)";
    const fs::path folder = fs::path(path).parent_path().empty() ? fs::path(".") : fs::path(path).parent_path();
    if (!fs::is_directory(folder, e)) return cannotWrite(path, "its folder: no such folder");
    return {};
}

std::FILE* openRecordFile(const std::string& path, bool overwrite, bool& created, std::string& error) {
    created = false;
    if (error = recordTargetProblem(path, overwrite); !error.empty()) return nullptr;
    std::error_code e;
    const bool existed = fs::exists(path, e);
    std::FILE* f = existed ? std::fopen(path.c_str(), "wb") : createNewFile(path);
    if (f == nullptr) {
        error = errno == EEXIST ? path + " already exists (--overwrite replaces it)" : cannotWrite(path, std::strerror(errno));
        return nullptr;
    }
    created = !existed;
    return f;
}

std::string syncToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return std::strerror(errno);
    if (_commit(_fileno(f)) != 0 && errno != EBADF) return std::strerror(errno);
    return {};
}

}  // namespace krello::io
