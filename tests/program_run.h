// Running the project's programs from a test: exit status and output, through files of the test's own.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "test_files.h"

namespace krello::test {

struct ProgramRun {
    int status = -1;  // the exit status, -1 when the program did not exit
    std::string out;  // what it wrote to stdout
    std::string err;  // what it wrote to stderr
};

inline ProgramRun runProgram(const std::string& program, const std::string& args) {
    const std::string out = tempPath("stdout.txt"), err = tempPath("stderr.txt");
    const int raw = std::system((program + " " + args + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
}

inline ProgramRun runTool(const std::string& args) { return runProgram(KRELLO_TOOL, args); }

}  // namespace krello::test
