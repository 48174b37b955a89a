// Frames per second of tetragir's frame loop, idle and during a turn, against an empty frame as this machine's
// ceiling, all in one run; also with every sticker drawn, and one primitive at a time, to show what leaving out the
// hidden faces and batching gain. Needs a display:
//   scripts/with-xvfb.sh build/bin/tetragir_frame_rate [seconds per case]
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "tetragir/program.h"
#include "tetragir/state.h"

namespace {

enum Kind : int32_t { Empty, Idle, TurningTip, TurningEach };
using enum scene::DrawingMode;

// Sets up this frame's turn: one tip with its middle layer all the while (12 of the 36 stickers turn), or every
// move in turn, each for a tenth of its turn (250 frames), so that layers in front and behind all count; placeTurn
// sweeps each turn.
void chooseTurn(int32_t kind, int64_t frame) {
    tetragir::ProgramState& state = tetragir::state;
    if (kind == Idle) {
        state.clock.animStart = -1.0;
        return;
    }
    if (kind == TurningTip) state.animMove = {4, 1};
    if (kind == TurningEach) {
        const int64_t turn = frame / 250;
        state.animMove = {static_cast<int32_t>(turn % tetragir::layerCount), turn / tetragir::layerCount % 2 ? 1 : 2};
    }
    bench::placeTurn(state.clock, frame);
}

constexpr bench::FrameCase cases[] = {
    {"empty frame (clear, present)", Empty, batched},
    {"idle", Idle, batched},
    {"idle, every sticker", Idle, batchedWhole},
    {"turning, a tip and its middle", TurningTip, batched},
    {"turning, each move in turn", TurningEach, batched},
    {"idle, one primitive at a time", Idle, oneAtATime},
    {"turning, one primitive at a time", TurningTip, oneAtATime},
};

}  // namespace

int main(int argc, char** argv) {
    if (!tetragir::startUp()) return 1;
    // A turn placed a whole turn back must still start at a clock of 0 or more, which marks it running.
    tetragir::state.clock.frameClock = 3.0;
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv),
                           bench::turnFrames(tetragir::state.clock),
                           [](int32_t kind, scene::DrawingMode drawing, int64_t frame) {
                               tetragir::state.drawingMode = drawing;
                               chooseTurn(kind, frame);
                               tetragir::runFrame();
                           });
    tetragir::shutDown();
    return 0;
}
