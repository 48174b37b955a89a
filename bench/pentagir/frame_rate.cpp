// Frames per second of pentagir's frame loop, idle and during a turn, against an empty frame as this machine's
// ceiling, all in one run; also with every sticker drawn, and one primitive at a time, to show what leaving out the
// hidden stickers and batching gain. Needs a display:
//   scripts/with-xvfb.sh build/bin/pentagir_frame_rate [seconds per case]
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "pentagir/program.h"
#include "pentagir/state.h"

namespace {

enum Kind : int32_t { Empty, Idle, TurningFront, TurningEach };
using enum scene::DrawingMode;

// Sets up this frame's turn: the front layer all the while, or every layer in turn, each for a tenth of its turn
// (250 frames), so that layers in front, at the side and behind all count; placeTurn sweeps each turn.
void chooseTurn(int32_t kind, int64_t frame) {
    pentagir::ProgramState& state = pentagir::state;
    if (kind == Idle) {
        state.clock.animStart = -1.0;
        return;
    }
    if (kind == TurningFront) state.animMove = {0, 4};  // its layer is face 6's, towards the eye at the start view
    if (kind == TurningEach) {
        const int64_t turn = frame / 250;
        state.animMove = {static_cast<int32_t>(turn % pentagir::layerCount), turn / pentagir::layerCount % 2 ? 1 : 4};
    }
    bench::placeTurn(state.clock, frame);
}

constexpr bench::FrameCase cases[] = {
    {"empty frame (clear, present)", Empty, batched},    {"idle", Idle, batched},
    {"turning, front layer", TurningFront, batched},     {"turning, each layer in turn", TurningEach, batched},
    {"idle, every sticker", Idle, batchedWhole},         {"turning, every sticker", TurningFront, batchedWhole},
    {"idle, one primitive at a time", Idle, oneAtATime}, {"turning, one primitive at a time", TurningFront, oneAtATime},
};

}  // namespace

int main(int argc, char** argv) {
    if (!pentagir::startUp()) return 1;
    // A turn placed a whole turn back must still start at a clock of 0 or more, which marks it running.
    pentagir::state.clock.frameClock = 3.0;
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv),
                           bench::turnFrames(pentagir::state.clock),
                           [](int32_t kind, scene::DrawingMode drawing, int64_t frame) {
                               pentagir::state.drawingMode = drawing;
                               chooseTurn(kind, frame);
                               pentagir::runFrame();
                           });
    pentagir::shutDown();
    return 0;
}
