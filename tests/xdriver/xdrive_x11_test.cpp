// The xdrive command on layer_probe: a script played and a shot taken, and a bad script refused.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
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

}  // namespace
