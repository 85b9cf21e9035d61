// A file written as a stream under a temporary name beside its target, moved into place only when complete.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace krello::io {

// For output that is produced bit by bit (a demo recorded while a game runs): the bytes go to a
// new file in the target's folder, and only a finished, flushed file takes the target's name.
// A crash, a full disk or an abandoned write leaves nothing under the real name.
//
//   AtomicFile out;
//   if (auto e = out.open("game.demo"); !e.empty()) ...   // one line naming the file
//   fwrite(..., out.stream());
//   if (auto e = out.commit(AtomicFile::Replace::No); !e.empty()) ...
class AtomicFile {
public:
    enum class Replace { No, Yes };

    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() { abandon(); }

    // Creates the temporary file. Returns an empty string, or "PATH: cannot be written: REASON".
    std::string open(const std::string& path);
    std::FILE* stream() const { return file_; }
    const std::string& path() const { return path_; }
    const std::string& temporaryPath() const { return temp_; }

    // Flushes and closes the stream and gives the file the target's name. With Replace::No an
    // existing target is never replaced: the error names it, and the finished bytes stay in the
    // temporary file (named in the error), so nothing is lost. Returns an empty string or one line.
    std::string commit(Replace replace);

    // Closes and removes the temporary file; the target is untouched. Safe to call twice.
    void abandon();

private:
    std::string path_;
    std::string temp_;
    std::FILE* file_ = nullptr;
};

// Writes `bytes` as a new file at `path`, which must not exist yet: the bytes go to a temporary
// file that is then linked under the path, so a file that appears meanwhile is never replaced
// and no half-written file ever carries the name. Returns an empty string or one line;
// `exists` tells a taken name apart from other failures.
std::string writeNewFile(const std::string& path, std::span<const uint8_t> bytes, bool& exists);

}  // namespace krello::io
