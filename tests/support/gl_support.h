// What the in-process OpenGL pixel tests share: a suite fixture that opens a program's window once on the shared
// display, and a read of the finished picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"

namespace xtest {

// The back buffer's pixels once the GL has finished drawing: RGB, rows from the bottom up.
std::vector<uint8_t> readGlPicture(int width = 640, int height = 480);

// Number of pixels in which two such pictures of a 640 x 480 area differ, and the first of them (x, y from the
// top, and both colours) for the failure message.
int32_t differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, std::string& first);

// Opens the program's window (startUp) once for the whole suite, in this process, and closes it at the end.
template <bool (*StartUp)(), void (*ShutDown)()>
class InProcessGl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        display = useSharedDisplay();
        opened = display && StartUp();
    }
    static void TearDownTestSuite() {
        if (opened) ShutDown();
    }
    void SetUp() override {
        ASSERT_TRUE(display);
        ASSERT_TRUE(opened) << "the window with OpenGL did not open";
    }

    static inline ::testing::AssertionResult display = ::testing::AssertionFailure();
    static inline bool opened = false;
};

}  // namespace xtest
