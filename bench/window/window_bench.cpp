// Costs of the layer's hot paths: filling a typical polygon on a page, showing a page (palette conversion and
// present), and whole frames of nothing: the empty frame that every program's frame rate is measured against, and
// the same frame with the input a program reads. The window cases need a display:
//   scripts/with-xvfb.sh build/bin/window_bench
// "frames/s" is the rate of the frame each case draws; the cost of a frame's input is the time of the frame with
// input less that of the empty frame beside it.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "window/pages.h"
#include "window/window.h"

namespace {

// A sticker-sized quadrilateral, as the cuboid programs draw a thousand of a frame.
void BM_FillStickerQuad(benchmark::State& state) {
    win::Page page;
    win::pageResize(page, 640, 480);
    const win::Fill fill{1, 14, 0};
    const PointType quad[4] = {{300, 200}, {338, 206}, {334, 241}, {297, 236}};
    for (auto _ : state) {
        win::pageFillPolygon(page, fill, 0, 4, quad);
        benchmark::DoNotOptimize(page.pixels.data());
    }
}
BENCHMARK(BM_FillStickerQuad);

// A face-sized polygon, a large share of the window.
void BM_FillLargePolygon(benchmark::State& state) {
    win::Page page;
    win::pageResize(page, 640, 480);
    const win::Fill fill{1, 14, 0};
    const PointType hexagon[6] = {{320, 40}, {520, 140}, {520, 340}, {320, 440}, {120, 340}, {120, 140}};
    for (auto _ : state) {
        win::pageFillPolygon(page, fill, 0, 6, hexagon);
        benchmark::DoNotOptimize(page.pixels.data());
    }
}
BENCHMARK(BM_FillLargePolygon);

void BM_ClearPage(benchmark::State& state) {
    win::Page page;
    win::pageResize(page, 640, 480);
    for (auto _ : state) {
        win::pageClear(page, 0);
        benchmark::DoNotOptimize(page.pixels.data());
    }
}
BENCHMARK(BM_ClearPage);

// Opens the programs' 640 x 480 window, unpaced; false (and the case skipped) without a display.
bool openBenchWindow(benchmark::State& state, bool gl) {
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, "BENCH");
    if (graph_status() != grOk && !(graph_status() == grNoOpenGL && !gl)) {
        state.SkipWithError(window_error());
        close_window();
        return false;
    }
    set_frame_rate(0);
    if (gl) set_gl_drawing(true);
    return true;
}

void countFrames(benchmark::State& state) {
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The input a frame of the held-key programs reads, with the one key of the programs that take keys: 13 queries.
void readFrameInput() {
    benchmark::DoNotOptimize(mouse_x());
    benchmark::DoNotOptimize(mouse_y());
    benchmark::DoNotOptimize(mouse_buttons());
    constexpr int32_t held[] = {keyLetter('A'), keyLetter('S'), keyRight,       keyLeft,  keyUp,
                                keyDown,        keyLetter('X'), keyLetter('Z'), keyEscape};
    for (int32_t key : held) benchmark::DoNotOptimize(key_held(key));
    benchmark::DoNotOptimize(take_key());
}

// Showing a finished page: select_shown_page converts the 640 x 480 page through the palette into the window.
void BM_ShowPage(benchmark::State& state) {
    if (!openBenchWindow(state, false)) return;
    set_fill(fillSolid, 14);
    fill_rect(100, 100, 400, 300);
    for (auto _ : state) select_shown_page(0);
    close_window();
}
BENCHMARK(BM_ShowPage)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The empty frame of the page programs: clear the hidden page, then show it.
void BM_EmptyPageFrame(benchmark::State& state) {
    if (!openBenchWindow(state, false)) return;
    int16_t drawPage = 1;
    for (auto _ : state) {
        select_draw_page(drawPage);
        clear_page();
        select_shown_page(drawPage);
        drawPage = static_cast<int16_t>(1 - drawPage);
    }
    countFrames(state);
    close_window();
}
BENCHMARK(BM_EmptyPageFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The empty frame of the OpenGL programs (clear and present): the ceiling their frame rates are measured against.
void BM_EmptyGlFrame(benchmark::State& state) {
    if (!openBenchWindow(state, true)) return;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFlush();
        present_frame(presentSwap);
    }
    countFrames(state);
    close_window();
}
BENCHMARK(BM_EmptyGlFrame)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The empty OpenGL frame with a frame's 13 input queries.
void BM_GlFrameWithInput(benchmark::State& state) {
    if (!openBenchWindow(state, true)) return;
    for (auto _ : state) {
        readFrameInput();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFlush();
        present_frame(presentSwap);
    }
    countFrames(state);
    close_window();
}
BENCHMARK(BM_GlFrameWithInput)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A frame's 13 input queries alone: the time from the first query to the last, each frame ending with a present
// of the OpenGL window (not counted) as a program's frames do.
void BM_FrameInput(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    if (!openBenchWindow(state, true)) return;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        readFrameInput();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        present_frame(presentSwap);
    }
    close_window();
}
BENCHMARK(BM_FrameInput)->Unit(benchmark::kMicrosecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
