// Frames per second of pentagir's runFrame(), idle and during a turn animation, drawing one primitive at a time
// and batched, in one run. Needs a display:   scripts/with-xvfb.sh build/bin/pentagir_frame_rate [seconds per case]
//
// The turn animation lasts 2500 frames, so its duration on screen is 2500 / (frames per second).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "controls.h"
#include "geometry.h"

namespace {

using Clock = std::chrono::steady_clock;

// Frames per second over the given time; with turning, a turn animation of row 0 runs all the while.
double measure(bool batched, bool turning, double seconds) {
    pentagir::batchedDrawing = batched;
    int64_t frames = 0;
    Clock::time_point start = Clock::now(), now = start;
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (now < end) {
        if (turning && pentagir::animStart < 0.0) {
            pentagir::animRow = 0;
            pentagir::animK = 4;
            pentagir::animStart = pentagir::clock;
        }
        if (!turning) pentagir::animStart = -1.0;
        pentagir::runFrame();
        ++frames;
        now = Clock::now();
    }
    return frames / std::chrono::duration<double>(now - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    if (seconds <= 0.0) seconds = 3.0;
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
    // Rounds alternate the cases so that load from elsewhere on the machine falls on all of them alike.
    std::printf("%-5s %-36s %10s %16s\n", "round", "frame loop", "frames/s", "turn lasts (s)");
    for (int round = 1; round <= 3; ++round)
        for (const Case& c : cases) {
            double fps = measure(c.batched, c.turning, seconds);
            std::printf("%-5d %-36s %10.1f %16.2f\n", round, c.name, fps, 2500.0 / fps);
        }
    pentagir::shutDown();
    return 0;
}
