// Frames per second of pentagir's runFrame(), idle and during a turn animation, drawing one primitive at a time
// and batched, in one run. Needs a display:   scripts/with-xvfb.sh build/bin/pentagir_frame_rate [seconds per case]
//
// The turn animation lasts 2500 frames, so its duration on screen is 2500 / (frames per second).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "pentagir/program.h"
#include "pentagir/state.h"

namespace {

using Clock = std::chrono::steady_clock;

// Frames per second over the given time; with turning, a turn animation of row 0 runs all the while.
double measure(bool batched, bool turning, double seconds) {
    pentagir::ProgramState& state = pentagir::state;
    state.batchedDrawing = batched;
    int64_t frames = 0;
    Clock::time_point start = Clock::now(), now = start;
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (now < end) {
        if (turning && state.clock.animStart < 0.0) {
            state.animRow = 0;
            state.animK = 4;
            state.clock.animStart = state.clock.frameClock;
        }
        if (!turning) state.clock.animStart = -1.0;
        pentagir::runFrame();
        ++frames;
        now = Clock::now();
    }
    return frames / std::chrono::duration<double>(now - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (seconds <= 0.0) seconds = 2.0;
    if (!pentagir::startUp()) return 1;
    measure(true, false, 0.5);  // warm up the driver's shader cache
    struct Case {
        const char* name;
        bool batched, turning;
    };
    const Case cases[] = {
        {"idle, one primitive at a time", false, false},
        {"idle, batched", true, false},
        {"turning, one primitive at a time", false, true},
        {"turning, batched", true, true},
    };
    // Rounds alternate the cases so that load from elsewhere on the machine falls on all of them alike; the
    // median of the rounds is the figure to quote.
    constexpr int rounds = 5;
    double fps[4][rounds];
    for (int round = 0; round < rounds; ++round)
        for (int c = 0; c < 4; ++c) fps[c][round] = measure(cases[c].batched, cases[c].turning, seconds);
    std::printf("%-34s %8s %8s %8s %15s\n", "frame loop", "median", "lowest", "highest", "turn lasts (s)");
    for (int c = 0; c < 4; ++c) {
        std::sort(fps[c], fps[c] + rounds);
        double median = fps[c][rounds / 2];
        std::printf("%-34s %8.1f %8.1f %8.1f %15.2f\n", cases[c].name, median, fps[c][0], fps[c][rounds - 1],
                    2500.0 / median);
    }
    pentagir::shutDown();
    return 0;
}
