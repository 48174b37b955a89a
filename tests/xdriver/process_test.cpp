// Child processes of the X driver: output by lines, the exit status, a kill, and a program that cannot start.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/xdriver/process.h"

namespace {

constexpr int lineTimeoutMs = 5000;

TEST(XDriverProgram, LinesExitStatusAndTimeouts) {
    xdrive::Program program;
    ASSERT_TRUE(
        program.start("", {"/bin/sh", "-c", "echo one; printf 'two'; sleep 0.3; exit 3"}, xdrive::Output::Stdout))
        << program.error();
    std::string line;
    ASSERT_TRUE(program.readLine(line, lineTimeoutMs)) << program.error();
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(program.readLine(line, lineTimeoutMs)) << program.error();
    EXPECT_EQ(line, "two") << "a last line without a newline";
    EXPECT_FALSE(program.readLine(line, lineTimeoutMs)) << "read past the end of the output: " << line;
    int status = -1;
    ASSERT_TRUE(program.waitExit(lineTimeoutMs, status)) << program.error();
    EXPECT_EQ(status, 3);

    xdrive::Program sleeper;
    ASSERT_TRUE(sleeper.start("", {"/bin/sh", "-c", "sleep 30"}, xdrive::Output::Stdout)) << sleeper.error();
    EXPECT_FALSE(sleeper.readLine(line, 100)) << "a line from a silent program";
    EXPECT_FALSE(sleeper.waitExit(100, status)) << "a sleeping program reported as ended";
    EXPECT_TRUE(sleeper.running());
    sleeper.kill();
    EXPECT_FALSE(sleeper.running());
    ASSERT_TRUE(sleeper.waitExit(0, status)) << "the status of a reaped program was lost";
    EXPECT_EQ(status, 128 + 9);
    EXPECT_EQ(sleeper.endSignal(), 9) << "the kill's signal was lost";

    xdrive::Program missing;
    ASSERT_TRUE(missing.start("", {"/nonexistent/program"}));
    ASSERT_TRUE(missing.waitExit(lineTimeoutMs, status));
    EXPECT_EQ(status, 127) << "a program that could not be started must not look like a success";
}

// A crash is told from an exit status above 128 that merely looks like one: xdrive names the signal.
TEST(XDriverProgram, EndSignalTellsACrashFromAnExitStatus) {
    struct Case {
        const char* what;
        const char* shell;
        int status, signal;
    };
    // clang-format off
    const Case cases[] = {
        {"exit 0",               "exit 0",                        0,        0},
        {"exit 139",             "exit 139",                      139,      0},
        {"killed by SIGSEGV",    "ulimit -c 0; kill -SEGV $$",    128 + 11, 11},
        {"killed by SIGTERM",    "kill -TERM $$",                 128 + 15, 15},
    };
    // clang-format on
    for (const Case& c : cases) {
        xdrive::Program program;
        ASSERT_TRUE(program.start("", {"/bin/sh", "-c", c.shell})) << program.error();
        int status = -1;
        ASSERT_TRUE(program.waitExit(lineTimeoutMs, status)) << c.what << ": " << program.error();
        EXPECT_EQ(status, c.status) << c.what;
        EXPECT_EQ(program.endSignal(), c.signal) << c.what;
    }
}

}  // namespace
