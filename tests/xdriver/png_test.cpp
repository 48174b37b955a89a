// PNG files of the X driver: what xdrive's shots and the tests' kept captures are written with.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/xdriver/png.h"

namespace {

std::string tempPath(const std::string& leaf) {
    return ::testing::TempDir() + "xdriver_" + std::to_string(getpid()) + "_" + leaf;
}

TEST(XDriverPng, WrittenImageReadsBackIdentically) {
    xdrive::Image image;
    image.width = 37;  // odd width: rows are not padded to a multiple of 4 bytes
    image.height = 11;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = static_cast<uint8_t>(i * 7 + i / 3);
    const std::string path = tempPath("roundtrip.png");
    std::string error;
    ASSERT_TRUE(xdrive::writePng(image, path, &error)) << error;
    xdrive::Image back;
    ASSERT_TRUE(xdrive::readPng(path, back, &error)) << error;
    EXPECT_EQ(back.width, image.width);
    EXPECT_EQ(back.height, image.height);
    EXPECT_TRUE(back.rgb == image.rgb) << "pixels changed on the way through the file";
    EXPECT_EQ(back.pixel(36, 10), image.pixel(36, 10));
    std::remove(path.c_str());
}

TEST(XDriverPng, FailuresAreReportedNotHidden) {
    xdrive::Image image;
    std::string error;
    EXPECT_FALSE(xdrive::writePng(image, tempPath("empty.png"), &error)) << "an empty image was written";
    image = {2, 2, std::vector<uint8_t>(12, 255)};
    EXPECT_FALSE(xdrive::writePng(image, "/nonexistent-dir/x.png", &error));
    EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos) << error;
    EXPECT_FALSE(xdrive::readPng("/nonexistent-dir/x.png", image, &error));
    const std::string notPng = tempPath("not.png");
    std::ofstream(notPng) << "plain text";
    EXPECT_FALSE(xdrive::readPng(notPng, image, &error));
    std::remove(notPng.c_str());
}

}  // namespace
