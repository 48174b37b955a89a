// Frames per second of pentagir's frame loop, idle and during a turn, against an empty frame as this machine's
// ceiling, all in one run; also with every sticker drawn, and one primitive at a time, to show what leaving out the
// hidden stickers and batching gain. Needs a display:
//   scripts/with-xvfb.sh build/bin/pentagir_frame_rate [seconds per case]
#include <cmath>
#include <iterator>

#include "bench/support/frame_rate_runner.h"
#include "pentagir/program.h"
#include "pentagir/state.h"

namespace {

enum Kind : int32_t { Empty, Idle, TurningFront, TurningEach };
enum Drawing : int32_t { Quick, EverySticker, OneAtATime };

// Sets up this frame's turn: the front layer all the while, or every layer in turn, each for a tenth of its turn
// from a different point of it, so that layers in front, at the side and behind and the whole sweep of a turn
// all count.
void chooseTurn(int32_t kind, int64_t frame) {
    pentagir::ProgramState& state = pentagir::state;
    if (kind == Idle) state.clock.animStart = -1.0;
    if (kind == TurningFront && state.clock.animStart < 0.0) {
        state.animRow = 0;  // its layer is face 6's, the face towards the eye at the start view
        state.animK = 4;
        state.clock.animStart = state.clock.frameClock;
    }
    if (kind == TurningEach && (frame % 250 == 0 || state.clock.animStart < 0.0)) {
        static int32_t next = 0;
        state.animRow = next % pentagir::faceCount;
        state.animK = next % 2 ? 1 : 4;
        state.clock.animStart = state.clock.frameClock - 0.3 * (next % 3) * state.clock.animDuration;
        ++next;
    }
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
    const play::TurnClock& clock = pentagir::state.clock;
    const auto turnFrames = static_cast<int32_t>(std::lround(clock.animDuration / clock.clockStep));
    bench::printFrameRates(cases, std::size(cases), bench::secondsPerCase(argc, argv), turnFrames,
                           [](int32_t kind, int32_t drawing, int64_t frame) {
                               pentagir::state.batchedDrawing = drawing != OneAtATime;
                               pentagir::state.everySticker = drawing == EverySticker;
                               chooseTurn(kind, frame);
                               pentagir::runFrame();
                           });
    pentagir::shutDown();
    return 0;
}
