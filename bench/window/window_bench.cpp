// Costs of the layer's hot paths: filling a typical polygon on a page, and showing a page (palette conversion and
// present). The second needs a display: run it as  scripts/with-xvfb.sh build/bin/window_bench
#include <benchmark/benchmark.h>

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

// Showing a finished page: select_shown_page converts the 640 x 480 page through the palette into the window.
void BM_ShowPage(benchmark::State& state) {
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, "BENCH");
    if (graph_status() != 0) {
        state.SkipWithError(window_error());
        return;
    }
    set_frame_rate(0);
    set_fill(fillSolid, 14);
    fill_rect(100, 100, 400, 300);
    for (auto _ : state) select_shown_page(0);
    close_window();
}
BENCHMARK(BM_ShowPage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
