// krello-tool stopped by a signal mid-run: it ends as the signal says, with no hidden temporary file
// left and every existing output as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "test_files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace krello::test;

const std::string TOUR_INPUT = std::string(KRELLO_SOURCE_DIR) + "/tests/data/tour.input";

struct Stop {
    const char* name;
    int signal;
    bool byClosedPipe;  // SIGPIPE as a reader that went away sends it, not by kill()
};
void PrintTo(const Stop& s, std::ostream* os) { *os << s.name; }

int entries(const fs::path& dir, bool hiddenTemporaryOnly) {
    int n = 0;
    std::error_code e;
    for (const auto& f : fs::recursive_directory_iterator(dir, e)) {
        const std::string name = f.path().filename().string();
        n += !hiddenTemporaryOnly || (name[0] == '.' && name.ends_with(".tmp"));
    }
    return n;
}

class ToolSignals : public FolderTest, public ::testing::WithParamInterface<Stop> {};

// A long run writing every frame, a demo and its states is stopped once a few frames are staged.
TEST_P(ToolSignals, RemoveEveryTemporaryAndKeepTheOutputs) {
    const Stop stop = GetParam();
    std::string script;
    const std::string tour = readText(TOUR_INPUT);
    for (int i = 0; i < 8; ++i) script += tour;
    writeText(at("long.input"), script);
    writeText(at("s.txt"), "states kept\n");
    writeText(at("r.demo"), "demo kept\n");
    fs::create_directories(at("frames"));

    std::vector<std::string> args = {KRELLO_TOOL, "run", "--input", at("long.input"), "--png-every", "1",
                                     at("frames"), "--record-demo", at("r.demo"), "--state-every", "1"};
    if (!stop.byClosedPipe) args.insert(args.end(), {"--dump-state", at("s.txt")});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    // A signal this test's own starter ignores (a background job's SIGINT) is not ignored by the tool.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, s);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(pipeEnds[1]);

    // Drains stdout so the tool is never held by a full pipe; a reader that goes away does so
    // once a few frames are staged.
    std::thread reader([&] {
        char buffer[4096];
        while ((!stop.byClosedPipe || entries(at("frames"), false) < 5) && ::read(pipeEnds[0], buffer, sizeof buffer) > 0) {}
        ::close(pipeEnds[0]);
    });
    // Waits on the frames staged so far (the machine may be busy), not on the clock.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (entries(at("frames"), false) < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const bool staged = entries(at("frames"), true) >= 5;
    if (!stop.byClosedPipe || !staged) ::kill(child, staged ? stop.signal : SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    reader.join();
    ASSERT_TRUE(staged) << "the run staged no frames in time";
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), stop.signal);
    EXPECT_EQ(entries(dir, true), 0);
    EXPECT_EQ(entries(at("frames"), false), 0);
    EXPECT_EQ(readText(at("s.txt")), "states kept\n");
    EXPECT_EQ(readText(at("r.demo")), "demo kept\n");
}

INSTANTIATE_TEST_SUITE_P(Stops, ToolSignals,
                         ::testing::Values(Stop{"Interrupt", SIGINT, false}, Stop{"Terminate", SIGTERM, false},
                                           Stop{"HangUp", SIGHUP, false}, Stop{"Pipe", SIGPIPE, false},
                                           Stop{"ReaderGone", SIGPIPE, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
