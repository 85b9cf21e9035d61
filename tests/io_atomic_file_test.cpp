// Streamed files take their real name only when complete, and never replace a file unless asked.
#include "io/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "io/new_file.h"
#include "test_files.h"

namespace krello::io {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public test::FolderTest {
protected:
    static std::string read(const std::string& path) { return test::readText(path); }
    size_t filesInDir() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

    void SetUp() override {
        FolderTest::SetUp();
        target = at("out.bin");
    }

    std::string target;
};

TEST_F(AtomicFileTest, TheTargetAppearsOnlyOnCommitAndAbandonLeavesNothing) {
    {
        AtomicFile out;
        ASSERT_EQ(out.open(target), "");
        std::fputs("half", out.stream());
        std::fflush(out.stream());
        EXPECT_FALSE(fs::exists(target));  // written, but not under the real name yet
    }  // dropped without commit: abandoned
    EXPECT_EQ(filesInDir(), 0u);

    AtomicFile out;
    ASSERT_EQ(out.open(target), "");
    std::fputs("whole", out.stream());
    EXPECT_EQ(out.commit(AtomicFile::Replace::No), "");
    EXPECT_EQ(read(target), "whole");
    EXPECT_EQ(filesInDir(), 1u);  // no temporary left beside it
}

TEST_F(AtomicFileTest, AnExistingTargetIsReplacedOnlyWhenAskedAndTheBytesAreKeptOtherwise) {
    std::ofstream(target) << "old";
    AtomicFile keep;
    ASSERT_EQ(keep.open(target), "");
    const std::string temp = keep.temporaryPath();
    std::fputs("new", keep.stream());
    const std::string error = keep.commit(AtomicFile::Replace::No);
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    EXPECT_NE(error.find(temp), std::string::npos) << error;
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(read(temp), "new");

    AtomicFile replace;
    ASSERT_EQ(replace.open(target), "");
    std::fputs("newer", replace.stream());
    EXPECT_EQ(replace.commit(AtomicFile::Replace::Yes), "");
    EXPECT_EQ(read(target), "newer");
}

TEST_F(AtomicFileTest, WriteNewFileNeverReplacesAndReportsAnUnwritableFolder) {
    const uint8_t bytes[3] = {1, 2, 3};
    bool exists = true;
    EXPECT_EQ(writeNewFile(target, bytes, exists), "");
    EXPECT_FALSE(exists);
    EXPECT_EQ(writeNewFile(target, bytes, exists), target + ": already exists");
    EXPECT_TRUE(exists);
    EXPECT_EQ(filesInDir(), 1u);

    const std::string nowhere = (dir / "missing" / "x.bin").string();
    const std::string error = writeNewFile(nowhere, bytes, exists);
    EXPECT_FALSE(exists);
    EXPECT_EQ(error.rfind(nowhere + ": cannot be written: ", 0), 0u) << error;
}

// An output is begun only under a name nobody holds: an existing file, or a link to anywhere,
// is neither opened nor changed.
TEST_F(AtomicFileTest, ANewFileIsNeverMadeOverAnotherName) {
    std::ofstream(target) << "kept";
    fs::create_symlink(dir / "nowhere", dir / "link");
    for (const fs::path& taken : {fs::path(target), dir / "link"}) {
        errno = 0;
        EXPECT_EQ(createNewFile(taken), nullptr) << taken;
        EXPECT_EQ(errno, EEXIST) << taken;
    }
    EXPECT_EQ(read(target), "kept");
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
    std::FILE* made = createNewFile(dir / "new.bin");
    ASSERT_NE(made, nullptr);
    std::fclose(made);
}

}  // namespace
}  // namespace krello::io
