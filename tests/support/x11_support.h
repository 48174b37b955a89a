// What the x11 and e2e tests share: the process's private X server, a built program started on it with a driver on
// its window, waits for a picture that keep the last capture when it never comes, and the checks every program's
// end-to-end test makes the same way. Linked into every x11 and e2e test by puzzles_test.
//
//   xtest::ProgramWindow puzzle;
//   ASSERT_TRUE(puzzle.start({PROGRAM_PATH}, "TITLE"));              // on xdrive::sharedServer()
//   ASSERT_TRUE(puzzle.driver().tap("a")) << puzzle.driver().error();
//   xdrive::Image image;
//   EXPECT_TRUE(puzzle.waitForPicture([](const xdrive::Image& i) { return ...; }, "scrambled", 3000, &image));
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/x_server.h"

namespace xtest {

using Picture = std::function<bool(const xdrive::Image&)>;

// Starts the shared server when it is not yet running and points DISPLAY at it, for tests that open the layer's
// window in their own process.
::testing::AssertionResult useSharedDisplay();

// A built program on the shared server with a driver on its window. The program is killed when this ends.
class ProgramWindow {
public:
    // Lets go of whatever input an earlier test left down, starts argv in workdir ("" keeps the current one),
    // and waits for its window titled title, which gets the keyboard.
    ::testing::AssertionResult start(const std::vector<std::string>& argv, const std::string& title,
                                     xdrive::Output output = xdrive::Output::Inherit, const std::string& workdir = "",
                                     int timeoutMs = 10000);

    xdrive::Program& program() { return program_; }
    xdrive::Driver& driver() { return *driver_; }

    // The window's pixels now; a failed capture fails the test and gives an empty image.
    xdrive::Image capture();

    // Captures until shown(picture) holds. When it does not within timeoutMs, the failure names what was awaited
    // and the PNG file that keeps the last capture. last, when given, receives the last capture either way.
    ::testing::AssertionResult waitForPicture(const Picture& shown, const std::string& what, int timeoutMs,
                                              xdrive::Image* last = nullptr);

    // Holds key down until the window shows what shown accepts, then lets it go: for keys that act while held.
    ::testing::AssertionResult holdUntil(const std::string& key, const Picture& shown, const std::string& what,
                                         int timeoutMs, xdrive::Image* last = nullptr);

    // Drags with button from (x1, y1) to (x2, y2) as Driver::drag does, but holds the button there until the
    // window shows what shown accepts: a program that takes up a held drag once its running turn has landed then
    // turns the layer whether or not that turn had landed when the drag was made.
    ::testing::AssertionResult dragHoldUntil(int button, int x1, int y1, int x2, int y2, const Picture& shown,
                                             const std::string& what, int timeoutMs, xdrive::Image* last = nullptr);

    // Holds Escape until the program has ended, and checks that it ended by itself with status 0.
    ::testing::AssertionResult endWithEscape(int timeoutMs = 10000);

private:
    xdrive::Program program_;
    std::unique_ptr<xdrive::Driver> driver_;
};

// A program started with no display to open its window on: one line that begins "name: " and names the cause,
// then exit status 1, within timeoutMs.
::testing::AssertionResult endsForLackOfDisplay(const std::string& path, const std::string& name,
                                                int timeoutMs = 10000);

// Keeps image as a PNG in the build's test-captures folder, named after the running test and what; returns the
// file's path for a failure message ("" when it could not be written).
std::string keepCapture(const xdrive::Image& image, const std::string& what);

// Centre of the pixels for which shows(pixel) holds; false when fewer than 100 do (too few to place it).
bool centroid(const xdrive::Image& image, const std::function<bool(xdrive::Rgb)>& shows, double& cx, double& cy);

// Name of a parameterised case made of the letters and digits of its description (the case's `what`).
template <typename Case>
std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char* p = info.param.what; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
}

}  // namespace xtest
