// cube3d played through the X server from start to Escape: the start picture, the darkened sticker under the held
// left button, a drag that turns a layer, the close button and the keys with the save file, a right-button orbit,
// the size and shape keys. Expected colours come from the colour table; where each sticker shows comes from the
// camera rules applied to a model of the puzzle kept in this process alongside the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "support.h"
#include "xdriver.h"

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

std::string describe(const xdrive::Rgb& p) {
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", p.r, p.g, p.b);
    return text;
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
        const bool outer[6] = {at[2] == m.dims[2] - 1, at[2] == 0, at[0] == 0, at[0] == m.dims[0] - 1, at[1] == 0,
                               at[1] == m.dims[1] - 1};
        int32_t x, y;
        if (!outer[face] || !stickerPixel(slot, face, x, y)) continue;
        ++checked;
        const float* want = codeColour(f.colour);
        if (want && shows(image.pixel(x, y), want)) continue;
        char line[120];
        std::snprintf(line, sizeof line, " slot %d face %d at (%d, %d) shows %s, code %d;", slot, face, x, y,
                      describe(image.pixel(x, y)).c_str(), f.colour);
        text += line;
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
    xdrive::XServer server;
    ASSERT_TRUE(server.ok()) << server.error();
    xdrive::Program program;
    ASSERT_TRUE(program.start(server.name(), {CUBE3D_PATH}, xdrive::Output::StdoutAndStderr, folder))
        << program.error();
    xdrive::Driver driver(server.name());
    ASSERT_TRUE(driver.findWindow("ZADOR TOLAN", 10000, program.pid())) << driver.error();
    xdrive::Image image;
    std::string wrong;
    auto awaits = [&](int32_t yaw, int32_t pitch) {
        return [&, yaw, pitch](const xdrive::Image& shot) { return (wrong = mismatches(shot, yaw, pitch)).empty(); };
    };

    // Start: blue -x on the left, yellow +y on top, red +z on the right; the corners of the window are background.
    rebuildModel(10, 10, 10, 10);
    ASSERT_TRUE(driver.captureUntil(image, awaits(45, 45), waitMs)) << "start:" << wrong;
    EXPECT_EQ(image.pixel(2, 2), xdrive::Rgb{}) << describe(image.pixel(2, 2));
    int32_t x, y;
    ASSERT_TRUE(stickerPixel(slotOf(0, 5, 5), 2, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), colourTable[9].rgb)) << "-x is blue: " << describe(image.pixel(x, y));

    // The close button saves like k, and the window stays.
    ASSERT_TRUE(driver.closeButton()) << driver.error();
    for (int i = 0; i < 100 && lineCount(readAll(saveFile)) < 6005; ++i) xdrive::pause(50);
    const std::string startFile = readAll(saveFile);
    EXPECT_EQ(lineCount(startFile), 6005);
    EXPECT_EQ(startFile.substr(0, 33), "10\r\n10\r\n10\r\n10\r\n5999\r\n4 6 7 5 8\r\n");
    EXPECT_TRUE(driver.windowExists());
    EXPECT_TRUE(program.running());

    // The held left button darkens the sticker under it; dragging it one sticker towards +z on top turns layer
    // i = 4 about x by +90 degrees, so that +y goes to +z.
    int32_t x2, y2;
    ASSERT_TRUE(stickerPixel(slotOf(4, 9, 3), 5, x, y));
    ASSERT_TRUE(stickerPixel(slotOf(4, 9, 4), 5, x2, y2));
    ASSERT_TRUE(driver.move(x, y));
    ASSERT_TRUE(driver.press(1));
    auto darkened = [&](const xdrive::Image& shot) { return shows(shot.pixel(x, y), highlightColour); };
    EXPECT_TRUE(driver.captureUntil(image, darkened, waitMs))
        << "pressed sticker shows " << describe(image.pixel(x, y));
    ASSERT_TRUE(driver.move((x + x2) / 2, (y + y2) / 2));
    ASSERT_TRUE(driver.move(x2, y2));
    ASSERT_TRUE(driver.release(1));
    const auto released = std::chrono::steady_clock::now();
    cubie::startTurn(state.puzzle, 0, 4, 1);
    while (state.puzzle.turning) cubie::stepTurn(state.puzzle);
    ASSERT_TRUE(driver.captureUntil(image, awaits(45, 45), waitMs)) << "after the turn:" << wrong;
    // Paced at 120 frames a second, the 90 frames of a quarter turn take 0.75 s (less the driver's settling time
    // after the release); unpaced, a quick machine would show the whole turn in well under half a second.
    EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - released).count(), 0.6);
    ASSERT_TRUE(stickerPixel(slotOf(4, 6, 9), 0, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), colourTable[14].rgb)) << "yellow came to +z: " << describe(image.pixel(x, y));

    // k writes the turned puzzle; a scrambles; l brings back the turned puzzle and the start camera.
    ASSERT_TRUE(driver.tap("k"));
    for (int i = 0; i < 100 && readAll(saveFile) == startFile; ++i) xdrive::pause(50);
    const std::string turnedFile = readAll(saveFile);
    EXPECT_NE(turnedFile, startFile);
    EXPECT_EQ(lineCount(turnedFile), 6005);
    ASSERT_TRUE(driver.tap("a"));
    EXPECT_TRUE(driver.captureUntil(image, [&](const xdrive::Image& shot) { return !mismatches(shot, 45, 45).empty(); },
                                    waitMs))
        << "the scramble changed nothing";
    ASSERT_TRUE(driver.tap("l"));
    ASSERT_TRUE(driver.captureUntil(image, awaits(45, 45), waitMs)) << "after the load:" << wrong;
    EXPECT_EQ(readAll(saveFile), turnedFile) << "loading leaves the file alone";

    // The right button alone turns the camera a degree per pixel: 90 pixels right bring -z (orange) into view.
    ASSERT_TRUE(driver.move(500, 440));
    xdrive::pause(100);
    ASSERT_TRUE(driver.drag(3, 500, 440, 590, 440, 9));
    ASSERT_TRUE(driver.captureUntil(image, awaits(135, 45), waitMs)) << "after the orbit:" << wrong;
    ASSERT_TRUE(stickerPixel(slotOf(5, 5, 0), 1, x, y));
    EXPECT_TRUE(shows(image.pixel(x, y), colourTable[13].rgb)) << "-z is orange: " << describe(image.pixel(x, y));

    // s: 10 goes round to 2; x, z and c take one layer off x, y and z, and c once more puts z back to 2.
    struct Step {
        const char* key;
        int32_t grid, dims[3];
    } const steps[] = {{"s", 2, {2, 2, 2}}, {"x", 2, {1, 2, 2}}, {"z", 2, {1, 1, 2}}, {"c", 2, {1, 1, 1}},
                       {"c", 2, {1, 1, 2}}};
    for (const Step& step : steps) {
        ASSERT_TRUE(driver.tap(step.key));
        rebuildModel(step.grid, step.dims[0], step.dims[1], step.dims[2]);
        EXPECT_TRUE(driver.captureUntil(image, awaits(45, 45), waitMs)) << "after " << step.key << ":" << wrong;
    }

    ASSERT_TRUE(driver.tap("Escape"));
    int status = -1;
    ASSERT_TRUE(program.waitExit(10000, status)) << program.error();
    EXPECT_EQ(status, 0);
    std::filesystem::remove_all(folder);
}

// Without a display there is no window to play in: one line naming the cause, exit status 1, no hang.
TEST(cube3dGame, WithoutADisplaySaysWhyAndEnds) {
    xdrive::Program program;
    ASSERT_TRUE(program.start("", {CUBE3D_PATH}, xdrive::Output::StdoutAndStderr)) << program.error();
    std::string line;
    ASSERT_TRUE(program.readLine(line, 10000)) << program.error();
    EXPECT_EQ(line.rfind("cube3d: ", 0), 0u) << line;
    EXPECT_GT(line.size(), std::string("cube3d: ").size()) << "the cause is named";
    int status = -1;
    ASSERT_TRUE(program.waitExit(10000, status)) << program.error();
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace cube3d_test
