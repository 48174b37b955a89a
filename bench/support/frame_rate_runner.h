// The runner of the OpenGL programs' frame-rate benchmarks: drives a program's frame loop unpaced, case by case,
// and prints beside the frames per second of each case the ratio to an empty frame (clear and present only, this
// machine's ceiling) measured in the same run, and how long a turn of so many frames then lasts on screen. Needs a
// display:
//   scripts/with-xvfb.sh build/bin/<program>_frame_rate [seconds per case]
#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "play/turn_clock.h"
#include "scene/polygon_batch.h"
#include "window/window.h"

namespace bench {

// One line of the table: `kind` means what the program's frame function makes of it, except that kind 0 is always
// the empty frame, and `drawing` is how the program draws the case's frames.
struct FrameCase {
    const char* name;
    int32_t kind;
    scene::DrawingMode drawing;
};

// How many frames a turn of the clock lasts.
inline int32_t turnFrames(const play::TurnClock& clock) {
    return static_cast<int32_t>(std::lround(clock.animDuration / clock.clockStep));
}

// For programs that count a turn in frames of their clock: puts frame `frame` of the run `frame mod turnFrames(clock)`
// frames into a turn. The frame count goes on across rounds and cases, so the rounds cover the whole sweep of a
// turn, and an idle round in between cannot send the turn back to its start. The clock must stand at least a
// turn's length above 0, as a turn that starts below 0 counts as none.
inline void placeTurn(play::TurnClock& clock, int64_t frame) {
    // The frame ticks the clock once before it draws.
    const double framesIn = static_cast<double>(frame % turnFrames(clock)) - 1.0;
    clock.animStart = clock.frameClock - framesIn * clock.clockStep;
}

inline double secondsPerCase(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    return seconds > 0.0 ? seconds : 2.0;
}

inline void nothingToSetUp(int32_t) {}

// Frames per second of one case over about `seconds`, after setUp(kind), untimed, has put the program in the case's
// state. The frame count goes on across calls, so that a program that
// picks its turn by frame number keeps moving through its layers from round to round.
template <class Frame, class SetUp>
double measureCase(const FrameCase& c, double seconds, Frame& frame, SetUp& setUp) {
    using Clock = std::chrono::steady_clock;
    setUp(c.kind);
    static int64_t frames = 0;
    int64_t first = frames;
    Clock::time_point start = Clock::now(), now = start;
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (now < end) {
        if (c.kind == 0) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glFlush();
            present_frame(presentSwap);
        } else {
            frame(c.kind, c.drawing, frames);
        }
        ++frames;
        now = Clock::now();
    }
    return (frames - first) / std::chrono::duration<double>(now - start).count();
}

// Runs the cases (the first being the empty frame) in short rounds that take turns, so that load from elsewhere on
// the machine falls on all cases alike, and prints the table: the median of the rounds is the figure to quote, and
// the ratio, taken to the empty frame of the same round, the one to compare.
template <class Frame, class SetUp = void (*)(int32_t)>
void printFrameRates(const FrameCase* cases, int32_t caseCount, double seconds, int32_t turnFrames, Frame frame,
                     SetUp setUp = nothingToSetUp) {
    measureCase(cases[1], 0.5, frame, setUp);  // warm up the driver
    constexpr double roundSeconds = 0.1;
    const int32_t rounds = std::max(5, static_cast<int32_t>(seconds / roundSeconds));
    std::vector<std::vector<double>> fps(caseCount);
    for (int32_t round = 0; round < rounds; ++round)
        for (int32_t c = 0; c < caseCount; ++c) fps[c].push_back(measureCase(cases[c], seconds / rounds, frame, setUp));
    std::printf("%-34s %8s %8s %8s %9s %15s\n", "frame loop", "median", "lowest", "highest", "of empty",
                "turn lasts (s)");
    for (int32_t c = 0; c < caseCount; ++c) {
        std::vector<double> ratio;
        for (int32_t round = 0; round < rounds; ++round) ratio.push_back(fps[c][round] / fps[0][round]);
        std::sort(ratio.begin(), ratio.end());
        std::vector<double> sorted = fps[c];
        std::sort(sorted.begin(), sorted.end());
        double median = sorted[rounds / 2];
        std::printf("%-34s %8.1f %8.1f %8.1f %9.2f %15.2f\n", cases[c].name, median, sorted.front(), sorted.back(),
                    ratio[rounds / 2], turnFrames / median);
    }
}

}  // namespace bench
