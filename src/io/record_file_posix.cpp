// A file a program writes as it runs, on POSIX systems: stat before opening, fstat after.
#include "io/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/temporary_file.h"

namespace krello::io {
namespace {

std::string kindProblem(const std::string& path, const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return path + ": is a folder, not a file";
    if (!S_ISREG(st.st_mode)) return path + ": is a device, a pipe or a socket, not a file";
    return {};
}

std::string systemReason(int error) {
    if (error == ELOOP) return "too many levels of symbolic links";
    return std::strerror(error);
}

}  // namespace

std::string recordTargetProblem(const std::string& path, bool overwrite) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (std::string kind = kindProblem(path, st); !kind.empty()) return kind;
        if (!overwrite) return path + " already exists (--overwrite replaces it)";
        if (::access(path.c_str(), W_OK) != 0) return cannotWrite(path, systemReason(errno));
        return {};
    }
    const int statError = errno;
    if (statError != ENOENT) return cannotWrite(path, systemReason(statError));
    struct stat link {};
    const bool dangling = ::lstat(path.c_str(), &link) == 0;
    if (dangling && !overwrite) return path + " already exists, a link to a missing file (--overwrite writes through it)";
    // The folder the new file (or the link's target) goes in must be there and take files.
    std::string folder = path;
    if (dangling) {
        char target[4096];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n > 0) {
            target[n] = '\0';
            folder = target[0] == '/' ? std::string(target)
                                      : path.substr(0, path.find_last_of('/') + 1) + std::string(target);
        }
    }
    const size_t slash = folder.find_last_of('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : folder.substr(0, slash);
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0)
        return cannotWrite(path, (dangling ? "the folder its link leads to: " : "its folder: ") + systemReason(errno));
    if (!S_ISDIR(dir.st_mode)) return cannotWrite(path, "its folder is not a folder");
    if (::access(folder.c_str(), W_OK) != 0) return cannotWrite(path, systemReason(errno));
    return {};
}

std::FILE* openRecordFile(const std::string& path, bool overwrite, bool& created, std::string& error) {
    created = false;
    if (error = recordTargetProblem(path, overwrite); !error.empty()) return nullptr;
    struct stat before {};
    const bool existed = ::stat(path.c_str(), &before) == 0;
    // Never blocks on a FIFO put in place meanwhile; never takes a terminal as its own.
    int flags = O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    if (!existed) flags |= O_CREAT | (overwrite ? 0 : O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        error = errno == EEXIST ? path + " already exists (--overwrite replaces it)" : cannotWrite(path, systemReason(errno));
        return nullptr;
    }
    struct stat st {};
    std::string problem;
    if (::fstat(fd, &st) != 0) problem = cannotWrite(path, systemReason(errno));
    else if (problem = kindProblem(path, st); !problem.empty()) {
    } else if (existed && (st.st_dev != before.st_dev || st.st_ino != before.st_ino)) {
        problem = cannotWrite(path, "it was replaced while it was being opened");
    } else if (::ftruncate(fd, 0) != 0) {
        problem = cannotWrite(path, systemReason(errno));
    }
    if (problem.empty()) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = problem.empty() ? ::fdopen(fd, "wb") : nullptr;
    if (f == nullptr) {
        if (problem.empty()) problem = cannotWrite(path, systemReason(errno));
        ::close(fd);
        if (!existed && st.st_ino != 0) ::unlink(path.c_str());
        error = problem;
        return nullptr;
    }
    created = !existed;
    return f;
}

std::string syncToDisk(std::FILE* f) {
    if (std::fflush(f) != 0) return std::strerror(errno);
    // A file system that cannot sync (a pipe's, some network ones) still has the bytes.
    if (::fsync(::fileno(f)) != 0 && errno != EINVAL && errno != EROFS) return std::strerror(errno);
    return {};
}

}  // namespace krello::io
