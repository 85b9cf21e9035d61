// A file a program writes as it runs (a demo being recorded): its target checked, opened and synced.
#pragma once

#include <cstdio>
#include <string>

namespace krello::io {

// Why `path` cannot take a recording, or "" when it can: a folder, a device, a FIFO or a socket
// never can; an existing file (also through a link, even a dangling one) only with `overwrite`;
// a path whose folder is missing or that loops through links cannot. Nothing is created or
// opened. The reason is one line naming the path.
std::string recordTargetProblem(const std::string& path, bool overwrite);

// Opens `path` for a recording, checked as recordTargetProblem does and checked again on the
// opened file (so a name swapped meanwhile for a device is still refused). A new file is
// created exclusively; with `overwrite` an existing regular file, or the regular file a link
// leads to, is emptied and written in place, the link kept. Returns the stream with `created`
// telling a new file from a replaced one, or nullptr with `error` set.
std::FILE* openRecordFile(const std::string& path, bool overwrite, bool& created, std::string& error);

// Asks the system to put what `f` has written on the disk. Returns "" or the system's reason.
std::string syncToDisk(std::FILE* f);

}  // namespace krello::io
