// pentagir played through the X server: start picture, a drag that turns a layer, the keys, Escape. Expected
// colours come from the colour table and the turn rules; where stickers show comes from the camera geometry.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "controls.h"
#include "geometry.h"
#include "state.h"
#include "support.h"
#include "xdriver.h"

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

std::string describe(const xdrive::Rgb& p) {
    char text[40];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", p.r, p.g, p.b);
    return text;
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
        char line[100];
        std::snprintf(line, sizeof line, " sticker %d at (%d, %d) shows %s, not colour %d;", s, x, y,
                      describe(image.pixel(x, y)).c_str(), stickerColour[s]);
        text += line;
    }
    return text;
}

// Centroid of the pixels showing a colour index.
bool centroid(const xdrive::Image& image, int32_t colour, double& cx, double& cy) {
    double sx = 0, sy = 0;
    int64_t n = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (showsColour(image.pixel(x, y), colour)) {
                sx += x;
                sy += y;
                ++n;
            }
    if (n < 100) return false;
    cx = sx / n;
    cy = sy / n;
    return true;
}

class PentagirE2e : public ::testing::Test {
protected:
    void SetUp() override {
        initLoop(639, 479, 1);  // the start view's geometry, for where stickers show
        updateFaceFrames();
        ASSERT_TRUE(server.ok()) << server.error();
        ASSERT_TRUE(program.start(server.name(), {PENTAGIR_PATH}, xdrive::Output::StdoutAndStderr)) << program.error();
        driver = std::make_unique<xdrive::Driver>(server.name());
        ASSERT_TRUE(driver->connected()) << driver->error();
        ASSERT_TRUE(driver->findWindow("PENTAGIR", windowTimeoutMs, program.pid())) << driver->error();
        xdrive::pause(300);  // the first frames
    }

    xdrive::Image shot() {
        xdrive::Image image;
        EXPECT_TRUE(driver->capture(image)) << driver->error();
        return image;
    }

    void escapeEnds() {
        ASSERT_TRUE(driver->hold("Escape", 200)) << driver->error();
        int status = -1;
        ASSERT_TRUE(program.waitExit(10000, status)) << program.error();
        EXPECT_EQ(status, 0);
    }

    xdrive::XServer server;
    xdrive::Program program;
    std::unique_ptr<xdrive::Driver> driver;
};

TEST_F(PentagirE2e, StartPictureShowsTheSolvedPuzzleWithWhiteInTheMiddle) {
    xdrive::Image image = shot();
    ASSERT_EQ(image.width, 640);
    ASSERT_EQ(image.height, 480);
    EXPECT_TRUE(showsColour(image.pixel(320, 240), 6)) << "window centre shows " << describe(image.pixel(320, 240));
    resetColours();
    EXPECT_EQ(mismatches(image), "");
    // The whole dodecahedron within the window height: the top and bottom rows show only the black background.
    for (int x = 0; x < 640; ++x)
        for (int y : {0, 1, 478, 479})
            ASSERT_EQ(image.pixel(x, y), xdrive::Rgb{})
                << "(" << x << ", " << y << ") shows " << describe(image.pixel(x, y));
    double cx, cy;
    ASSERT_TRUE(centroid(image, 6, cx, cy));
    EXPECT_NEAR(cx, 320, 3);
    EXPECT_NEAR(cy, 240, 3);
    escapeEnds();
}

