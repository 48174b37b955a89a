// Cost of one frame of a cuboid program on the full 6-cube: projection, the exchange depth sort, painting, and the
// whole frame (turn step included), against the 16.7 ms a frame may take at 60 frames a second.
//
// Painting draws into a real page when a window can be opened: under X (DISPLAY set) or, without one, through
// SDL's offscreen stand-in when the run sets SDL_VIDEODRIVER=offscreen. Without a window the layer's drawing calls
// are no-ops and the paint figure is the facet loop alone; the "window" counter says which was measured.
#include <benchmark/benchmark.h>

#include "cuboid/controls.h"
#include "cuboid/program.h"
#include "cuboid/state.h"
#include "cuboid/view.h"
#include "window/window.h"

using namespace cuboid;

namespace {

bool windowOpen = false;

void setUp() {
    static bool done = false;
    if (!done) {
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

// A whole frame while layers turn one after another (the scramble), with the left button held over the
// puzzle so that the pick runs too.
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

}  // namespace

BENCHMARK(projection)->Unit(benchmark::kMicrosecond);
BENCHMARK(depthSort)->Unit(benchmark::kMicrosecond);
BENCHMARK(paint)->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeFrame)->Unit(benchmark::kMicrosecond);
