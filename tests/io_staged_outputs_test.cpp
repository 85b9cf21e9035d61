// Staged outputs: all of a command's files appear together on commit, none on failure, and
// nothing but a regular file is ever replaced.
#include "io/staged_outputs.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <filesystem>
#include <string>

#include "io/file_bytes.h"
#include "program_run.h"

namespace krello {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::writeText;

class StagedOutputs : public test::FolderTest {
protected:
    size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }
};

TEST_F(StagedOutputs, CommitPutsEveryFileInPlaceAndNothingElse) {
    writeText(at("old.txt"), "old");
    ::chmod(at("old.txt").c_str(), 0600);
    writeText(at("real.txt"), "real");
    fs::create_symlink("real.txt", at("link.txt"));
    io::StagedOutputs out;
    ASSERT_EQ(out.createFolder(at("new/deeper")), "");
    ASSERT_EQ(out.add(at("old.txt"), std::string_view("replaced")), "");
    ASSERT_EQ(out.add(at("link.txt"), std::string_view("through the link")), "");
    ASSERT_EQ(out.add(at("new/deeper/frame.png"), std::string_view("png")), "");
    std::string error;
    std::FILE* stream = out.open(at("stream.txt"), error);
    ASSERT_NE(stream, nullptr) << error;
    std::fputs("streamed", stream);
    // Before the commit the targets are untouched and no folder is made.
    EXPECT_EQ(readText(at("old.txt")), "old");
    EXPECT_FALSE(fs::exists(at("new")));
    EXPECT_FALSE(fs::exists(at("stream.txt")));
    ASSERT_EQ(out.commit(), "");
    EXPECT_EQ(readText(at("old.txt")), "replaced");
    EXPECT_EQ(fs::status(at("old.txt")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_symlink(at("link.txt")));
    EXPECT_EQ(readText(at("real.txt")), "through the link");
    EXPECT_EQ(readText(at("new/deeper/frame.png")), "png");
    EXPECT_EQ(readText(at("stream.txt")), "streamed");
    EXPECT_EQ(entries(), 5u);  // old, real, link, new, stream: no temporary file is left
}

TEST_F(StagedOutputs, AFailureOrAnAbandonedCommandChangesNothing) {
    writeText(at("keep.txt"), "keep");
    fs::create_directories(at("folder"));
    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0644), 0);
    // Links are written through or refused, never replaced by a regular file.
    fs::create_symlink("missing/f", at("dangling"));
    fs::create_symlink("keep.txt/f", at("intofile"));
    fs::create_symlink("loop2", at("loop1"));
    fs::create_symlink("loop1", at("loop2"));
    {
        io::StagedOutputs abandoned;
        ASSERT_EQ(abandoned.createFolder(at("made")), "");
        ASSERT_EQ(abandoned.add(at("keep.txt"), std::string_view("lost")), "");
        ASSERT_EQ(abandoned.add(at("made/new.txt"), std::string_view("lost")), "");
        std::string error;
        ASSERT_NE(abandoned.open(at("stream.txt"), error), nullptr);
    }
    EXPECT_EQ(readText(at("keep.txt")), "keep");
    EXPECT_EQ(entries(), 7u);
    const struct {
        std::string path;
        std::string error;
    } refused[] = {
        {"", "'': cannot be written: no file name"},
        {at("folder"), at("folder") + ": cannot be written: it is a folder"},
        {at("pipe"), at("pipe") + ": cannot be written: it is not a regular file (a device, a pipe or a socket)"},
        {at("missing/x"), at("missing/x") + ": cannot be written: the folder " + at("missing") + " does not exist"},
        {at("keep.txt/x"), at("keep.txt/x") + ": cannot be written: " + at("keep.txt") + " is not a folder"},
        {at("dangling"), at("dangling") + ": cannot be written: it links to " + at("missing/f") + ", whose folder does not exist"},
        {at("intofile"), at("intofile") + ": cannot be written: it links to " + at("keep.txt/f") + ", and " + at("keep.txt") + " is not a folder"},
        {at("loop1"), at("loop1") + ": cannot be written: Too many levels of symbolic links"},
    };
    io::StagedOutputs out;
    for (const auto& r : refused) {
        EXPECT_EQ(out.check(r.path), r.error);
        EXPECT_EQ(out.add(r.path, std::string_view("x")), r.error);
    }
    EXPECT_EQ(out.check(at("twin")), "");
    EXPECT_EQ(out.check(dir.string() + "/./twin"), dir.string() + "/./twin: cannot be written: named for two outputs of one command");
    EXPECT_EQ(out.commit(), "");
    EXPECT_EQ(io::writeFile(at("pipe"), std::string_view("x")), refused[2].error);
    EXPECT_EQ(entries(), 7u);
    EXPECT_EQ(readText(at("keep.txt")), "keep");
    for (const char* link : {"dangling", "intofile", "loop1"}) EXPECT_TRUE(fs::is_symlink(at(link))) << link;
}

// Any name the file system takes can be an output: the temporary name is kept within the limit.
TEST_F(StagedOutputs, TheLongestNameTakesAnOutput) {
    for (const size_t length : {size_t{233}, size_t{234}, size_t{255}}) {
        const std::string path = at(std::string(length - 4, 'n') + ".txt");
        io::StagedOutputs out;
        ASSERT_EQ(out.add(path, std::string_view("long")), "") << length;
        ASSERT_EQ(out.commit(), "");
        EXPECT_EQ(readText(path), "long");
        fs::remove(path);
    }
    EXPECT_EQ(entries(), 0u);
}

// A staged output whose bytes do not all reach the disk (a file-size limit here, as a full disk
// would) is refused, and its temporary file is gone.
TEST_F(StagedOutputs, AWriteThatFailsLeavesNoTemporaryFile) {
    writeText(at("old.txt"), "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        io::StagedOutputs out;
        const std::string big(100000, 'x');
        const std::string said = out.add(at("old.txt"), std::string_view(big));
        std::string error;
        std::FILE* stream = out.open(at("stream.txt"), error);
        if (stream != nullptr) std::fwrite(big.data(), 1, big.size(), stream);
        const std::string committed = out.commit();
        _exit(said.find("File too large") != std::string::npos && committed.find("File too large") != std::string::npos
                  ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readText(at("old.txt")), "old");
    EXPECT_EQ(entries(), 1u);  // old.txt alone: no temporary file, no stream.txt
}

}  // namespace
}  // namespace krello