// Corner 6 of face 7 onto its edge 7: the layer of face 6 turns a fifth, the colours going the way of the drag.
TEST_F(PentagirE2e, DragAcrossARingBorderTurnsTheLayerTheWayOfTheDrag) {
    int x1, y1, x2, y2, xt, yt;
    ASSERT_TRUE(stickerPixel(83, x1, y1) && stickerPixel(84, x2, y2) && stickerPixel(127, xt, yt));
    ASSERT_TRUE(driver->drag(1, x1, y1, x2, y2)) << driver->error();
    auto start = std::chrono::steady_clock::now();
    resetColours();
    EXPECT_EQ(mismatches(shot()), "") << "nothing has changed colour while the turn is animated";
    // When the animation ends every sticker shows the colour the turn gives it; while it runs, the rotating
    // layer covers other stickers' centres.
    turn(0, 4);
    xdrive::Image image;
    std::string wrong = "no capture";
    while (wrong != "" && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(turnTimeoutMs)) {
        xdrive::pause(250);
        image = shot();
        wrong = mismatches(image);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(wrong, "") << "after " << seconds << " s";
    EXPECT_TRUE(showsColour(image.pixel(xt, yt), 7)) << "face 7's blue reaches face 11 next to the front face";
    RecordProperty("turn_seconds", std::to_string(seconds));
    std::printf("turn seen complete after %.1f s\n", seconds);
    escapeEnds();
}

TEST_F(PentagirE2e, KeysScrambleResetAndTurnTheView) {
    resetColours();
    ASSERT_TRUE(driver->hold("a", 300)) << driver->error();
    EXPECT_NE(mismatches(shot()), "") << "holding A scrambles";
    ASSERT_TRUE(driver->hold("s", 300)) << driver->error();
    EXPECT_EQ(mismatches(shot()), "") << "holding S resets";

    struct Turn {
        const char* key;
        double dx, dy, spin;  // expected sign of the white face's move (window y down) and of the picture's turn
    };
    const Turn turns[] = {
        {"Right", -1, 0, 0}, {"Left", 1, 0, 0}, {"Up", 0, -1, 0}, {"Down", 0, 1, 0}, {"x", 0, 0, 1}, {"z", 0, 0, -1},
    };
    for (const Turn& t : turns) {
        double wx0, wy0, bx0, by0, wx1 = 0, wy1 = 0, bx1 = 0, by1 = 0, moved = 0;
        xdrive::Image before = shot();
        ASSERT_TRUE(centroid(before, 6, wx0, wy0) && centroid(before, 7, bx0, by0)) << t.key;
        // Short holds until the picture has clearly moved: the frame rate sets the angle, so a slow machine needs
        // more of them and a fast one must not turn face 7 out of sight.
        for (int hold = 0; hold < 20 && std::fabs(moved) < 3.0; ++hold) {
            ASSERT_TRUE(driver->hold(t.key, 150)) << driver->error();
            xdrive::Image after = shot();
            ASSERT_TRUE(centroid(after, 6, wx1, wy1) && centroid(after, 7, bx1, by1)) << t.key;
            // Counter-clockwise on the screen raises the angle measured with y pointing up; 0.02 rad of it
            // moves face 7's centroid by about 3 pixels.
            double spin = std::remainder(
                std::atan2(-(by1 - wy1), bx1 - wx1) - std::atan2(-(by0 - wy0), bx0 - wx0), 2 * M_PI);
            moved = t.dx != 0 ? (wx1 - wx0) * t.dx : t.dy != 0 ? (wy1 - wy0) * t.dy : spin * t.spin * 150.0;
        }
        EXPECT_GT(moved, 3.0) << t.key << ": the front face moved by (" << wx1 - wx0 << ", " << wy1 - wy0
                              << ") pixels, face 7 round it by " << moved / 150.0 << " rad";
    }
    escapeEnds();
}

// Without a display there is no window to play in: one line naming the cause, exit status 1, no hang.
TEST(PentagirNoDisplay, SaysWhyAndEndsWithStatusOne) {
    xdrive::Program program;
    ASSERT_TRUE(program.start("", {PENTAGIR_PATH}, xdrive::Output::StdoutAndStderr)) << program.error();
    std::string line;
    ASSERT_TRUE(program.readLine(line, 10000)) << program.error();
    EXPECT_EQ(line.rfind("pentagir: ", 0), 0u) << line;
    EXPECT_GT(line.size(), std::string("pentagir: ").size()) << "the cause is named";
    int status = -1;
    ASSERT_TRUE(program.waitExit(10000, status)) << program.error();
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace pentagir
