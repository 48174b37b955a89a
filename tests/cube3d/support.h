// What cube3d's tests share: the program driven frame by frame without a window in its own empty working
// folder, and where a sticker shows on screen, worked out from the camera and the corner layout of the rules.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cube3d/config.h"
#include "cube3d/draw.h"
#include "cube3d/picking.h"
#include "cube3d/program.h"
#include "cube3d/state.h"
#include "scene/camera.h"
#include "tests/support/degree.h"
#include "window/window.h"

namespace cube3d_test {

using namespace cube3d;
using play::leftButtonAlone;
using play::rightButtonAlone;

// Outer colour code of each face by the colour rules: +z red, -z orange, -x blue, +x green, -y white, +y yellow.
inline constexpr int32_t outerCode[6] = {12, 13, 9, 2, 15, 14};

// What a player must see, written out here rather than taken from the program's own tables, so that a wrong
// constant there shows up as a wrong picture or a wrong pick: red, green, blue of each colour code (nullptr for a
// code without a colour) and of the darkened sticker.
inline constexpr float green[3] = {0.1f, 0.7f, 0.3f}, grey[3] = {0.4f, 0.4f, 0.4f}, blue[3] = {0.0f, 0.0f, 1.0f},
                       red[3] = {1.0f, 0.0f, 0.0f}, orange[3] = {1.0f, 0.5f, 0.0f}, yellow[3] = {1.0f, 1.0f, 0.0f},
                       white[3] = {1.0f, 1.0f, 1.0f}, darkGrey[3] = {0.1f, 0.1f, 0.1f};
inline const float* expectedColour(int32_t code) {
    switch (code) {
        case 2: return green;
        case 8: return grey;
        case 9: return blue;
        case 12: return red;
        case 13: return orange;
        case 14: return yellow;
        case 15: return white;
        default: return nullptr;
    }
}

// The camera a player looks through, from its yaw and pitch in degrees: the eye 720 units from the origin at
// (-sin yaw cos pitch, sin pitch, cos yaw cos pitch), up (0, cos pitch, 0), a vertical field of 35 degrees, aspect
// 1.2, near 35, far 1200, on the 640 x 480 window.
inline scene::Vec3 expectedEye(int32_t yaw, int32_t pitch) {
    const double t = yaw * oracle::degree, p = pitch * oracle::degree;
    return {-720.0 * std::sin(t) * std::cos(p), 720.0 * std::sin(p), 720.0 * std::cos(t) * std::cos(p)};
}
inline scene::Camera expectedCamera(int32_t yaw, int32_t pitch) {
    double projection[16], modelView[16];
    scene::perspectiveMatrix(projection, 35.0, 1.2, 35.0, 1200.0);
    scene::lookAtMatrix(modelView, expectedEye(yaw, pitch), {0, 0, 0}, {0, std::cos(pitch * oracle::degree), 0});
    scene::Camera camera;
    scene::setCamera(camera, projection, modelView, 640, 480);
    return camera;
}

inline int32_t slotOf(int32_t i, int32_t j, int32_t k) { return cubie::slotNumber(state.puzzle.gridSize, i, j, k); }

// The program in its start state, working in a fresh empty folder of its own.
class Cube3d : public testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_ =
            std::filesystem::temp_directory_path() / ("cube3d_" + std::to_string(getpid()) + "_" +
                                                      testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
        resetProgram(7);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    // One frame with this input; false when the program would end.
    static bool frame(int32_t x, int32_t y, int32_t buttons, uint8_t key = 0) {
        FrameInput in;
        in.mouseX = x;
        in.mouseY = y;
        in.buttons = buttons;
        in.key = key;
        return playFrame(in);
    }

    // Frames with the pointer resting and no button until the running turn (and scramble) is over; their count.
    static int32_t framesUntilIdle(int32_t limit = 10000) {
        int32_t frames = 0;
        while ((state.puzzle.turning || state.puzzle.scrambleLeft > 0) && frames < limit) {
            frame(0, 0, 0);
            ++frames;
        }
        return frames;
    }

    // Press at one pixel, move to another, release there: three frames, as a player's drag arrives.
    static void drag(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t buttons = leftButtonAlone) {
        frame(x1, y1, 0);
        frame(x1, y1, buttons);
        frame(x2, y2, buttons);
        frame(x2, y2, 0);
    }

    static std::string readFile(const char* name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path previous_, folder_;
};

// Test suites carry the program's name, so that ctest -R Cube3d selects them.
using Cube3dProgram = Cube3d;
using Cube3dSave = Cube3d;

// Mouse pixel (origin top-left) over the centre of face f of the cubie in slot s as the player's camera at
// cameraYaw and cameraPitch shows it now, when the face is turned towards the eye and wide enough on screen that
// the pixel lies well inside it. Also composes the program's camera for those angles, for tests that pick directly.
inline bool stickerPixel(int32_t s, int32_t f, int32_t& mouseX, int32_t& mouseY, double margin = 3.0) {
    composeCamera();
    const scene::Camera camera = expectedCamera(state.cameraYaw, state.cameraPitch);
    const scene::Vec3 eye = expectedEye(state.cameraYaw, state.cameraPitch);
    scene::Vec3 corner[4], centre{0, 0, 0};
    for (int32_t c = 0; c < 4; ++c) {
        const double* p = state.puzzle.worldVertex[s * 8 + cubie::faceCorners[f][c]];
        corner[c] = {p[0], p[1], p[2]};
        centre = centre + 0.25 * corner[c];
    }
    // faceCorners run clockwise seen from outside: this normal points into the cubie.
    const scene::Vec3 inward = scene::cross(corner[1] - corner[0], corner[2] - corner[0]);
    if (scene::dot(inward, eye - centre) >= 0) return false;
    double wx[4], wy[4], cx, cy, z;
    for (int32_t c = 0; c < 4; ++c)
        if (!scene::projectPoint(camera, corner[c], wx[c], wy[c], z)) return false;
    if (!scene::projectPoint(camera, centre, cx, cy, z)) return false;
    // The pick ray passes through the pixel's corner (whole window coordinates), up to 1.5 pixels from the centre.
    for (int32_t c = 0; c < 4; ++c) {
        const double ex = wx[(c + 1) % 4] - wx[c], ey = wy[(c + 1) % 4] - wy[c];
        const double distance = std::fabs(ex * (cy - wy[c]) - ey * (cx - wx[c])) / std::hypot(ex, ey);
        if (!(distance >= 1.5 + margin)) return false;
    }
    mouseX = static_cast<int32_t>(std::floor(cx));
    mouseY = 479 - static_cast<int32_t>(std::floor(cy));
    return true;
}

}  // namespace cube3d_test
