#include "pentagir/program.h"

#include <cstdio>

#include "pentagir/draw.h"
#include "pentagir/geometry.h"
#include "pentagir/picking.h"
#include "pentagir/state.h"
#include "window/window.h"

namespace pentagir {
namespace {

FrameInput readInput() {
    FrameInput in{};
    in.mouseX = mouse_x();
    in.mouseY = mouse_y();
    in.buttons = mouse_buttons();
    in.scramble = key_held(keyLetter('A'));
    in.reset = key_held(keyLetter('S'));
    in.right = key_held(keyRight);
    in.left = key_held(keyLeft);
    in.up = key_held(keyUp);
    in.down = key_held(keyDown);
    in.spinX = key_held(keyLetter('X'));
    in.spinZ = key_held(keyLetter('Z'));
    return in;
}

}  // namespace

void initLoop(int32_t lastX, int32_t lastY, uint32_t seed) {
    state.areaLastX = lastX;
    state.areaLastY = lastY;
    seedRandom(seed);
    state.pointerX = state.pointerY = state.prevPointerX = state.prevPointerY = 0;
    state.buttons = state.prevButtons = 0;
    resetView();
    buildGeometry();
    resetColours();
    state.pressedSticker = -1;
    state.hoveredSticker = -1;
    state.frameClock = 0.0;
    state.clockStep = 0.001;
    state.animRow = -1;
    state.animK = 0;
    state.animStart = -1.0;
    state.animDuration = 2.5;
    setupCamera(lastX, lastY);
}

void stepFrame(const FrameInput& in) {
    state.pointerX = state.areaLastX - in.mouseX;
    state.pointerY = state.areaLastY - in.mouseY;
    state.buttons = in.buttons;
    state.frameClock += state.clockStep;
    if (in.scramble) scrambleStep();
    if (in.reset) resetColours();  // after the scramble, so A and S together show the solved puzzle
    keyboardViewTurn(in);
    drawFrame();
    pickSticker();
    advanceTurn();
    rightDragViewTurn();
    present_frame(presentSwap);
    state.prevPointerX = state.pointerX;
    state.prevPointerY = state.pointerY;
    state.prevButtons = state.buttons;
}

bool startUp() {
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, windowTitle);
    if (graph_status() != grOk) {
        std::fprintf(stderr, "pentagir: %s\n", window_error());
        close_window();  // a window without OpenGL stays open otherwise
        return false;
    }
    set_gl_drawing(true);
    set_frame_rate(framesPerSecond);
    initLoop(window_last_x(), window_last_y(), tick_count());
    setupProjection();
    return true;
}

bool runFrame() {
    stepFrame(readInput());
    return !key_held(keyEscape);
}

void shutDown() {
    set_gl_drawing(false);
    close_window();
}

}  // namespace pentagir
