// Frames per second of cube3d's frame loop at N = 10, unpaced, in one run: the empty frame (clear and present
// only, the ceiling the window and GL set), the whole puzzle idle while the left button picks, and a layer turning,
// each drawn the quick way and the reference way. Then where one frame's time goes.
//   scripts/with-xvfb.sh build/bin/cube3d_frame_rate [seconds per case]
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cube3d/picking.h"
#include "cube3d/program.h"
#include "cube3d/state.h"
#include "cube3d/view.h"
#include "window/window.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class Case { empty, idlePicking, turning };

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One frame of the case: the pointer rests on the middle of the window with the left button held while idle, so
// every frame casts the pick ray; while turning, a new turn of the middle layer starts whenever one ends.
void frame(Case c) {
    using namespace cube3d;
    if (c == Case::empty) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFlush();
        present_frame(presentSwap);
        return;
    }
    if (c == Case::turning && !state.puzzle.turning) cubie::startTurn(state.puzzle, 1, 5, 1);
    FrameInput in;
    in.mouseX = 320;
    in.mouseY = 240;
    in.buttons = c == Case::idlePicking ? play::leftButtonAlone : 0;
    playFrame(in);
}

double measure(Case c, bool quick, double duration) {
    cube3d::state.quickDrawing = quick;
    int64_t frames = 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point now = start;
    while (seconds(now - start) < duration) {
        frame(c);
        ++frames;
        now = Clock::now();
    }
    return frames / seconds(now - start);
}

// Mean time of each part of an idle picking frame, in milliseconds: camera, pick and colours on the CPU; the
// drawing until GL has finished it; the present.
void breakdown(bool quick) {
    using namespace cube3d;
    state.quickDrawing = quick;
    constexpr int frames = 200;
    double cpu = 0, draw = 0, present = 0;
    for (int i = 0; i < frames; ++i) {
        Clock::time_point t0 = Clock::now();
        composeCamera();
        pickFacets(true, 320, 240);
        resolveColours();
        Clock::time_point t1 = Clock::now();
        quick ? drawQuick() : drawReference();
        glFinish();
        Clock::time_point t2 = Clock::now();
        present_frame(presentSwap);
        Clock::time_point t3 = Clock::now();
        cpu += seconds(t1 - t0);
        draw += seconds(t2 - t1);
        present += seconds(t3 - t2);
    }
    std::printf("%-10s pick and colours %6.2f ms, drawing %6.2f ms (%d quads), present %6.2f ms\n",
                quick ? "quick" : "reference", 1000 * cpu / frames, 1000 * draw / frames,
                quick ? quickQuadCount() : cube3d::Model::recordCount, 1000 * present / frames);
}

}  // namespace

int main(int argc, char** argv) {
    double duration = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (duration <= 0.0) duration = 2.0;
    if (!cube3d::startUp()) return 1;
    set_frame_rate(0);
    measure(Case::idlePicking, true, 0.5);  // warm up the driver
    struct Row {
        const char* name;
        Case c;
        bool quick;
    };
    const Row rows[] = {
        {"empty frame (clear, present)", Case::empty, true},
        {"idle, picking, reference", Case::idlePicking, false},
        {"idle, picking, quick", Case::idlePicking, true},
        {"turning, reference", Case::turning, false},
        {"turning, quick", Case::turning, true},
    };
    constexpr int rowCount = sizeof rows / sizeof rows[0];
    // Rounds alternate the cases so that load from elsewhere on the machine falls on all of them alike; quote the
    // median.
    constexpr int rounds = 5;
    double fps[rowCount][rounds];
    for (int round = 0; round < rounds; ++round)
        for (int r = 0; r < rowCount; ++r) fps[r][round] = measure(rows[r].c, rows[r].quick, duration);
    std::printf("%-32s %8s %8s %8s\n", "frames per second, N = 10", "median", "lowest", "highest");
    for (int r = 0; r < rowCount; ++r) {
        std::sort(fps[r], fps[r] + rounds);
        std::printf("%-32s %8.1f %8.1f %8.1f\n", rows[r].name, fps[r][rounds / 2], fps[r][0], fps[r][rounds - 1]);
    }
    cube3d::resetProgram(1);
    breakdown(false);
    breakdown(true);
    cube3d::shutDown();
    return 0;
}
