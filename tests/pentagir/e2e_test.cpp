// pentagir played through the test's X server: start picture, a drag that turns a layer, the keys, Escape. Expected
// colours come from the colour table and the turn rules; where stickers show comes from the camera geometry.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "pentagir/controls.h"
#include "pentagir/geometry.h"
#include "pentagir/state.h"
#include "tests/pentagir/support.h"
#include "tests/support/x11_support.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"

namespace pentagir {
namespace {

constexpr int windowTimeoutMs = 10000;
constexpr int turnTimeoutMs = 90000;  // 2500 frames; llvmpipe sharing two cores with other tests is slow

// The colour OpenGL writes for a palette entry (component / 256, rounded to 8 bits), give or take rounding.
bool showsColour(const xdrive::Rgb& p, int32_t colour) {
    const int32_t* rgb = palette[colour];
    const int32_t got[3] = {p.r, p.g, p.b};
    for (int c = 0; c < 3; ++c)
        if (std::abs(got[c] - rgb[c] * 255 / 256) > 2) return false;
    return true;
}

// Window pixel of the centre of sticker s in the start view, or false when its face is seen too obliquely.
bool stickerPixel(int32_t s, int& x, int& y) {
    int32_t f = s / stickersPerFace;
    Vec3 outward = cross(viewAxisY[f], viewAxisX[f]);
    Vec3 toEye = Vec3{0, 0, -30.0 - depthOffset} - viewCentre[f];
    if (dot(outward, toEye) < 0.3 * std::sqrt(dot(outward, outward) * dot(toEye, toEye))) return false;
    return stickerCentrePixel(s, x, y);
}

// Stickers whose centre pixel does not show the colour stickerColour gives them; "" when all match.
std::string mismatches(const xdrive::Image& image) {
    std::string text;
    for (int32_t s = 0; s < stickerCount; ++s) {
        int x, y;
        if (!stickerPixel(s, x, y)) continue;
        if (showsColour(image.pixel(x, y), stickerColour[s])) continue;
        std::ostringstream line;
        line << " sticker " << s << " at (" << x << ", " << y << ") shows " << image.pixel(x, y) << ", not colour "
             << stickerColour[s] << ";";
        text += line.str();
    }
    return text;
}

// Centroid of the pixels showing a colour index.
bool centroid(const xdrive::Image& image, int32_t colour, double& cx, double& cy) {
    return xtest::centroid(
        image, [colour](xdrive::Rgb p) { return showsColour(p, colour); }, cx, cy);
}

class PentagirE2e : public ::testing::Test {
protected:
    void SetUp() override {
        resetProgram(1);  // the start view's geometry, for where stickers show
        updateFaceFrames();
        ASSERT_TRUE(puzzle.start({PENTAGIR_PATH}, "PENTAGIR", xdrive::Output::StdoutAndStderr, "", windowTimeoutMs));
    }

