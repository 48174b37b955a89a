// --scale seen from outside: every program at scale 1 and at a larger scale side by side on one screen, given the
// same drag (at the larger scale on the last row and column of each pixel's block), must show the same picture
// with each pixel repeated, whether the X server enlarges it or the window layer does; and a scale too large for
// the screen falls back with one line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/x11_support.h"

// Last: its macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>

namespace {

// Room for a window at scale 1 and one at scale 3 beside it. With SCALE_TEST_WITHOUT_SHARED_MEMORY set, the server
// has no shared memory, so the X server cannot enlarge the pictures and the window layer writes the blocks itself.
const bool wideScreen =
    (xdrive::setSharedScreen("2688x1536x24", std::getenv("SCALE_TEST_WITHOUT_SHARED_MEMORY") != nullptr
                                                 ? std::vector<std::string>{"-extension", "MIT-SHM"}
                                                 : std::vector<std::string>{}),
     true);

// The picture a window of scale n shows for the scale-1 picture a.
xdrive::Image enlarged(const xdrive::Image& a, int n) {
    xdrive::Image b;
    b.width = a.width * n;
    b.height = a.height * n;
    b.rgb.resize(static_cast<size_t>(b.width) * b.height * 3);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            for (int c = 0; c < 3; ++c)
                b.rgb[(static_cast<size_t>(y) * b.width + x) * 3 + c] =
                    a.rgb[(static_cast<size_t>(y / n) * a.width + x / n) * 3 + c];
    return b;
}

bool blank(const xdrive::Image& image) {
    for (const uint8_t v : image.rgb)
        if (v != 0) return false;
    return true;
}

// Where a point of the drawing area is pointed at in a window of scale n: the last column or row of its block.
int at(int v, int n) { return v * n + n - 1; }

struct Game {
    const char* what;
    const char* path;
    const char* title;
    int scale;
    int button;  // 1 turns a layer, 3 turns the view
    int x1, y1, x2, y2;
    bool pressShows = false;  // the pressed sticker turns black (cuboid-b)
};

// Drags whose length is a multiple of the driver's 4 steps, so that each step lands on whole pixels at scale 1
// and on the same pixels' blocks at the larger scale.
const Game games[] = {
    {"cube3d turns a layer", CUBE3D_PATH, "ZADOR TOLAN", 2, 1, 420, 210, 200, 210},
    {"cuboid-a turns a layer", CUBOID_A_PATH, "ZADOR TOLAN", 2, 1, 420, 210, 200, 210},
    {"cuboid-b turns a layer", CUBOID_B_PATH, "ZADOR TOLAN", 2, 1, 420, 210, 200, 210, true},
    {"cuboid-c turns a layer", CUBOID_C_PATH, "ZADOR TOLAN", 2, 1, 420, 210, 200, 210},
    {"cubesolve turns a layer", CUBESOLVE_PATH, "ZADOR LUI TOLAN", 2, 1, 410, 190, 250, 190},
    {"pentagir turns the view", PENTAGIR_PATH, "PENTAGIR", 2, 3, 320, 240, 320, 300},
    {"tetragir turns the view", TETRAGIR_PATH, "TETRAGIR", 2, 3, 320, 240, 320, 180},
    {"pentagir at scale 3", PENTAGIR_PATH, "PENTAGIR", 3, 3, 320, 240, 320, 300},
    {"cuboid-b at scale 3", CUBOID_B_PATH, "ZADOR TOLAN", 3, 1, 420, 210, 200, 210, true},
};

class ScaledGame : public ::testing::TestWithParam<Game> {};

::testing::AssertionResult moveWindow(xtest::ProgramWindow& window, int x, int y) {
    Display* display = window.driver().display();
    XMoveWindow(display, window.driver().window(), x, y);
    XSync(display, False);
    int rootX = -1, rootY = -1, width = 0, height = 0;
    // Without a window manager the move is the server's at once; wait for the geometry to say so all the same.
    for (int i = 0; i < 500 && (rootX != x || rootY != y); ++i)
        if (!window.driver().geometry(rootX, rootY, width, height)) return ::testing::AssertionFailure();
    if (rootX != x || rootY != y) return ::testing::AssertionFailure() << "the window did not move";
    return ::testing::AssertionSuccess();
}

// The game's drag in a window of scale n. When the press shows, the pointer moves on only once the program has
// seen the press where it was made, however long its frames take.
::testing::AssertionResult dragLikeAPlayer(xtest::ProgramWindow& window, const Game& g, int n,
                                           const xdrive::Image& start) {
    xdrive::Driver& d = window.driver();
    if (!g.pressShows) {
        if (d.drag(g.button, at(g.x1, n), at(g.y1, n), at(g.x2, n), at(g.y2, n), 4))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << d.error();
    }
    if (!d.move(at(g.x1, n), at(g.y1, n)) || !d.press(g.button)) return ::testing::AssertionFailure() << d.error();
    auto pressed =
        window.waitForPicture([&](const xdrive::Image& i) { return i.rgb != start.rgb; }, "the pressed sticker", 20000);
    if (!pressed) return pressed;
    for (int step = 1; step <= 4; ++step)
        if (!d.move(at(g.x1 + (g.x2 - g.x1) * step / 4, n), at(g.y1 + (g.y2 - g.y1) * step / 4, n)))
            return ::testing::AssertionFailure() << d.error();
    if (!d.release(g.button)) return ::testing::AssertionFailure() << d.error();
    return ::testing::AssertionSuccess();
}

TEST_P(ScaledGame, ShowsTheSamePictureWithEachPixelRepeated) {
    const Game& g = GetParam();
    const int n = g.scale;
    const std::string folder = testing::TempDir();
    xtest::ProgramWindow one, big;
    ASSERT_TRUE(one.start({g.path, "--scale", "1"}, g.title, xdrive::Output::Inherit, folder));
    ASSERT_TRUE(moveWindow(one, 0, 0));
    xdrive::Image start;
    ASSERT_TRUE(
        one.waitForPicture([](const xdrive::Image& i) { return !blank(i); }, "the start picture", 20000, &start));
    ASSERT_TRUE(big.start({g.path, "--scale", std::to_string(n)}, g.title, xdrive::Output::Inherit, folder));
    ASSERT_TRUE(moveWindow(big, 700, 0));
    int x, y, width = 0, height = 0;
    ASSERT_TRUE(big.driver().geometry(x, y, width, height));
    ASSERT_EQ(width, 640 * n);
    ASSERT_EQ(height, 480 * n);
    const xdrive::Image bigStart = enlarged(start, n);
    EXPECT_TRUE(big.waitForPicture([&](const xdrive::Image& i) { return i.rgb == bigStart.rgb; },
                                   "the start picture enlarged", 20000));

    // A program reads the pointer once a frame, and a larger window's frames take longer: each step of the drag
    // stays long enough for a frame to see it, so both programs see the press where it was made.
    one.driver().setSettleMs(150);
    big.driver().setSettleMs(150);
    ASSERT_TRUE(dragLikeAPlayer(one, g, 1, start));
    ASSERT_TRUE(dragLikeAPlayer(big, g, n, bigStart));
    // Both have had the same input: once the scale-1 window has moved off its start picture, the larger one must
    // come to show that picture enlarged (a turn's animation runs through the same frames in both).
    xdrive::Image small;
    EXPECT_TRUE(big.waitForPicture(
        [&](const xdrive::Image& i) {
            small = one.capture();
            return small.rgb != start.rgb && i.rgb == enlarged(small, n).rgb;
        },
        "the scale-1 picture after the drag, enlarged", 60000));
    EXPECT_NE(small.rgb, start.rgb) << "the drag changed nothing at scale 1";
    EXPECT_TRUE(big.endWithEscape());
    // The keyboard went to the larger window when it was found; finding the first one again gives it back.
    ASSERT_TRUE(one.driver().findWindow(g.title, 5000, one.program().pid())) << one.driver().error();
    EXPECT_TRUE(one.endWithEscape());
}

INSTANTIATE_TEST_SUITE_P(Programs, ScaledGame, ::testing::ValuesIn(games), xtest::caseName<Game>);

// The scale a program gets on this screen (2688 x 1536, no panels): the largest whose framed window fits is 3.
TEST(ScaleOnTheScreen, TooLargeFallsBackWithOneLineAndAutoTakesTheLargest) {
    struct Case {
        std::vector<std::string> args;
        const char* variable;  // TWISTY_SCALE, or nullptr
        int width;
        std::string err;
    };
    const std::string fallBack = "pentagir: scale 8 does not fit on the screen; the window has scale 3\n";
    const Case cases[] = {
        {{PENTAGIR_PATH, "--scale", "8"}, nullptr, 1920, fallBack},
        {{PENTAGIR_PATH}, "8", 1920, fallBack},
        {{PENTAGIR_PATH, "--scale", "auto"}, nullptr, 1920, ""},
        {{PENTAGIR_PATH}, "auto", 1920, ""},
        {{PENTAGIR_PATH, "--scale", "2"}, "8", 1280, ""},  // the option wins
        {{PENTAGIR_PATH}, "", 640, ""},                    // an empty variable is none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size() > 1 ? c.args[2] : std::string("TWISTY_SCALE=") + (c.variable ? c.variable : ""));
        if (c.variable) setenv("TWISTY_SCALE", c.variable, 1);
        else unsetenv("TWISTY_SCALE");
        xtest::ProgramWindow window;
        ASSERT_TRUE(window.start(c.args, "PENTAGIR", xdrive::Output::StdoutAndStderr));
        unsetenv("TWISTY_SCALE");
        int x, y, width = 0, height = 0;
        ASSERT_TRUE(window.driver().geometry(x, y, width, height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.width * 3 / 4);
        EXPECT_TRUE(window.endWithEscape());
        std::string all, line;
        while (window.program().readLine(line, 2000)) all += line + "\n";
        EXPECT_EQ(all, c.err);
    }
}

}  // namespace
