// Frames per second of tetragir's frame loop, idle and during a turn, batched and one primitive at a time, against
// an empty frame (clear and present only) as this machine's ceiling, all in one run. Needs a display:
//   scripts/with-xvfb.sh build/bin/tetragir_frame_rate [seconds per case]
// A turn lasts 2500 frames, so its duration on screen is 2500 / (frames per second).
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tetragir/program.h"
#include "tetragir/state.h"
#include "window/window.h"

namespace {

using Clock = std::chrono::steady_clock;

enum class Kind { Empty, Idle, TurningTip, TurningEach };

void emptyFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    present_frame(presentSwap);
}

// Sets up this frame's turn: one tip with its middle layer all the while (12 of the 36 stickers turn), or every
// move in turn, each for a tenth of its turn from a different point of it, so that layers in front and behind and
// the whole sweep of a turn all count.
void chooseTurn(Kind kind, int64_t frame) {
    tetragir::ProgramState& state = tetragir::state;
    if (kind == Kind::Idle) state.clock.animStart = -1.0;
    if (kind == Kind::TurningTip && state.clock.animStart < 0.0) {
        state.animMove = 4;
        state.animCount = 1;
        state.clock.animStart = state.clock.frameClock;
    }
    if (kind == Kind::TurningEach && (frame % 250 == 0 || state.clock.animStart < 0.0)) {
        static int32_t next = 0;
        state.animMove = next % tetragir::moveCount;
        state.animCount = next % 2 ? 1 : 2;
        state.clock.animStart = state.clock.frameClock - 0.3 * (next % 3) * state.clock.animDuration;
        ++next;
    }
}

double measure(Kind kind, bool batched, double seconds) {
    tetragir::state.batchedDrawing = batched;
    static int64_t frames = 0;  // counts on across calls, so that the turns keep moving through the moves
    int64_t first = frames;
    Clock::time_point start = Clock::now(), now = start;
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (now < end) {
        if (kind == Kind::Empty) {
            emptyFrame();
        } else {
            chooseTurn(kind, frames);
            tetragir::runFrame();
        }
        ++frames;
        now = Clock::now();
    }
    return (frames - first) / std::chrono::duration<double>(now - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    if (seconds <= 0.0) seconds = 2.0;
    if (!tetragir::startUp()) return 1;
    measure(Kind::Idle, true, 0.5);  // warm up the driver
    struct Case {
        const char* name;
        Kind kind;
        bool batched;
    };
    const Case cases[] = {
        {"empty frame (clear, present)", Kind::Empty, true},
        {"idle", Kind::Idle, true},
        {"turning, a tip and its middle", Kind::TurningTip, true},
        {"turning, each move in turn", Kind::TurningEach, true},
        {"idle, one primitive at a time", Kind::Idle, false},
        {"turning, one primitive at a time", Kind::TurningTip, false},
    };
    constexpr int caseCount = sizeof cases / sizeof cases[0];
    // Short rounds take turns case by case, so that load from elsewhere on the machine falls on all cases alike;
    // the median of the rounds is the figure to quote, and the ratios to the empty frame are the ones to compare.
    constexpr double roundSeconds = 0.1;
    const int rounds = std::max(5, static_cast<int>(seconds / roundSeconds));
    std::vector<double> fps[caseCount];
    for (int round = 0; round < rounds; ++round)
        for (int c = 0; c < caseCount; ++c)
            fps[c].push_back(measure(cases[c].kind, cases[c].batched, seconds / rounds));
    std::printf("%-34s %8s %8s %8s %9s %15s\n", "frame loop", "median", "lowest", "highest", "of empty",
                "turn lasts (s)");
    for (int c = 0; c < caseCount; ++c) {
        // The ratio to the empty frame of the same round, whose load was much the same.
        std::vector<double> ratio;
        for (int round = 0; round < rounds; ++round) ratio.push_back(fps[c][round] / fps[0][round]);
        std::sort(ratio.begin(), ratio.end());
        std::vector<double> sorted = fps[c];
        std::sort(sorted.begin(), sorted.end());
        double median = sorted[rounds / 2];
        std::printf("%-34s %8.1f %8.1f %8.1f %9.2f %15.2f\n", cases[c].name, median, sorted.front(), sorted.back(),
                    ratio[rounds / 2], 2500.0 / median);
    }
    tetragir::shutDown();
    return 0;
}
