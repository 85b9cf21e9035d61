// A file created only where none was, through the C library's exclusive mode ("x").
#include "io/new_file.h"

namespace krello::io {

std::FILE* createNewFile(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wbx"); }

}  // namespace krello::io
