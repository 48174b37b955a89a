// tetragir played through the X server, as a player would: the start picture, a tip drag and a band drag with the
// colours they leave, A and S, the view keys and a right-button drag, Escape. Expected colours come from the colour
// table and the turn rules; where stickers show comes from the camera geometry.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/tetragir/support.h"
#include "tetragir/geometry.h"
#include "tetragir/program.h"
#include "tetragir/puzzle.h"

namespace tetragir {
namespace {

constexpr int windowTimeoutMs = 10000;
constexpr int turnTimeoutMs = 120000;  // 2500 frames; llvmpipe sharing two cores with other tests is slow

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

// The start view, as the program sets it up, for where stickers show.
struct StartView {
    scene::Camera camera;
    ViewFrame view = identityView;
    StartView() { setupCamera(camera, 639, 479); }
};
const StartView start;

// Stickers whose drawn centre does not show the colour `expected` gives them, on the faces turned well towards the
// eye in the start view; "" when all match.
std::string mismatches(const xdrive::Image& image, const Colours& expected) {
    std::string text;
    for (int32_t s = 0; s < stickerCount; ++s) {
        if (facingCosine(start.view, s / placesPerFace) < 0.3) continue;
        int32_t x, y;
        if (!centrePixel(start.camera, start.view, s, x, y)) continue;
        if (showsColour(image.pixel(x, y), expected[s])) continue;
        char line[100];
        std::snprintf(line, sizeof line, " sticker %d at (%d, %d) shows %s, not colour %d;", s, x, y,
                      describe(image.pixel(x, y)).c_str(), expected[s]);
        text += line;
    }
    return text;
}

// Whether the centre of pixel (x, y) lies inside sticker s as drawn in the start view.
bool inside(int32_t s, double x, double y) {
    double px[3], py[3];
    for (int32_t i = 0; i < 3; ++i) {
        float q[3];
        stickerCorner(start.view, stillLayers(), s, i, q);
        double z;
        scene::projectPoint(start.camera, {q[0], q[1], q[2]}, px[i], py[i], z);
        py[i] = start.camera.height - py[i];  // y down, as the mouse counts
    }
    double side[3];
    for (int32_t i = 0; i < 3; ++i) {
        int32_t j = (i + 1) % 3;
        side[i] = (px[j] - px[i]) * (y + 0.5 - py[i]) - (py[j] - py[i]) * (x + 0.5 - px[i]);
    }
    return (side[0] > 0 && side[1] > 0 && side[2] > 0) || (side[0] < 0 && side[1] < 0 && side[2] < 0);
}

// A straight drag from inside `from` into `to` that passes through no other sticker, with at least one end
// where the pinhole pick names another sticker than the one drawn there, so that a pick through a pinhole of its
// own would turn the wrong layer or none.
bool dragWherePinholeErrs(int32_t from, int32_t to, int& x1, int& y1, int& x2, int& y2) {
    for (y1 = 0; y1 < 480; ++y1)
        for (x1 = 0; x1 < 640; ++x1) {
            if (!inside(from, x1, y1)) continue;
            for (int dy = -14; dy <= 14; dy += 2)
                for (int dx = -14; dx <= 14; dx += 2) {
                    x2 = x1 + dx;
                    y2 = y1 + dy;
                    if (!inside(to, x2, y2)) continue;
                    if (pinholePick(start.view, x1, y1, 639, 479) == from &&
                        pinholePick(start.view, x2, y2, 639, 479) == to)
                        continue;
                    bool direct = true;
                    for (int k = 1; k < 16 && direct; ++k) {
                        double x = x1 + dx * k / 16.0, y = y1 + dy * k / 16.0;
                        direct = inside(from, std::round(x), std::round(y)) || inside(to, std::round(x), std::round(y));
                    }
                    if (direct) return true;
                }
        }
    return false;
}

// Centroid of the pixels showing a colour index.
bool centroid(const xdrive::Image& image, int32_t colour, double& cx, double& cy) {
    return xtest::centroid(
        image, [colour](xdrive::Rgb p) { return showsColour(p, colour); }, cx, cy);
}

class TetragirE2e : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(puzzle.start({TETRAGIR_PATH}, windowTitle, xdrive::Output::StdoutAndStderr, "", windowTimeoutMs));
    }

    // Waits until every well-seen sticker shows the colour `expected` gives it.
    void awaitColours(const Colours& expected, const std::string& what) {
        xdrive::Image image;
        EXPECT_TRUE(puzzle.waitForPicture([&](const xdrive::Image& i) { return mismatches(i, expected).empty(); }, what,
                                          turnTimeoutMs, &image))
            << mismatches(image, expected);
    }

    // A straight drag from sticker `from` onto `to` where the pinhole pick errs, held there until the picture no
    // longer shows the colours `before`, so the turn it makes is under way. The last frames of an earlier turn
    // already look like its end, and a drag let go before that turn has landed would be ignored; held, it is
    // taken up once the turn has landed.
    void dragOnto(int32_t from, int32_t to, const Colours& before) {
        int x1, y1, x2, y2;
        ASSERT_TRUE(dragWherePinholeErrs(from, to, x1, y1, x2, y2))
            << "a drag from " << from << " onto " << to << " that the pinhole pick gets wrong";
        EXPECT_TRUE(puzzle.dragHoldUntil(
            1, x1, y1, x2, y2, [&](const xdrive::Image& i) { return !mismatches(i, before).empty(); },
            "a turn under way", turnTimeoutMs));
    }

    // Centroid of a colour in the picture now.
    void centroidNow(int32_t colour, double& x, double& y) {
        ASSERT_TRUE(centroid(puzzle.capture(), colour, x, y)) << "colour " << colour << " shows";
    }

