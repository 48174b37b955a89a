// Cost of one frame of a cuboid program on the full 6-cube: projection, the depth sort, painting, and the whole
// frame (turn step included), against the 16.7 ms a frame may take at 60 frames a second. After the table, the
// frames as the program shows them (idle, and while a scramble turns layers) beside the empty frame of the same run.
//
// Painting draws into a real page: the bench opens its window through SDL's offscreen stand-in unless the run chose
// a video driver itself (under X, say). The "window" counter says whether a page was there to draw on; without
// one the layer's drawing calls are no-ops and the paint figure is the facet loop alone.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/empty_frame_ratio.h"
#include "cuboid/controls.h"
#include "cuboid/draw.h"
#include "cuboid/program.h"
#include "cuboid/state.h"
#include "window/window.h"

using namespace cuboid;

namespace {

bool windowOpen = false;

void setUp() {
    static bool done = false;
    if (!done) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        set_frame_rate(0);
        int16_t driver = driverPalette, mode = size640x480;
        open_window(driver, mode, "cuboid bench");
        windowOpen = window_last_x() > 0;
        // As in the programs, paint a hidden page: the shown one is copied to the window only when shown.
        select_draw_page(1);
        done = true;
    }
    resetProgram(7);
    projectVertices();
    sortFacets();
}

void report(benchmark::State& s) { s.counters["window"] = windowOpen ? 1 : 0; }

// What the program does at the start of each frame: show the page painted last frame, clear the other one.
void flipAndClear() {
    static int16_t drawPage = 1;
    select_draw_page(drawPage);
    drawPage = static_cast<int16_t>(1 - drawPage);
    select_shown_page(drawPage);
    clear_page();
}

// The frame with no picture: the ceiling of every page program's frame rate on this machine.
void emptyFrame(benchmark::State& s) {
    setUp();
    for (auto _ : s) flipAndClear();
    report(s);
}

void projection(benchmark::State& s) {
    setUp();
    for (auto _ : s) {
        projectVertices();
        benchmark::DoNotOptimize(state.screenVertex);
    }
    report(s);
}

// The array is sorted from the last frame; the view moves a degree per frame as during a view drag.
void depthSort(benchmark::State& s) {
    setUp();
    int32_t angle = 45;
    for (auto _ : s) {
        state.viewAngle[0] = ++angle;
        projectVertices();
        sortFacets();
        benchmark::DoNotOptimize(state.puzzle.facets);
    }
    report(s);
}

void paint(benchmark::State& s) {
    setUp();
    for (auto _ : s) {
        clear_page();
        drawFacets();
        benchmark::DoNotOptimize(state.pickedCubie);
    }
    report(s);
}

// A whole frame while layers turn one after another (the scramble), page flip left out. No pick runs while a
// layer turns, whatever the buttons.
void wholeFrame(benchmark::State& s) {
    setUp();
    FrameInput input{.mouseX = 320, .mouseY = 240, .key = keyLetters.scramble};
    playFrame(input);
    input.key = 0;
    for (auto _ : s) {
        if (state.puzzle.scrambleLeft == 0) state.puzzle.scrambleLeft = cubie::scrambleTurns;
        clear_page();
        benchmark::DoNotOptimize(playFrame(input));
    }
    report(s);
}

// Frames as the program shows them, page flip included: still, with the left button held over the puzzle so that
// the pick runs, and while the scramble turns layers.
void idleFrame(benchmark::State& s) {
    setUp();
    const FrameInput input{320, 240, 1, 0};
    for (auto _ : s) {
        flipAndClear();
        benchmark::DoNotOptimize(playFrame(input));
    }
    report(s);
}

void turningFrame(benchmark::State& s) {
    setUp();
    FrameInput input{320, 240, 0, keyLetters.scramble};
    playFrame(input);
    input.key = 0;
    for (auto _ : s) {
        if (state.puzzle.scrambleLeft == 0) state.puzzle.scrambleLeft = cubie::scrambleTurns;
        flipAndClear();
        benchmark::DoNotOptimize(playFrame(input));
    }
    report(s);
}

}  // namespace

BENCHMARK(emptyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(projection)->Unit(benchmark::kMicrosecond);
BENCHMARK(depthSort)->Unit(benchmark::kMicrosecond);
BENCHMARK(paint)->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(idleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(turningFrame)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return bench::runWithEmptyFrameRatios(argc, argv, "emptyFrame", {"idleFrame", "turningFrame"});
}
