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
enum Drawing : int32_t { Quick, EverySticker, OneAtATime };

// Sets up this frame's turn: the front layer all the while, or every layer in turn, each for a tenth of its turn
// (250 frames), so that layers in front, at the side and behind all count; placeTurn sweeps each turn.
void chooseTurn(int32_t kind, int64_t frame) {
    pentagir::ProgramState& state = pentagir::state;
    if (kind == Idle) {
        state.clock.animStart = -1.0;
        return;
    }
    if (kind == TurningFront) {
        state.animRow = 0;  // its layer is face 6's, the face towards the eye at the start view
        state.animK = 4;
    }
    if (kind == TurningEach) {
        const int64_t layer = frame / 250;
        state.animRow = static_cast<int32_t>(layer % pentagir::faceCount);
        state.animK = layer / pentagir::faceCount % 2 ? 1 : 4;
    }
    bench::placeTurn(state.clock, frame);
}

constexpr bench::FrameCase cases[] = {
    {"empty frame (clear, present)", Empty, Quick},      {"idle", Idle, Quick},
    {"turning, front layer", TurningFront, Quick},       {"turning, each layer in turn", TurningEach, Quick},
    {"idle, every sticker", Idle, EverySticker},         {"turning, every sticker", TurningFront, EverySticker},
    {"idle, one primitive at a time", Idle, OneAtATime}, {"turning, one primitive at a time", TurningFront, OneAtATime},
};

}  // namespace

int main(int argc, char** argv) {
    if (!pentagir::startUp()) return 1;
    // A turn placed a whole turn back must still start at a clock of 0 or more, which marks it running.
    pentagir::state.clock.frameClock = 3.0;
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv),
                           bench::turnFrames(pentagir::state.clock), [](int32_t kind, int32_t drawing, int64_t frame) {
                               pentagir::state.batchedDrawing = drawing != OneAtATime;
                               pentagir::state.everySticker = drawing == EverySticker;
                               chooseTurn(kind, frame);
                               pentagir::runFrame();
                           });
    pentagir::shutDown();
    return 0;
}
