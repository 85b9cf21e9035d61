// A file created only where none was, on Windows: its C library's fopen knows no "x", its _open does.
#include "io/new_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace krello::io {

std::FILE* createNewFile(const std::filesystem::path& path) {
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) _close(fd);
    return f;
}

}  // namespace krello::io
