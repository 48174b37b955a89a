#include "tetragir/program.h"

#include "play/program_window.h"
#include "play/random.h"
#include "play/session.h"
#include "tetragir/draw.h"
#include "tetragir/picking.h"
#include "tetragir/state.h"
#include "window/window.h"

namespace tetragir {

void resetProgram(uint32_t seed) {
    play::seedRandom(state.randomState, seed);
    state.view = identityView;
    resetColours(state.colours);
    state.clock = {.clockStep = 0.001, .animDuration = 2.5};
    state.animMove = {-1, 0};
    state.pressedSticker = -1;
    state.hoveredSticker = -1;
    state.pointer = {};
    setupCamera(state.camera, state.lastX, state.lastY);
}

void playFrame(const FrameInput& input) {
    play::takeMouse(state.pointer, input);
    play::tickClock(state.clock);
    // Neither key looks at a running turn: it still lands, at its end, on whatever colours stand there then.
    if (input.scramble) scrambleStep(state.colours, state.randomState);
    if (input.reset) resetColours(state.colours);  // after the scramble, so A and S together show the solved puzzle
    turnView(play::keyViewTurn(input, state.clock.clockStep));
    drawFrame();
    state.hoveredSticker = pickSticker(state.camera, state.view, state.pointer.mouseX, state.pointer.mouseY);
    advanceTurn();
    rightDragViewTurn();
    present_frame(presentSwap);
    play::rememberMouse(state.pointer);
}

bool startUp() {
    if (!play::openProgramWindow("tetragir", windowTitle, framesPerSecond, play::Drawing::openGl)) return false;
    state.lastX = window_last_x();
    state.lastY = window_last_y();
    resetProgram(tick_count());
    scene::applyCamera(state.camera);
    return true;
}

bool runFrame() {
    playFrame(play::readHeldKeys());
    return !key_held(keyEscape);
}

void shutDown() { play::closeProgramWindow(play::Drawing::openGl); }

uint64_t stateDigest() {
    play::Digest digest;
    for (const int32_t colour : state.colours) digest.add(colour);
    for (const scene::Vec3& axis : {state.view.x, state.view.y, state.view.z}) {
        digest.add(axis.x);
        digest.add(axis.y);
        digest.add(axis.z);
    }
    digest.add(state.clock.frameClock);
    digest.add(state.clock.animStart);
    digest.add(state.animMove.layer);
    digest.add(state.animMove.count);
    digest.add(state.randomState);
    return digest.value;
}

}  // namespace tetragir
