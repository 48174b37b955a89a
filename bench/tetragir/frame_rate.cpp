// Frames per second of tetragir's frame loop, idle and during a turn, batched and one primitive at a time, against
// an empty frame as this machine's ceiling, all in one run. Needs a display:
//   scripts/with-xvfb.sh build/bin/tetragir_frame_rate [seconds per case]
#include <cmath>
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "tetragir/program.h"
#include "tetragir/state.h"

namespace {

enum Kind : int32_t { Empty, Idle, TurningTip, TurningEach };
enum Drawing : int32_t { Batched, OneAtATime };

// Sets up this frame's turn: one tip with its middle layer all the while (12 of the 36 stickers turn), or every
// move in turn, each for a tenth of its turn from a different point of it, so that layers in front and behind and
// the whole sweep of a turn all count.
void chooseTurn(int32_t kind, int64_t frame) {
    tetragir::ProgramState& state = tetragir::state;
    if (kind == Idle) state.clock.animStart = -1.0;
    if (kind == TurningTip && state.clock.animStart < 0.0) {
        state.animMove = 4;
        state.animCount = 1;
        state.clock.animStart = state.clock.frameClock;
    }
    if (kind == TurningEach && (frame % 250 == 0 || state.clock.animStart < 0.0)) {
        static int32_t next = 0;
        state.animMove = next % tetragir::moveCount;
        state.animCount = next % 2 ? 1 : 2;
        state.clock.animStart = state.clock.frameClock - 0.3 * (next % 3) * state.clock.animDuration;
        ++next;
    }
}

constexpr bench::FrameCase cases[] = {
    {"empty frame (clear, present)", Empty, Batched},
    {"idle", Idle, Batched},
    {"turning, a tip and its middle", TurningTip, Batched},
    {"turning, each move in turn", TurningEach, Batched},
    {"idle, one primitive at a time", Idle, OneAtATime},
    {"turning, one primitive at a time", TurningTip, OneAtATime},
};

}  // namespace

int main(int argc, char** argv) {
    if (!tetragir::startUp()) return 1;
    const play::TurnClock& clock = tetragir::state.clock;
    const auto turnFrames = static_cast<int32_t>(std::lround(clock.animDuration / clock.clockStep));
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv), turnFrames,
                           [](int32_t kind, int32_t drawing, int64_t frame) {
                               tetragir::state.batchedDrawing = drawing == Batched;
                               chooseTurn(kind, frame);
                               tetragir::runFrame();
                           });
    tetragir::shutDown();
    return 0;
}
