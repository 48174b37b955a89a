// cube3d played through the X server from start to Escape: the start picture, the darkened sticker under the held
// left button, a drag that turns a layer, the close button and the keys with the save file, a right-button orbit,
// the size and shape keys. Expected colours come from the colour rules; where each sticker shows comes from the
// camera rules applied to a model of the puzzle kept in this process alongside the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "tests/cube3d/support.h"
#include "tests/support/x11_support.h"
#include "tests/support/xdriver/driver.h"
#include "tests/support/xdriver/png.h"
#include "tests/support/xdriver/process.h"
#include "tests/support/xdriver/wait.h"

namespace cube3d_test {
namespace {

constexpr int waitMs = 8000;  // a quarter turn lasts 0.75 s; software GL shares the machine with other tests

// What OpenGL writes for a colour of the table, give or take its rounding of halves.
bool shows(const xdrive::Rgb& p, const float rgb[3]) {
    const int got[3] = {p.r, p.g, p.b};
    for (int c = 0; c < 3; ++c)
        if (std::abs(got[c] - rgb[c] * 255.0f) > 1.0f) return false;
    return true;
}

// Outer stickers of the model kept here whose centre pixel does not show their colour from the given camera;
// "" when all match. Stickers seen too obliquely to hit reliably are skipped; none seen counts as a mismatch.
std::string mismatches(const xdrive::Image& image, int32_t yaw, int32_t pitch) {
    state.cameraYaw = yaw;
    state.cameraPitch = pitch;
    const Model& m = state.puzzle;
    std::string text;
    int32_t checked = 0;
    for (int32_t r = 0; r < Model::recordCount; ++r) {
        const Facet& f = m.facets[r];
        const int32_t slot = cubie::facetSlot(f), face = cubie::facetFace(f);
        if (f.colour == 0 || slot < 0 || face < 0) continue;
        const int32_t n = m.gridSize, at[3] = {slot / (n * n), slot / n % n, slot % n};
        const bool outer[6] = {at[2] == m.dims[2] - 1, at[2] == 0, at[0] == 0,
                               at[0] == m.dims[0] - 1, at[1] == 0, at[1] == m.dims[1] - 1};
        int32_t x, y;
        if (!outer[face] || !stickerPixel(slot, face, x, y)) continue;
        ++checked;
        const float* want = expectedColour(f.colour);
        if (want && shows(image.pixel(x, y), want)) continue;
        std::ostringstream line;
        line << " slot " << slot << " face " << face << " at (" << x << ", " << y << ") shows " << image.pixel(x, y)
             << ", code " << f.colour << ";";
        text += line.str();
    }
    return checked == 0 ? "no sticker seen" : text;
}

// The model kept here: rebuilt as the program rebuilds, turned as the program turns.
void rebuildModel(int32_t grid, int32_t dx, int32_t dy, int32_t dz) {
    state.puzzle.gridSize = grid;
    state.puzzle.dims[0] = dx, state.puzzle.dims[1] = dy, state.puzzle.dims[2] = dz;
    ASSERT_TRUE(rebuild());
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int32_t lineCount(const std::string& text) {
    int32_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    return lines;
}

TEST(cube3dGame, PlayedFromStartToEscape) {
    char pattern[] = "/tmp/cube3d-e2e-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string saveFile = folder + "/SALVARE.TXT";
    xtest::ProgramWindow puzzle;
    ASSERT_TRUE(puzzle.start({CUBE3D_PATH}, "ZADOR TOLAN", xdrive::Output::StdoutAndStderr, folder));
    xdrive::Driver& driver = puzzle.driver();
    xdrive::Image image;
    std::string wrong;
    auto awaits = [&](int32_t yaw, int32_t pitch) {
        return [&, yaw, pitch](const xdrive::Image& shot) { return (wrong = mismatches(shot, yaw, pitch)).empty(); };
    };

    // Start: blue -x on the left, yellow +y on top, red +z on the right; the corners of the window are background.
    rebuildModel(10, 10, 10, 10);
    ASSERT_TRUE(puzzle.waitForPicture(awaits(45, 45), "start", waitMs, &image)) << wrong;
    EXPECT_EQ(image.pixel(2, 2), xdrive::Rgb{});
    int32_t x, y;
    ASSERT_TRUE(stickerPixel(slotOf(0, 5, 5), 2, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), blue)) << "-x is blue: " << image.pixel(x, y);

    // The close button saves like k, and the window stays.
    ASSERT_TRUE(driver.closeButton()) << driver.error();
    for (int i = 0; i < 100 && lineCount(readAll(saveFile)) < 6005; ++i) xdrive::pause(50);
    const std::string startFile = readAll(saveFile);
    EXPECT_EQ(lineCount(startFile), 6005);
    EXPECT_EQ(startFile.substr(0, 33), "10\r\n10\r\n10\r\n10\r\n5999\r\n4 6 7 5 8\r\n");
    EXPECT_TRUE(driver.windowExists());
    EXPECT_TRUE(puzzle.program().running());

    // The held left button darkens the sticker under it; dragging it one sticker towards +z on top turns layer
    // i = 4 about x by +90 degrees, so that +y goes to +z.
    int32_t x2, y2;
    ASSERT_TRUE(stickerPixel(slotOf(4, 9, 3), 5, x, y));
    ASSERT_TRUE(stickerPixel(slotOf(4, 9, 4), 5, x2, y2));
    ASSERT_TRUE(driver.move(x, y));
    ASSERT_TRUE(driver.press(1));
    auto darkened = [&](const xdrive::Image& shot) { return shows(shot.pixel(x, y), darkGrey); };
    EXPECT_TRUE(puzzle.waitForPicture(darkened, "the pressed sticker darkened", waitMs));
    ASSERT_TRUE(driver.move((x + x2) / 2, (y + y2) / 2));
    ASSERT_TRUE(driver.move(x2, y2));
    ASSERT_TRUE(driver.release(1));
    const auto released = std::chrono::steady_clock::now();
    cubie::startTurn(state.puzzle, 0, 4, 1);
    while (state.puzzle.turning) cubie::stepTurn(state.puzzle);
    ASSERT_TRUE(puzzle.waitForPicture(awaits(45, 45), "turned", waitMs, &image)) << wrong;
    // Paced at 120 frames a second, the 90 frames of a quarter turn take 0.75 s (less the driver's settling time
    // after the release); unpaced, a quick machine would show the whole turn in well under half a second.
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - released).count(), 0.6);
    ASSERT_TRUE(stickerPixel(slotOf(4, 6, 9), 0, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), yellow)) << "yellow came to +z: " << image.pixel(x, y);

    // k writes the turned puzzle; a scrambles; l brings back the turned puzzle and the start camera.
    ASSERT_TRUE(driver.tap("k"));
    for (int i = 0; i < 100 && readAll(saveFile) == startFile; ++i) xdrive::pause(50);
    const std::string turnedFile = readAll(saveFile);
    EXPECT_NE(turnedFile, startFile);
    EXPECT_EQ(lineCount(turnedFile), 6005);
    ASSERT_TRUE(driver.tap("a"));
    auto scrambled = [&](const xdrive::Image& shot) { return !mismatches(shot, 45, 45).empty(); };
    EXPECT_TRUE(puzzle.waitForPicture(scrambled, "scrambling", waitMs));
    // The pointer goes to where the orbit below starts before l: the frame that loads has seen it there, so the
    // orbit's press cannot count the way there as a drag.
    ASSERT_TRUE(driver.move(500, 440));
    ASSERT_TRUE(driver.tap("l"));
    ASSERT_TRUE(puzzle.waitForPicture(awaits(45, 45), "loaded", waitMs)) << wrong;
    EXPECT_EQ(readAll(saveFile), turnedFile) << "loading leaves the file alone";

    // The right button alone turns the camera a degree per pixel: 90 pixels right bring -z (orange) into view, and
    // 20 pixels up lower the eye towards the sides. The button is held until the picture shows it, so that a frame
    // has counted the last move before the release.
    ASSERT_TRUE(puzzle.dragHoldUntil(3, 500, 440, 590, 420, awaits(135, 25), "orbited", waitMs, &image)) << wrong;
    ASSERT_TRUE(stickerPixel(slotOf(5, 5, 0), 1, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), orange)) << "-z is orange: " << image.pixel(x, y);

    // s: 10 goes round to 2; x, z and c take one layer off x, y and z, and c once more puts z back to 2.
    struct Step {
        const char* key;
        int32_t grid, dims[3];
    } const steps[] = {
        {"s", 2, {2, 2, 2}}, {"x", 2, {1, 2, 2}}, {"z", 2, {1, 1, 2}}, {"c", 2, {1, 1, 1}}, {"c", 2, {1, 1, 2}}};
    for (const Step& step : steps) {
        ASSERT_TRUE(driver.tap(step.key));
        rebuildModel(step.grid, step.dims[0], step.dims[1], step.dims[2]);
        EXPECT_TRUE(puzzle.waitForPicture(awaits(45, 45), std::string("after ") + step.key, waitMs)) << wrong;
    }

    EXPECT_TRUE(puzzle.endWithEscape());
    std::filesystem::remove_all(folder);
}

// Without a display there is no window to play in: one line naming the cause, exit status 1, no hang.
TEST(cube3dGame, WithoutADisplaySaysWhyAndEnds) { EXPECT_TRUE(xtest::endsForLackOfDisplay(CUBE3D_PATH, "cube3d")); }

}  // namespace
}  // namespace cube3d_test
