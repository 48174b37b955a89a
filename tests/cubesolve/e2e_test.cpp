// cubesolve under the shared private X server, played through the X driver: the start picture, a drag that turns a
// layer, a view drag, the size key and Ctrl+Left, the close button, and a key pressed during a solve that the main loop
// reads once the solve has ended. Expected colours come from the side colours and the projection rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cubesolve/expected_view.h"
#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"

namespace {

constexpr const char* title = "ZADOR LUI TOLAN";
const std::string program = std::string(CUBESOLVE_BIN_DIR) + "/cubesolve";

// A point of the cube and the palette entry the rules say it shows.
struct Expect {
    double w[3];
    int colour;
};

// Window pixel in the middle of the cell a world point projects to.
void pixelOf(const double w[3], const int32_t angles[3], int& x, int& y) {
    int32_t cx, cy;
    expected_view::projectPoint(w, angles, cx, cy);
    x = 2 * cx + 1;
    y = 2 * cy + 1;
}

// "" when every point shows its colour, else what each point shows.
std::string mismatch(const xdrive::Image& image, const std::vector<Expect>& expects, const int32_t angles[3]) {
    std::ostringstream out;
    bool wrong = false;
    for (const Expect& e : expects) {
        int x, y;
        pixelOf(e.w, angles, x, y);
        const expected_view::Rgb want = expected_view::paletteRgb(e.colour);
        const xdrive::Rgb got = image.pixel(x, y);
        wrong = wrong || got.r != want.r || got.g != want.g || got.b != want.b;
        out << "(" << e.w[0] << ", " << e.w[1] << ", " << e.w[2] << ") at pixel " << x << ", " << y << " wants "
            << e.colour << ", shows " << int(got.r) << " " << int(got.g) << " " << int(got.b) << "; ";
    }
    return wrong ? out.str() : std::string();
}

// Up, front and right centre stickers of a solved cube of odd size, or the sticker nearest each face's middle.
std::vector<Expect> solvedFaces(double offset) {
    return {{{58, offset, offset}, 15}, {{offset, 58, offset}, 12}, {{offset, offset, 58}, 2}};
}

const int32_t startView[3] = {45, 45, 90};

// Waits until the picture shows what is expected; the failure keeps the last capture and says what it showed.
::testing::AssertionResult waitFor(xtest::ProgramWindow& window, const std::vector<Expect>& expects,
                                   const int32_t angles[3], const char* when, int timeoutMs = 3000) {
    xdrive::Image last;
    ::testing::AssertionResult result = window.waitForPicture(
        [&](const xdrive::Image& i) { return mismatch(i, expects, angles).empty(); }, when, timeoutMs, &last);
    if (!result) result << " (" << mismatch(last, expects, angles) << ")";
    return result;
}

TEST(cubesolveE2E, PlayerSession) {
    char pattern[] = "/tmp/cubesolve-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    xtest::ProgramWindow window;
    ASSERT_TRUE(window.start({program}, title, xdrive::Output::Inherit, dir));
    xdrive::Driver& driver = window.driver();

    // Three sides of the solved 3-cube: up white, front light red, right green.
    ASSERT_TRUE(waitFor(window, solvedFaces(0), startView, "start"));

    // Drag from the up centre onto the up-front edge: the middle layer turns so that the up centre goes to the
    // front, and the back centre comes up. The points keep off the diagonal that splits a sticker into its two
    // triangles, which lies inside neither.
    const std::vector<Expect> turned = {{{58, 0, 0}, 13}, {{0, 58, 0}, 15}, {{0, 0, 58}, 2}};
    int x1, y1, x2, y2;
    const double from[3] = {58, 6, 4}, to[3] = {58, 44, 4};
    pixelOf(from, startView, x1, y1);
    pixelOf(to, startView, x2, y2);
    ASSERT_TRUE(driver.drag(1, x1, y1, x2, y2)) << driver.error();
    EXPECT_TRUE(waitFor(window, turned, startView, "after the drag"));

    // A right-button drag of 20 pixels to the right turns the view 10 degrees about x; from where the pointer rests
    // (no jump to count), held until the turn shows (no last move lost to the release).
    const int32_t dragged[3] = {55, 45, 90};
    xdrive::Image last;
    EXPECT_TRUE(window.dragHoldUntil(
        3, x2, y2, x2 + 20, y2, [&](const xdrive::Image& i) { return mismatch(i, turned, dragged).empty(); },
        "view drag", 3000, &last))
        << mismatch(last, turned, dragged);

    // s: a solved 4-cube in the start view; Ctrl+Left acts as s: a 5-cube; two more give 2 and then 3.
    ASSERT_TRUE(driver.tap("s"));
    EXPECT_TRUE(waitFor(window, solvedFaces(15), startView, "size 4"));
    ASSERT_TRUE(driver.tap("ctrl+Left"));
    EXPECT_TRUE(waitFor(window, solvedFaces(0), startView, "size 5"));
    ASSERT_TRUE(driver.tap("s"));
    ASSERT_TRUE(driver.tap("s"));
    EXPECT_TRUE(waitFor(window, solvedFaces(0), startView, "size 3"));

    // The close button changes nothing: the window stays and still answers keys (upper case does nothing).
    ASSERT_TRUE(driver.closeButton());
    ASSERT_TRUE(driver.tap("S"));
    xdrive::pause(300);
    EXPECT_TRUE(driver.windowExists());
    EXPECT_TRUE(waitFor(window, solvedFaces(0), startView, "after the close button"));

    // r then Escape at once: the waiting key makes every stage run one pass (two quarter turns of the whole
    // cube on a solved cube, about 2 s), then the main loop reads Escape. The whole solve would take over 7 s.
    ASSERT_TRUE(driver.tap("r"));
    ASSERT_TRUE(driver.tap("Escape"));
    int status = -1;
    ASSERT_TRUE(window.program().waitExit(5000, status)) << "the solve did not end early";
    EXPECT_EQ(status, 0);
    std::filesystem::remove_all(dir);
}

TEST(cubesolveE2E, WindowThatCannotOpenEndsWithOneLineAndStatusOne) {
    EXPECT_TRUE(xtest::endsForLackOfDisplay(program, "cubesolve"));
}

}  // namespace
