// A recording's target: what may take it, checked before play and again once opened.
#include "io/record_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_files.h"

namespace krello {
namespace {

namespace fs = std::filesystem;

class RecordFileTest : public test::FolderTest {};

TEST_F(RecordFileTest, OnlyARegularFileOrANewNameTakesARecording) {
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo(at("fifo").c_str(), 0600), 0);
    test::writeText(at("old.demo"), "old bytes");
    fs::create_symlink("old.demo", dir / "link");
    fs::create_symlink("missing.demo", dir / "dangling");
    fs::create_symlink("nowhere/missing.demo", dir / "lost");
    fs::create_symlink("loop", dir / "loop");
    const struct {
        std::string path;
        bool overwrite;
        std::string problem;  // what the message ends with; "" when the target is fine
    } cases[] = {
        {at("new.demo"), false, ""},
        {at("old.demo"), false, "old.demo already exists (--overwrite replaces it)"},
        {at("old.demo"), true, ""},
        {at("link"), false, "link already exists (--overwrite replaces it)"},
        {at("link"), true, ""},
        {at("dangling"), false, "dangling already exists, a link to a missing file (--overwrite writes through it)"},
        {at("dangling"), true, ""},
        {at("lost"), true, "lost: cannot be written: the folder its link leads to: No such file or directory"},
        {at("folder"), true, "folder: is a folder, not a file"},
        {at("fifo"), true, "fifo: is a device, a pipe or a socket, not a file"},
        {"/dev/null", true, "/dev/null: is a device, a pipe or a socket, not a file"},
        {at("missing/x.demo"), false, "x.demo: cannot be written: its folder: No such file or directory"},
        {at("loop"), true, "loop: cannot be written: too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        const std::string problem = io::recordTargetProblem(c.path, c.overwrite);
        if (c.problem.empty()) EXPECT_EQ(problem, "") << c.path;
        else EXPECT_TRUE(problem.ends_with(c.problem)) << problem;
        // Opening agrees with the check, and a refused target is left as it was.
        bool created = false;
        std::string error;
        std::FILE* f = io::openRecordFile(c.path, c.overwrite, created, error);
        EXPECT_EQ(f != nullptr, c.problem.empty()) << c.path << ": " << error;
        if (f != nullptr) std::fclose(f);
    }
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

TEST_F(RecordFileTest, OverwritingWritesThroughALinkAndKeepsIt) {
    test::writeText(at("old.demo"), "old bytes");
    fs::create_symlink("old.demo", dir / "link");
    fs::create_symlink("made.demo", dir / "dangling");
    for (const char* name : {"link", "dangling"}) {
        bool created = true;
        std::string error;
        std::FILE* f = io::openRecordFile(at(name), true, created, error);
        ASSERT_NE(f, nullptr) << error;
        std::fputs("new", f);
        std::fclose(f);
        EXPECT_TRUE(fs::is_symlink(dir / name));
        EXPECT_EQ(test::readText(at(name)), "new");
    }
    EXPECT_EQ(test::readText(at("old.demo")), "new");
    EXPECT_TRUE(fs::is_regular_file(dir / "made.demo"));
}

}  // namespace
}  // namespace krello
