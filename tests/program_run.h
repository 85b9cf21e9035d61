// Running the project's programs from a test: exit status and output, through files of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace krello::test {

struct ProgramRun {
    int status = -1;  // the exit status, -1 when the program did not exit
    std::string out;  // what it wrote to stdout
    std::string err;  // what it wrote to stderr
};

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A temporary path of this test in this process: tests run in parallel and must not share one.
inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "krello_" + std::to_string(getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

inline ProgramRun runProgram(const std::string& program, const std::string& args) {
    const std::string out = tempPath("stdout.txt"), err = tempPath("stderr.txt");
    const int raw = std::system((program + " " + args + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
}

inline ProgramRun runTool(const std::string& args) { return runProgram(KRELLO_TOOL, args); }

}  // namespace krello::test
