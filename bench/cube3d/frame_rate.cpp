// Frames per second of cube3d's frame loop at N = 10, unpaced, in one run: the whole puzzle idle while the left
// button picks, and a layer turning, each drawn batched and one primitive at a time, beside the empty frame (clear
// and present only, the ceiling the window and GL set). Then where one frame's time goes.
//   scripts/with-xvfb.sh build/bin/cube3d_frame_rate [seconds per case]
#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "cube3d/draw.h"
#include "cube3d/picking.h"
#include "cube3d/program.h"
#include "cube3d/state.h"
#include "window/window.h"

namespace {

using Clock = std::chrono::steady_clock;

enum Kind : int32_t { Empty, IdlePicking, Turning };
using enum scene::DrawingMode;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// One frame of the case: the pointer rests on the middle of the window with the left button held while idle, so
// every frame casts the pick ray; while turning, a new turn of the middle layer starts whenever one ends.
void frame(int32_t kind, scene::DrawingMode drawing, int64_t) {
    using namespace cube3d;
    state.drawingMode = drawing;
    if (kind == Turning && !state.puzzle.turning) cubie::startTurn(state.puzzle, 1, 5, 1);
    FrameInput in;
    in.mouseX = 320;
    in.mouseY = 240;
    in.buttons = kind == IdlePicking ? play::leftButtonAlone : 0;
    playFrame(in);
}

// Before an idle round, untimed: a turn left running by the last turning round is played to its end, so that the
// idle frames turn nothing.
void setUp(int32_t kind) {
    if (kind == IdlePicking)
        while (cube3d::state.puzzle.turning) cubie::stepTurn(cube3d::state.puzzle);
}

constexpr bench::FrameCase cases[] = {
    {"empty frame (clear, present)", Empty, batched},          {"idle, picking, batched", IdlePicking, batched},
    {"idle, picking, one at a time", IdlePicking, oneAtATime}, {"turning, batched", Turning, batched},
    {"turning, one at a time", Turning, oneAtATime},
};

// Mean time of each part of an idle picking frame, in milliseconds: camera, pick and colours on the CPU; the
// drawing until GL has finished it; the present.
void breakdown(scene::DrawingMode mode) {
    using namespace cube3d;
    state.drawingMode = mode;
    constexpr int frames = 200;
    double cpu = 0, draw = 0, present = 0;
    for (int i = 0; i < frames; ++i) {
        Clock::time_point t0 = Clock::now();
        composeCamera();
        pickFacets(true, 320, 240);
        resolveColours();
        Clock::time_point t1 = Clock::now();
        drawPuzzle(mode);
        glFinish();
        Clock::time_point t2 = Clock::now();
        present_frame(presentSwap);
        Clock::time_point t3 = Clock::now();
        cpu += seconds(t1 - t0);
        draw += seconds(t2 - t1);
        present += seconds(t3 - t2);
    }
    std::printf("%-13s pick and colours %6.2f ms, drawing %6.2f ms (%d quads), present %6.2f ms\n",
                mode == batched ? "batched" : "one at a time", 1000 * cpu / frames, 1000 * draw / frames,
                mode == batched ? batchedQuadCount() : cube3d::Model::recordCount, 1000 * present / frames);
}

}  // namespace

int main(int argc, char** argv) {
    if (!cube3d::startUp()) return 1;
    set_frame_rate(0);
    // A quarter turn steps its layer so many degrees a frame.
    const int32_t turnFrames = 90 / cube3d::state.puzzle.stepSize;
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv), turnFrames, frame, setUp);
    cube3d::resetProgram(1);
    breakdown(oneAtATime);
    breakdown(batched);
    cube3d::shutDown();
    return 0;
}
