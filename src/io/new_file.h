// A file created only where none was: the one platform choice of how outputs are begun.
#pragma once

#include <cstdio>
#include <filesystem>

namespace krello::io {

// Creates `path` for writing bytes as they are, exclusively: when anything of that name exists
// (a file, a link, even one made a moment ago by another writer) nothing is opened or changed.
// Returns the stream, or nullptr with errno set (EEXIST for a name that is taken). The build
// picks the file that defines it: new_file_posix.cpp, or new_file_windows.cpp for Windows.
std::FILE* createNewFile(const std::filesystem::path& path);

}  // namespace krello::io