    xtest::ProgramWindow puzzle;
};

TEST_F(PentagirE2e, StartPictureShowsTheSolvedPuzzleWithWhiteInTheMiddle) {
    resetColours();
    xdrive::Image image;
    ASSERT_TRUE(puzzle.waitForPicture([](const xdrive::Image& i) { return mismatches(i).empty(); }, "the solved puzzle",
                                      windowTimeoutMs, &image))
        << mismatches(image);
    ASSERT_EQ(image.width, 640);
    ASSERT_EQ(image.height, 480);
    EXPECT_TRUE(showsColour(image.pixel(320, 240), 6)) << "window centre shows " << image.pixel(320, 240);
    // The whole dodecahedron within the window height: the top and bottom rows show only the black background.
    for (int x = 0; x < 640; ++x)
        for (int y : {0, 1, 478, 479})
            ASSERT_EQ(image.pixel(x, y), xdrive::Rgb{}) << "(" << x << ", " << y << ") shows " << image.pixel(x, y);
    double cx, cy;
    ASSERT_TRUE(centroid(image, 6, cx, cy));
    EXPECT_NEAR(cx, 320, 3);
    EXPECT_NEAR(cy, 240, 3);
    EXPECT_TRUE(puzzle.endWithEscape());
}

// Corner 6 of face 7 onto its edge 7: the layer of face 6 turns a fifth, the colours going the way of the drag.
TEST_F(PentagirE2e, DragAcrossARingBorderTurnsTheLayerTheWayOfTheDrag) {
    int x1, y1, x2, y2, xt, yt;
    ASSERT_TRUE(stickerPixel(83, x1, y1) && stickerPixel(84, x2, y2) && stickerPixel(127, xt, yt));
    resetColours();
    ASSERT_TRUE(puzzle.waitForPicture([](const xdrive::Image& i) { return mismatches(i).empty(); }, "the solved puzzle",
                                      windowTimeoutMs));
    ASSERT_TRUE(puzzle.driver().drag(1, x1, y1, x2, y2)) << puzzle.driver().error();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mismatches(puzzle.capture()), "") << "nothing has changed colour while the turn is animated";
    // When the animation ends every sticker shows the colour the turn gives it; while it runs, the rotating
    // layer covers other stickers' centres.
    turn(0, 4);
    xdrive::Image image;
    const bool turned = puzzle.waitForPicture([](const xdrive::Image& i) { return mismatches(i).empty(); },
                                              "the turned layer", turnTimeoutMs, &image);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(turned) << "after " << seconds << " s:" << mismatches(image);
    EXPECT_TRUE(showsColour(image.pixel(xt, yt), 7)) << "face 7's blue reaches face 11 next to the front face";
    RecordProperty("turn_seconds", std::to_string(seconds));
    std::printf("turn seen complete after %.1f s\n", seconds);
    EXPECT_TRUE(puzzle.endWithEscape());
}

TEST_F(PentagirE2e, KeysScrambleResetAndTurnTheView) {
    resetColours();
    const auto solved = [](const xdrive::Image& i) { return mismatches(i).empty(); };
    ASSERT_TRUE(puzzle.waitForPicture(solved, "the solved puzzle", windowTimeoutMs));
    ASSERT_TRUE(puzzle.holdUntil(
        "a", [](const xdrive::Image& i) { return !mismatches(i).empty(); }, "a scramble while A is held", 10000));
    ASSERT_TRUE(puzzle.holdUntil("s", solved, "the solved puzzle while S is held", 10000));

    struct Turn {
        const char* key;
        double dx, dy, spin;  // expected sign of the white face's move (window y down) and of the picture's turn
    };
    const Turn turns[] = {
        {"Right", -1, 0, 0}, {"Left", 1, 0, 0}, {"Up", 0, -1, 0}, {"Down", 0, 1, 0}, {"x", 0, 0, 1}, {"z", 0, 0, -1},
    };
    for (const Turn& t : turns) {
        double wx0, wy0, bx0, by0, wx1 = 0, wy1 = 0, bx1 = 0, by1 = 0, moved = 0;
        xdrive::Image before = puzzle.capture();
        ASSERT_TRUE(centroid(before, 6, wx0, wy0) && centroid(before, 7, bx0, by0)) << t.key;
        // Held until the picture has clearly moved: the frame rate sets the angle, so a slow machine needs longer
        // and a fast one must not turn face 7 out of sight.
        const auto hasMoved = [&](const xdrive::Image& after) {
            if (!centroid(after, 6, wx1, wy1) || !centroid(after, 7, bx1, by1)) return false;
            // Counter-clockwise on the screen raises the angle measured with y pointing up; 0.02 rad of it
            // moves face 7's centroid by about 3 pixels.
            double spin =
                std::remainder(std::atan2(-(by1 - wy1), bx1 - wx1) - std::atan2(-(by0 - wy0), bx0 - wx0), 2 * M_PI);
            moved = t.dx != 0 ? (wx1 - wx0) * t.dx : t.dy != 0 ? (wy1 - wy0) * t.dy : spin * t.spin * 150.0;
            return moved > 3.0;
        };
        EXPECT_TRUE(puzzle.holdUntil(t.key, hasMoved, std::string("the view turned by ") + t.key, 5000))
            << t.key << ": the front face moved by (" << wx1 - wx0 << ", " << wy1 - wy0
            << ") pixels, face 7 round it by " << moved / 150.0 << " rad";
    }
    EXPECT_TRUE(puzzle.endWithEscape());
}

// Without a display there is no window to play in: one line naming the cause, exit status 1, no hang.
TEST(PentagirNoDisplay, SaysWhyAndEndsWithStatusOne) {
    EXPECT_TRUE(xtest::endsForLackOfDisplay(PENTAGIR_PATH, "pentagir"));
}

}  // namespace
}  // namespace pentagir
