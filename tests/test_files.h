// Files in tests: whole files as text, paths and folders of the test's own (tests run in parallel).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace krello::test {

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A temporary path of this test in this process.
inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "krello_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

// A test with an empty folder of its own, removed afterwards.
class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = tempPath("dir");
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string at(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};

}  // namespace krello::test
