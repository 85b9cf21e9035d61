// Outputs that appear whole or not at all: a command's files are staged beside their targets and put in place together.
#include "io/staged_outputs.h"

#include "io/temporary_file.h"
#include "io/temporary_names.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace krello::io {
namespace {

namespace fs = std::filesystem;

// The folder a target lies in, "." for a bare file name.
fs::path folderOf(const fs::path& target) {
    const fs::path parent = target.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// The nearest folder at or above `folder` that exists: where a file for a folder that
// commit() has yet to create waits, on the same file system as its target.
fs::path nearestExisting(fs::path folder) {
    std::error_code e;
    while (!fs::is_directory(folder, e) && folder.has_relative_path()) folder = folderOf(folder);
    return folder;
}

// Why `target` cannot be replaced by a file, or an empty string.
std::string kindProblem(const fs::path& target) {
    std::error_code e;
    const fs::file_status s = fs::status(target, e);
    if (s.type() == fs::file_type::not_found || s.type() == fs::file_type::regular) return {};
    if (s.type() == fs::file_type::directory) return "it is a folder";
    if (e) return e.message();
    return "it is not a regular file (a device, a pipe or a socket)";
}

}  // namespace

fs::path StagedOutputs::target(const std::string& path) const {
    // A link is written through: the file it points to takes the new bytes, the link stays. The
    // links are followed one by one, so a link to a file not made yet (or into a folder that is
    // missing) still names that file, and is never itself replaced by a regular file.
    fs::path p(path);
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code e;
        if (!fs::is_symlink(fs::symlink_status(p, e))) return p;
        const fs::path link = fs::read_symlink(p, e);
        if (e) break;
        p = link.is_absolute() ? link : folderOf(p) / link;
    }
    return path;  // a loop of links: the check of its kind says so
}

bool StagedOutputs::inFolderToCreate(const fs::path& folder) const {
    const fs::path wanted = fs::absolute(folder).lexically_normal();
    for (const fs::path& f : newFolders_) {
        const fs::path rest = wanted.lexically_relative(f);
        if (!rest.empty() && *rest.begin() != "..") return true;
    }
    return false;
}

std::string StagedOutputs::problem(const std::string& path) const {
    if (path.empty()) return cannotWrite("''", "no file name");
    const fs::path t = target(path);
    if (std::string why = kindProblem(t); !why.empty()) return cannotWrite(path, why);
    if (!t.has_filename()) return cannotWrite(path, "it names a folder");
    for (const std::string& in : inputs_) {
        std::error_code same;
        if (fs::equivalent(t, in, same) && !same)
            return cannotWrite(path, in == path ? "it is also an input of this command"
                                                : "it is the same file as the input " + in);
    }
    const fs::path folder = folderOf(t);
    std::error_code e;
    const fs::file_status s = fs::status(folder, e);
    if (s.type() == fs::file_type::not_found) {
        if (inFolderToCreate(folder)) return {};
        if (t != fs::path(path)) return cannotWrite(path, "it links to " + t.string() + ", whose folder does not exist");
        return cannotWrite(path, "the folder " + folder.string() + " does not exist");
    }
    if (s.type() != fs::file_type::directory) {
        if (t != fs::path(path)) return cannotWrite(path, "it links to " + t.string() + ", and " + folder.string() + " is not a folder");
        return cannotWrite(path, folder.string() + " is not a folder");
    }
    return {};
}

std::string StagedOutputs::check(const std::string& path) {
    if (std::string why = problem(path); !why.empty()) return why;
    const fs::path key = fs::absolute(target(path)).lexically_normal();
    if (std::find(checked_.begin(), checked_.end(), key) != checked_.end())
        return cannotWrite(path, "named for two outputs of one command");
    checked_.push_back(key);
    return {};
}

std::string StagedOutputs::createFolder(const std::string& folder) {
    std::error_code e;
    const fs::file_status s = fs::status(folder, e);
    if (s.type() == fs::file_type::directory) return {};
    if (s.type() != fs::file_type::not_found) return folder + ": cannot be made a folder: it is not one";
    newFolders_.push_back(fs::absolute(fs::path(folder)).lexically_normal());
    return {};
}

std::string StagedOutputs::stage(const std::string& path, Staged& out) {
    if (std::string why = problem(path); !why.empty()) return why;
    out.path = path;
    out.target = target(path);
    const fs::path key = fs::absolute(out.target).lexically_normal();
    for (const Staged& s : staged_)
        if (fs::absolute(s.target).lexically_normal() == key) return cannotWrite(path, "named for two outputs of one command");
    out.stream = createTemporaryBeside(nearestExisting(folderOf(out.target)), out.target, out.temporary);
    if (out.stream == nullptr) return cannotWrite(path, std::strerror(errno));
    return {};
}

std::string StagedOutputs::add(const std::string& path, std::span<const uint8_t> bytes) {
    Staged s;
    if (std::string why = stage(path, s); !why.empty()) return why;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), s.stream) == bytes.size();
    const int writeErrno = errno;
    std::string why = closeWritten(s.stream);
    if (!written && why.empty()) why = std::strerror(writeErrno);
    if (!why.empty()) {
        // Never staged, so a commit that follows cannot put a short file in place.
        removeTemporary(s.temporary);
        return cannotWrite(path, why);
    }
    staged_.push_back(s);
    return {};
}

std::string StagedOutputs::add(const std::string& path, std::string_view text) {
    return add(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

std::FILE* StagedOutputs::open(const std::string& path, std::string& error) {
    Staged s;
    error = stage(path, s);
    if (!error.empty()) return nullptr;
    staged_.push_back(s);
    return s.stream;
}

std::string StagedOutputs::commit() {
    std::string error;
    for (Staged& s : staged_) {
        if (s.stream == nullptr) continue;
        if (std::string why = closeWritten(s.stream); !why.empty() && error.empty()) error = cannotWrite(s.path, why);
    }
    std::vector<fs::path> made;
    for (const fs::path& folder : newFolders_) {
        if (!error.empty()) break;
        std::error_code e;
        for (fs::path f = folder; !fs::exists(f, e) && f.has_relative_path(); f = f.parent_path()) made.push_back(f);
        fs::create_directories(folder, e);
        if (e) error = folder.string() + ": cannot be made a folder: " + e.message();
    }
    // A stop signal waits until the outputs are all in place (or all given up), so an
    // interrupted command never leaves some replaced and others not.
    StopSignalsHeld held;
    for (Staged& s : staged_) {
        if (!error.empty()) break;
        std::error_code e;
        // An existing file keeps who may read and write it.
        const fs::file_status old = fs::status(s.target, e);
        if (old.type() == fs::file_type::regular) fs::permissions(s.temporary, old.permissions(), e);
        fs::rename(s.temporary, s.target, e);
        if (e) {
            error = cannotWrite(s.path, e.message());
        } else {
            forgetTemporary(s.temporary.string().c_str());
            s.temporary.clear();
        }
    }
    discard();
    if (!error.empty()) {
        // Only the folders this commit made, and only if nothing went into them.
        std::error_code e;
        for (const fs::path& f : made) fs::remove(f, e);
    }
    return error;
}

void StagedOutputs::discard() {
    for (Staged& s : staged_) {
        if (s.stream != nullptr) std::fclose(s.stream);
        if (!s.temporary.empty()) removeTemporary(s.temporary);
    }
    staged_.clear();
    checked_.clear();
    newFolders_.clear();
    inputs_.clear();
}

}  // namespace krello::io
