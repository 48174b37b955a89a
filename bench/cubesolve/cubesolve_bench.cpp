// Cost of one cubesolve frame at N = 5 and N = 3 (projection, the depth sort, the fill), of the sort beside the
// plain exchange sort it replaces, and of one whole solve as the probe runs it (no drawing, no pacing). After the
// table, the frame beside the empty frame (clear and show) of the same run.
//
// The fill draws into a real page: the bench opens its window through SDL's offscreen stand-in unless the run
// chose a video driver itself. The "window" counter says whether a page was there to draw on.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <utility>

#include "bench/support/empty_frame_ratio.h"
#include "cubesolve/controls.h"
#include "cubesolve/draw.h"
#include "cubesolve/model.h"
#include "cubesolve/moves.h"
#include "cubesolve/program.h"
#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "window/window.h"

using namespace cubesolve;

namespace {

bool windowOpen = false;

void setUp(int32_t n) {
    static bool done = false;
    if (!done) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        set_frame_rate(0);
        int16_t driver = driverPalette, mode = size640x480;
        open_window(driver, mode, "cubesolve bench");
        windowOpen = window_last_x() > 0;
        present_frame(presentDirectOff);
        select_draw_page(1);
        done = true;
    }
    state.probe.headless = true;
    resetProgram(7);
    resizeCube(n);
    runMoves("FRUBLDfrubld");
    projectVertices();
    sortFacets();
}

void report(benchmark::State& s) { s.counters["window"] = windowOpen ? 1 : 0; }

// The end of each shown frame: the finished page goes on show and the other one becomes the drawing page.
void flipPages() {
    static int16_t drawPage = 1;
    select_draw_page(drawPage);
    drawPage = static_cast<int16_t>(1 - drawPage);
    select_shown_page(drawPage);
}

// The frame with no picture: the ceiling of every page program's frame rate on this machine.
void emptyFrame(benchmark::State& s) {
    setUp(3);
    for (auto _ : s) {
        clear_page();
        flipPages();
    }
    report(s);
}

// A whole picture, shown; the view moves a degree a frame, as during a view drag, so the sort has work to do.
void frame(benchmark::State& s) {
    setUp(int32_t(s.range(0)));
    int32_t angle = 45;
    for (auto _ : s) {
        state.viewAngle[0] = wrapDegrees(++angle);
        clear_page();
        projectVertices();
        sortFacets();
        drawFacets();
        flipPages();
    }
    report(s);
}

void projection(benchmark::State& s) {
    setUp(int32_t(s.range(0)));
    for (auto _ : s) {
        projectVertices();
        benchmark::DoNotOptimize(state.screenVertex);
    }
}

void depthSort(benchmark::State& s) {
    setUp(int32_t(s.range(0)));
    int32_t angle = 45;
    for (auto _ : s) {
        state.viewAngle[0] = wrapDegrees(++angle);
        projectVertices();
        sortFacets();
        benchmark::DoNotOptimize(state.puzzle.facets);
    }
}

// The exchange sort compared element by element, for the ratio against sortFacets.
void plainExchangeSort(benchmark::State& s) {
    setUp(int32_t(s.range(0)));
    int32_t angle = 45;
    Facet* records = state.puzzle.facets;
    auto sum = [](const Facet& f) {
        return state.screenVertex[f.vertex[0]].depth + state.screenVertex[f.vertex[1]].depth +
               state.screenVertex[f.vertex[2]].depth;
    };
    for (auto _ : s) {
        state.viewAngle[0] = wrapDegrees(++angle);
        projectVertices();
        for (int32_t a = 0; a < Model::recordCount - 1; ++a)
            for (int32_t b = a + 1; b < Model::recordCount; ++b)
                if (sum(records[a]) > sum(records[b])) std::swap(records[a], records[b]);
        benchmark::DoNotOptimize(records);
    }
}

void fill(benchmark::State& s) {
    setUp(int32_t(s.range(0)));
    for (auto _ : s) {
        clear_page();
        drawFacets();
    }
    report(s);
}

// One solve of a fixed scramble, with no window drawing and no pacing, as the probe runs it.
void solve(benchmark::State& s) {
    setUp(3);
    const char* scramble = "FRUBLDKJIfrubldkjiRUFLDBrufldbJKI";
    int64_t letters = 0;
    for (auto _ : s) {
        s.PauseTiming();
        resizeCube(3);
        runMoves(scramble);
        state.probe.lettersPlayed = 0;
        s.ResumeTiming();
        solveCube();
        letters = state.probe.lettersPlayed;
    }
    s.counters["letters"] = double(letters);
}

}  // namespace

BENCHMARK(emptyFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(frame)->Arg(5)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(projection)->Arg(5)->Unit(benchmark::kMicrosecond);
BENCHMARK(depthSort)->Arg(5)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(plainExchangeSort)->Arg(5)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(fill)->Arg(5)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(solve)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return bench::runWithEmptyFrameRatios(argc, argv, "emptyFrame", {"frame"}); }
