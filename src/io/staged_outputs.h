// Outputs that appear whole or not at all: a command's files are staged beside their targets and put in place together.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace krello::io {

// The files one command writes. Each is written first to a new hidden file in its target's
// folder (".NAME.<random>.tmp"); commit() gives them their real names, by renames in that
// folder, only after every one of them is complete, flushed and closed. A command that fails
// before commit() (or destroys the object, or calls discard()) leaves no new file behind and
// changes no existing one.
//
//   StagedOutputs out;
//   for (each output path) if (auto e = out.check(path); !e.empty()) fail(e);  // before any work
//   ... the work ...
//   if (auto e = out.add("frame.raw", bytes); !e.empty()) fail(e);       // bytes made in memory
//   std::string e;
//   std::FILE* log = out.open("run.txt", e);                            // bytes made as it goes
//   ...
//   if (auto e = out.commit(); !e.empty()) fail(e);
//
// Every error is one line naming the path as given: "PATH: cannot be written: REASON".
//
// A target that is a symbolic link is written through: the file it points to is replaced (or
// made) and the link stays; a link whose file's folder is missing, or a loop of links, is
// refused. A link is never replaced by a regular file. An existing target keeps its permissions. A target that is a folder, a
// device, a pipe or a socket is refused, so no output ever replaces one (a PNG aimed at
// /dev/full fails without touching the device node).
//
// The renames are the only step after the last check, so a failure there is left to a folder
// that changed meanwhile (another program removing it); outputs renamed before such a failure
// stay in place. Nothing is synced to the disk: a power cut may still lose the newest bytes.
class StagedOutputs {
public:
    StagedOutputs() = default;
    StagedOutputs(const StagedOutputs&) = delete;
    StagedOutputs& operator=(const StagedOutputs&) = delete;
    ~StagedOutputs() { discard(); }

    // Checks that `path` can take an output and creates nothing: the name is not empty, the
    // target is not a folder, device or pipe, its folder exists (or lies in one given to
    // createFolder) and no other output of this command has the same target.
    // Returns an empty string or one line.
    std::string check(const std::string& path);

    // Names a file the command reads. No output may be the same file as an input (the same
    // device and inode, also through links or under another name): check() and the staging
    // calls refuse it, before the input could be replaced by what is made from it.
    void input(const std::string& path) { inputs_.push_back(path); }

    // Lets outputs go into `folder`, and the folders above it, when they do not exist yet:
    // commit() creates them, so a failed command creates no folder either.
    // Returns an empty string, or one line when `folder` exists and is not a folder.
    std::string createFolder(const std::string& folder);

    // Stages `bytes` as the whole content of `path` (check() runs first).
    // Returns an empty string or one line.
    std::string add(const std::string& path, std::span<const uint8_t> bytes);
    std::string add(const std::string& path, std::string_view text);

    // A stream whose bytes become `path` at commit(), for output produced while the command
    // runs (a recorded demo, a state dump). The stream stays this object's: do not close it.
    // Returns nullptr with `error` set to one line when the file cannot be made.
    std::FILE* open(const std::string& path, std::string& error);

    // Flushes and closes every stream, then renames every staged file over its target (and
    // creates the folders given to createFolder first). On a failure the files not yet in
    // place are removed. Returns an empty string or one line. Commits once; the object is empty
    // afterwards.
    std::string commit();

    // Removes every staged file; the targets stay as they were. Safe to call more than once.
    void discard();

private:
    struct Staged {
        std::string path;                 // as given, for messages
        std::filesystem::path target;     // the file that commit() replaces
        std::filesystem::path temporary;  // where the bytes are until then
        std::FILE* stream = nullptr;      // open while the command writes through it
    };

    std::string problem(const std::string& path) const;
    std::string stage(const std::string& path, Staged& out);
    std::filesystem::path target(const std::string& path) const;
    bool inFolderToCreate(const std::filesystem::path& folder) const;

    std::vector<Staged> staged_;                     // in the order they were staged
    std::vector<std::filesystem::path> checked_;     // targets given to check(), to find twins early
    std::vector<std::filesystem::path> newFolders_;  // folders commit() creates
    std::vector<std::string> inputs_;                // files the command reads, never replaced
};

}  // namespace krello::io
