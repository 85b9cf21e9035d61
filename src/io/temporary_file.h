// The one way an output is begun: a new hidden file beside its target, under a name no other writer uses.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace krello::io {

// Creates ".NAME.<64 random bits>.tmp" in `folder` for the target `target` (NAME is the
// target's file name), exclusively: a name another writer has taken is never opened.
// Returns the open stream and sets `temporary`, or nullptr with errno set. The file is noted
// for removal by a stop signal (io/temporary_names.h) until it is renamed or removed.
std::FILE* createTemporaryBeside(const std::filesystem::path& folder, const std::filesystem::path& target,
                                 std::filesystem::path& temporary);

// Removes a temporary file that will not be put in place (and its note for the stop signals).
void removeTemporary(const std::filesystem::path& temporary);

// The one wording of an output that failed: "PATH: cannot be written: WHY".
std::string cannotWrite(const std::string& path, const std::string& why);

// Flushes and closes `f` (set to nullptr). Returns "" when every byte reached the file, else
// the system's reason.
std::string closeWritten(std::FILE*& f);

}  // namespace krello::io