    xtest::ProgramWindow puzzle;
};

TEST_F(TetragirE2e, PlayerTurnsScramblesResetsTurnsTheViewAndLeaves) {
    Colours colours;
    resetColours(colours);
    xdrive::Image image;
    awaitColours(colours, "the solved puzzle");
    image = puzzle.capture();
    ASSERT_EQ(image.width, 640);
    ASSERT_EQ(image.height, 480);
    // White face 0 and red face 1 face the eye, corner 0 below and right of the centre, and the rest is black.
    double wx, wy, rx, ry;
    ASSERT_TRUE(centroid(image, 0, wx, wy) && centroid(image, 1, rx, ry));
    EXPECT_LT(wx, rx) << "white lies left of red";
    EXPECT_GT(wy, ry) << "white lies below red";
    EXPECT_FALSE(centroid(image, 2, wx, wy)) << "no yellow shows";
    EXPECT_EQ(image.pixel(5, 5), xdrive::Rgb{});

    // Tip 0 onto tip 9: the tips of corner 0 turn a third, white onto the red face and yellow onto the white.
    dragOnto(0, 9, colours);
    colours[9] = 0;
    colours[0] = 2;
    colours[18] = 1;
    awaitColours(colours, "the tip turned");

    // Band sticker 2 onto 1, on the white face: the middle layer of corner 0 turns with its tip, the white face's
    // band taking the yellow face's and the red face's band the white face's.
    dragOnto(2, 1, colours);
    turn(colours, 4, 1);
    EXPECT_EQ(colours[1], 2) << "yellow from face 2 comes onto the white face's band";
    EXPECT_EQ(colours[11], 0) << "white from sticker 2 comes onto sticker 11";
    awaitColours(colours, "the band turned");

    // A and S act whether or not the band's turn has landed; the solved picture shows only once it has, since a
    // band still turning stands a third round from its place. So the view keys below meet no turn.
    Colours solved;
    resetColours(solved);
    EXPECT_TRUE(puzzle.holdUntil(
        "a", [&](const xdrive::Image& i) { return !mismatches(i, colours).empty(); }, "a scramble while A is held",
        10000));
    EXPECT_TRUE(puzzle.holdUntil(
        "s", [&](const xdrive::Image& i) { return mismatches(i, solved).empty(); }, "the solved puzzle while S is held",
        10000));
    // The pointer waits at the right-button drags' start while the view keys move the picture, so that their
    // frames have seen it there and the first drag's press counts no way there.
    ASSERT_TRUE(puzzle.driver().move(320, 240)) << puzzle.driver().error();

    // Each view key moves the picture its own way: the white face's centre left for Right (its near side moves
    // left), up for Up, and the line from red to white counter-clockwise for X; the opposite keys the other way.
    struct Turn {
        const char* key;
        double dx, dy, spin;
    };
    const Turn turns[] = {
        {"Right", -1, 0, 0}, {"Left", 1, 0, 0}, {"Up", 0, -1, 0}, {"Down", 0, 1, 0}, {"x", 0, 0, 1}, {"z", 0, 0, -1},
    };
    for (const Turn& t : turns) {
        double wx0, wy0, rx0, ry0, wx1 = 0, wy1 = 0, rx1 = 0, ry1 = 0, moved = 0;
        centroidNow(0, wx0, wy0);
        centroidNow(1, rx0, ry0);
        // Short holds until the picture has clearly moved: the frame rate sets the angle.
        for (int hold = 0; hold < 20 && std::fabs(moved) < 3.0; ++hold) {
            ASSERT_TRUE(puzzle.driver().hold(t.key, 150)) << puzzle.driver().error();
            image = puzzle.capture();
            ASSERT_TRUE(centroid(image, 0, wx1, wy1) && centroid(image, 1, rx1, ry1)) << t.key;
            double spin =
                std::remainder(std::atan2(-(wy1 - ry1), wx1 - rx1) - std::atan2(-(wy0 - ry0), wx0 - rx0), 2 * M_PI);
            moved = t.dx != 0 ? (wx1 - wx0) * t.dx : t.dy != 0 ? (wy1 - wy0) * t.dy : spin * t.spin * 150.0;
        }
        EXPECT_GT(moved, 3.0) << t.key << ": the white face moved by (" << wx1 - wx0 << ", " << wy1 - wy0
                              << ") pixels, turned by " << moved / 150.0 << " rad";
    }

    // A right-button drag: the near side follows the mouse, right and then down, each drag from where the one
    // before ended. The button stays down until the picture has moved.
    for (int axis = 0, x = 320, y = 240; axis < 2; ++axis) {
        double x0, y0, x1 = 0, y1 = 0;
        centroidNow(0, x0, y0);
        const int toX = axis == 0 ? x + 20 : x, toY = axis == 0 ? y : y + 20;
        const auto moved = [&](const xdrive::Image& i) {
            return centroid(i, 0, x1, y1) && (axis == 0 ? x1 - x0 : y1 - y0) > 3.0;
        };
        EXPECT_TRUE(puzzle.dragHoldUntil(3, x, y, toX, toY, moved,
                                         axis == 0 ? "white dragged right" : "white dragged down", 10000))
            << "white moved by (" << x1 - x0 << ", " << y1 - y0 << ")";
        x = toX, y = toY;
    }

    EXPECT_TRUE(puzzle.endWithEscape());
}

TEST(TetragirNoDisplay, SaysWhyAndEndsWithStatusOne) {
    EXPECT_TRUE(xtest::endsForLackOfDisplay(TETRAGIR_PATH, "tetragir"));
}

}  // namespace
}  // namespace tetragir
