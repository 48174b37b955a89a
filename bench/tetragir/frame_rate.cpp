// Frames per second of tetragir's frame loop, idle and during a turn, batched and one primitive at a time, against
// an empty frame as this machine's ceiling, all in one run. Needs a display:
//   scripts/with-xvfb.sh build/bin/tetragir_frame_rate [seconds per case]
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "tetragir/program.h"
#include "tetragir/state.h"

namespace {

enum Kind : int32_t { Empty, Idle, TurningTip, TurningEach };
enum Drawing : int32_t { Batched, OneAtATime };

// Sets up this frame's turn: one tip with its middle layer all the while (12 of the 36 stickers turn), or every
// move in turn, each for a tenth of its turn (250 frames), so that layers in front and behind all count; placeTurn
// sweeps each turn.
void chooseTurn(int32_t kind, int64_t frame) {
    tetragir::ProgramState& state = tetragir::state;
    if (kind == Idle) {
        state.clock.animStart = -1.0;
        return;
    }
    if (kind == TurningTip) {
        state.animMove = 4;
        state.animCount = 1;
    }
    if (kind == TurningEach) {
        const int64_t move = frame / 250;
        state.animMove = static_cast<int32_t>(move % tetragir::moveCount);
        state.animCount = move / tetragir::moveCount % 2 ? 1 : 2;
    }
    bench::placeTurn(state.clock, frame);
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
    // A turn placed a whole turn back must still start at a clock of 0 or more, which marks it running.
    tetragir::state.clock.frameClock = 3.0;
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv),
                           bench::turnFrames(tetragir::state.clock), [](int32_t kind, int32_t drawing, int64_t frame) {
                               tetragir::state.batchedDrawing = drawing == Batched;
                               chooseTurn(kind, frame);
                               tetragir::runFrame();
                           });
    tetragir::shutDown();
    return 0;
}
