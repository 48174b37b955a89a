// The xdrive command on layer_probe: a script played and a shot taken, a bad script refused, and a program that
// ends badly reported as a failure. The README's pictures and the icons are made with it, so it must never
// pass a bad run off as a good one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"
#include "tests/support/xdriver/x_server.h"

namespace {

constexpr int lineTimeoutMs = 5000;
constexpr int runTimeoutMs = 20000;

std::string tempPath(const std::string& leaf) {
    return ::testing::TempDir() + "xdrive_" + std::to_string(getpid()) + "_" + leaf;
}

struct XdriveRun {
    int status = -1;
    std::string output;  // xdrive's and the program's standard output and error
};

// Runs xdrive with args on the shared server, the script in a file, and waits for it to end.
::testing::AssertionResult runXdrive(const std::vector<std::string>& args, const std::string& script, XdriveRun& run) {
    xdrive::XServer& server = xdrive::sharedServer();
    if (!server.ok()) return ::testing::AssertionFailure() << server.error();
    const std::string scriptPath = tempPath("script.txt");
    std::ofstream(scriptPath) << script;
    std::vector<std::string> argv = {XDRIVE_PATH, "--script", scriptPath};
    argv.insert(argv.end(), args.begin(), args.end());
    xdrive::Program xdriveRun;
    if (!xdriveRun.start(server.name(), argv, xdrive::Output::StdoutAndStderr))
        return ::testing::AssertionFailure() << xdriveRun.error();
    for (std::string line; xdriveRun.readLine(line, runTimeoutMs);) run.output += line + "\n";
    const bool ended = xdriveRun.waitExit(lineTimeoutMs, run.status);
    std::remove(scriptPath.c_str());
    if (!ended) return ::testing::AssertionFailure() << xdriveRun.error() << "\n" << run.output;
    return ::testing::AssertionSuccess();
}

// xdrive plays a script on the probe: a shot shows the calibration marks, and Escape at the end ends the probe.
TEST(XDriveCommand, PlaysAScriptAndTakesAShot) {
    const std::string shot = tempPath("shot.png");
    XdriveRun run;
    ASSERT_TRUE(
        runXdrive({LAYER_PROBE_PATH}, "# comment line\nmove 100 100\nkey a\nwait 50\nshot " + shot + "\n", run));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("key 97\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("key 27\n"), std::string::npos) << "xdrive did not end the probe with Escape:\n"
                                                              << run.output;
    xdrive::Image image;
    std::string error;
    ASSERT_TRUE(xdrive::readPng(shot, image, &error)) << error;
    EXPECT_EQ(image.pixel(10, 10), (xdrive::Rgb{0xA8, 0, 0}));
    EXPECT_EQ(image.pixel(9, 9), (xdrive::Rgb{0, 0, 0}));
    std::remove(shot.c_str());
}

TEST(XDriveCommand, BadScriptLineIsReportedWithItsNumber) {
    XdriveRun run;
    ASSERT_TRUE(runXdrive({"/bin/true"}, "move 1 2\n\ndrag left 1 2 3\n", run));
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("script.txt:3:"), std::string::npos) << run.output;
}

struct EndCase {
    const char* what;
    const char* shell;   // what the shell runs: the probe ("$0"), then how it ends
    const char* script;  // played before xdrive's closing Escape
    const char* says;    // what xdrive's line on stderr must say
};

// The probe run by a shell that then ends as the case says, at the very end or while the script still runs.
// clang-format off
const EndCase endCases[] = {
    {"exits 3 after the closing Escape", "\"$0\"; exit 3",                      "",
     "exited with status 3"},
    {"crashes after the closing Escape", "ulimit -c 0; \"$0\"; kill -SEGV $$", "",
     "was killed by signal 11 (Segmentation fault)"},
    {"exits 3 before the script's end",  "\"$0\"; exit 3",                      "key Escape\nwait 300\n",
     "exited with status 3"},
};
// clang-format on

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.what; }

class XDriveEnds : public ::testing::TestWithParam<EndCase> {};

// A program that crashed or exited with a status other than 0 fails the run, with one line that says how it ended.
TEST_P(XDriveEnds, BadlyFailTheRunAndSayHow) {
    const EndCase& c = GetParam();
    // The window is the probe's, not the shell's, so xdrive finds it by title: no window of an earlier case's
    // probe may be left for it to take.
    xdrive::Driver look(xdrive::sharedServer().name());
    ASSERT_TRUE(xdrive::waitUntil([&] { return !look.findWindow("LAYER PROBE", 0); }, lineTimeoutMs))
        << "a probe window of an earlier case is still there";
    XdriveRun run;
    ASSERT_TRUE(runXdrive({"--title", "LAYER PROBE", "/bin/sh", "-c", c.shell, LAYER_PROBE_PATH}, c.script, run));
    EXPECT_EQ(run.status, 1) << c.what << ":\n" << run.output;
    const std::string line = std::string("xdrive: /bin/sh ") + c.says + "\n";
    EXPECT_NE(run.output.find(line), std::string::npos) << c.what << ": no line \"" << line << "\" in\n" << run.output;
}

INSTANTIATE_TEST_SUITE_P(Table, XDriveEnds, ::testing::ValuesIn(endCases), xtest::caseName<EndCase>);

}  // namespace
