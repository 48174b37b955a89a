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

    xdrive::Program missing;
    ASSERT_TRUE(missing.start("", {"/nonexistent/program"}));
    ASSERT_TRUE(missing.waitExit(lineTimeoutMs, status));
    EXPECT_EQ(status, 127) << "a program that could not be started must not look like a success";
}

}  // namespace
