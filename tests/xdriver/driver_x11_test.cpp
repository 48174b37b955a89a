// The driver on a real X server, against layer_probe: a window that shows known marks and prints every key byte,
// held key and mouse state it reads. A fault here would make every x11 and e2e test lie.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/x_server.h"

namespace {

constexpr int lineTimeoutMs = 5000;
constexpr int windowTimeoutMs = 10000;
constexpr int areaWidth = 640, areaHeight = 480;
const xdrive::Rgb red{0xA8, 0, 0};

// A probe of its own for each case, with a driver on its window and its output captured.
class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(probe.start({LAYER_PROBE_PATH}, "LAYER PROBE", xdrive::Output::Stdout, "", windowTimeoutMs));
        driver = &probe.driver();
    }

    // Taps Space and reads the probe's lines up to its lone key byte 32: the key bytes before it, the "held" lines,
    // and the buttons of the last mouse state (-1 when none was printed).
    void readUpToSpace(std::vector<int>& keys, std::vector<std::string>& held, int& buttons) {
        ASSERT_TRUE(driver->tap("space")) << driver->error();
        bool pair = false;  // the last byte was a 0: the next is a key code
        for (;;) {
            std::string line;
            ASSERT_TRUE(probe.program().readLine(line, lineTimeoutMs)) << probe.program().error();
            int byte = 0, x = 0, y = 0;
            if (std::sscanf(line.c_str(), "key %d", &byte) == 1) {
                if (byte == 32 && !pair) return;
                pair = !pair && byte == 0;
                keys.push_back(byte);
            } else if (std::sscanf(line.c_str(), "mouse %d %d %d", &buttons, &x, &y) == 3) {
            } else if (line.rfind("held ", 0) == 0) {
                held.push_back(line);
            }
        }
    }

    xtest::ProgramWindow probe;
    xdrive::Driver* driver = nullptr;
};

// The probe's calibration squares in the default palette's red, green, blue and white (entries 4, 2, 1, 15):
// a capture that is offset, cut short, or reads the channels in the wrong order fails here.
TEST_F(DriverTest, CaptureShowsTheCalibrationMarksWhereTheyWereDrawn) {
    struct Expected {
        int x, y;
        xdrive::Rgb colour;
    };
    const xdrive::Rgb black{0, 0, 0}, green{0, 0xA8, 0}, blue{0, 0, 0xA8}, white{0xFC, 0xFC, 0xFC};
    // clang-format off
    const Expected expected[] = {
        {10, 10, red},     {29, 29, red},     {9, 9, black},     {30, 30, black},   {40, 10, green},
        {59, 29, green},   {70, 10, blue},    {89, 29, blue},    {90, 10, black},   {630, 470, white},
        {639, 479, white}, {629, 469, black}, {320, 240, black}, {0, 0, black},
    };
    // clang-format on
    xdrive::Image image;
    ASSERT_TRUE(driver->captureUntil(
        image, [&](const xdrive::Image& i) { return i.pixel(10, 10) == red; }, 3000))
        << driver->error();
    ASSERT_EQ(image.width, areaWidth);
    ASSERT_EQ(image.height, areaHeight);
    for (const Expected& e : expected) {
        const xdrive::Rgb got = image.pixel(e.x, e.y);
        EXPECT_EQ(got, e.colour) << "pixel (" << e.x << ", " << e.y << ") is " << int(got.r) << " " << int(got.g) << " "
                                 << int(got.b) << ", expected " << int(e.colour.r) << " " << int(e.colour.g) << " "
                                 << int(e.colour.b);
    }
}

// The cases share one server, so what one leaves down or locked must not reach the next: resetInput lets go of a
// key and a button and turns Caps Lock off.
TEST_F(DriverTest, ResetInputLeavesAnIdleKeyboardAndPointer) {
    ASSERT_TRUE(driver->move(100, 100)) << driver->error();
    ASSERT_TRUE(driver->tap("Caps_Lock")) << driver->error();
    ASSERT_TRUE(driver->keyDown("b")) << driver->error();
    ASSERT_TRUE(driver->press(1)) << driver->error();
    ASSERT_TRUE(driver->resetInput()) << driver->error();
    ASSERT_TRUE(driver->tap("a")) << driver->error();
    std::vector<int> keys;
    std::vector<std::string> held;
    int buttons = -1;
    ASSERT_NO_FATAL_FAILURE(readUpToSpace(keys, held, buttons));
    EXPECT_EQ(keys, (std::vector<int>{'B', 'a'})) << "b under Caps Lock, then a without it";
    EXPECT_NE(std::find(held.begin(), held.end(), "held 66 0"), held.end()) << "b is still held";
    EXPECT_EQ(buttons, 0) << "the button is still down";
    EXPECT_EQ(&xdrive::sharedServer(), &xdrive::sharedServer());
}

// A request the server refuses fails the action whose requests it was sent with, naming the error; the next
// action starts clean. Here the refused request is a raw one, a window mapped after it was destroyed.
TEST_F(DriverTest, AnXErrorFailsTheActionThatMeetsIt) {
    Display* display = driver->display();
    const Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XMapWindow(display, gone);
    EXPECT_FALSE(driver->press(1)) << "the press went on as if the server had taken every request";
    EXPECT_NE(driver->error().find("BadWindow"), std::string::npos) << driver->error();
    EXPECT_TRUE(driver->release(1)) << "the error outlived its action: " << driver->error();
}

// A picture that never comes fails the wait, and the failure names a PNG file that holds the last capture: here
// the probe's calibration marks.
TEST_F(DriverTest, AWaitInVainKeepsTheLastCapture) {
    const ::testing::AssertionResult waited =
        probe.waitForPicture([](const xdrive::Image&) { return false; }, "nothing", 100);
    ASSERT_FALSE(waited) << "a wait for a picture that never comes succeeded";
    const std::string message = waited.message(), mark = "last capture: ";
    const size_t at = message.find(mark);
    ASSERT_NE(at, std::string::npos) << message;
    const std::string path = message.substr(at + mark.size());
    xdrive::Image kept;
    std::string error;
    ASSERT_TRUE(xdrive::readPng(path, kept, &error)) << error;
    EXPECT_EQ(kept.width, areaWidth);
    EXPECT_EQ(kept.pixel(10, 10), red);
    std::remove(path.c_str());
}

}  // namespace
