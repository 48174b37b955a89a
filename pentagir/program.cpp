#include "pentagir/program.h"

#include "pentagir/draw.h"
#include "pentagir/geometry.h"
#include "pentagir/picking.h"
#include "pentagir/state.h"
#include "play/program_window.h"
#include "play/random.h"
#include "window/window.h"

namespace pentagir {

void resetProgram(uint32_t seed) {
    play::seedRandom(state.randomState, seed);
    // The rules measure the pointer from the bottom-right corner and start it at 0 there, so a right-button drag in
    // the first frame turns the view as if the pointer came from that corner.
    state.pointer = {.mouseX = state.lastX, .mouseY = state.lastY, .previousX = state.lastX, .previousY = state.lastY};
    resetView();
    buildGeometry();
    resetColours();
    state.pressedSticker = -1;
    state.hoveredSticker = -1;
    state.clock = {.clockStep = 0.001, .animDuration = 2.5};
    state.animRow = -1;
    state.animK = 0;
    setupCamera(state.lastX, state.lastY);
}

void playFrame(const FrameInput& input) {
    play::takeMouse(state.pointer, input);
    play::tickClock(state.clock);
    if (input.scramble) scrambleStep();
    if (input.reset) resetColours();  // after the scramble, so A and S together show the solved puzzle
    turnView(play::keyViewTurn(input, state.clock.clockStep));
    drawFrame();
    pickSticker();
    advanceTurn();
    rightDragViewTurn();
    present_frame(presentSwap);
    play::rememberMouse(state.pointer);
}

bool startUp() {
    if (!play::openProgramWindow("pentagir", windowTitle, framesPerSecond, play::Drawing::openGl)) return false;
    state.lastX = window_last_x();
    state.lastY = window_last_y();
    resetProgram(tick_count());
    setupProjection();
    return true;
}

bool runFrame() {
    playFrame(play::readHeldKeys());
    return !key_held(keyEscape);
}

void shutDown() { play::closeProgramWindow(play::Drawing::openGl); }

}  // namespace pentagir
