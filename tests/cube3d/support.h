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

#include "config.h"
#include "program.h"
#include "render.h"
#include "scene/camera.h"
#include "state.h"

namespace cube3d_test {

using namespace cube3d;

// Outer colour code of each face by the colour rules: +z red, -z orange, -x blue, +x green, -y white, +y yellow.
inline constexpr int32_t outerCode[6] = {12, 13, 9, 2, 15, 14};

inline int32_t slotOf(int32_t i, int32_t j, int32_t k) { return cubie::slotNumber(state.puzzle.gridSize, i, j, k); }

// The program in its start state, working in a fresh empty folder of its own.
class Cube3d : public testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        folder_ = std::filesystem::temp_directory_path() /
                  ("cube3d_" + std::to_string(getpid()) + "_" +
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

// Test suites carry the program's name as written, so that ctest -R cube3d selects them.
using cube3dProgram = Cube3d;
using cube3dSave = Cube3d;

// Mouse pixel (origin top-left) over the centre of face f of the cubie in slot s as the camera shows it now, when
// the face is turned towards the eye and wide enough on screen that the pixel lies well inside it.
inline bool stickerPixel(int32_t s, int32_t f, int32_t& mouseX, int32_t& mouseY, double margin = 3.0) {
    composeCamera();
    scene::Vec3 corner[4], centre{0, 0, 0};
    for (int32_t c = 0; c < 4; ++c) {
        const double* p = state.puzzle.worldVertex[s * 8 + cubie::faceCorners[f][c]];
        corner[c] = {p[0], p[1], p[2]};
        centre = centre + 0.25 * corner[c];
    }
    // faceCorners run clockwise seen from outside: this normal points into the cubie.
    const scene::Vec3 inward = scene::cross(corner[1] - corner[0], corner[2] - corner[0]);
    if (scene::dot(inward, state.eye - centre) >= 0) return false;
    double wx[4], wy[4], cx, cy, z;
    for (int32_t c = 0; c < 4; ++c)
        if (!scene::projectPoint(state.camera, corner[c], wx[c], wy[c], z)) return false;
    if (!scene::projectPoint(state.camera, centre, cx, cy, z)) return false;
    // The pick ray passes through the pixel's corner (whole window coordinates), up to 1.5 pixels from the centre.
    for (int32_t c = 0; c < 4; ++c) {
        const double ex = wx[(c + 1) % 4] - wx[c], ey = wy[(c + 1) % 4] - wy[c];
        const double distance = std::fabs(ex * (cy - wy[c]) - ey * (cx - wx[c])) / std::hypot(ex, ey);
        if (!(distance >= 1.5 + margin)) return false;
    }
    mouseX = static_cast<int32_t>(std::floor(cx));
    mouseY = state.areaHeight - 1 - static_cast<int32_t>(std::floor(cy));
    return true;
}

}  // namespace cube3d_test
