#include "tetragir/program.h"

#include <cstdio>

#include "tetragir/draw.h"
#include "tetragir/picking.h"
#include "tetragir/state.h"
#include "window/window.h"

namespace tetragir {
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
    seedRandom(seed);
    state.view = identityView;
    resetColours(state.colours);
    state.lastX = lastX;
    state.lastY = lastY;
    state.frameClock = 0.0;
    state.clockStep = 0.001;
    state.animStart = -1.0;
    state.animDuration = 2.5;
    state.animMove = -1;
    state.animCount = 0;
    state.dragSticker = -1;
    state.pickedSticker = -1;
    state.prevMouseX = state.prevMouseY = state.prevButtons = 0;
    setupCamera(state.camera, lastX, lastY);
}

void stepFrame(const FrameInput& in) {
    state.frameClock += state.clockStep;
    // Neither key looks at a running turn: it still lands, at its end, on whatever colours stand there then.
    if (in.scramble) scrambleStep(state.colours);
    if (in.reset) resetColours(state.colours);  // after the scramble, so A and S together show the solved puzzle
    keyboardViewTurn(in);
    drawFrame();
    state.pickedSticker = pickSticker(state.camera, state.view, in.mouseX, in.mouseY);
    advanceTurn(in);
    rightDragViewTurn(in);
    present_frame(presentSwap);
    state.prevMouseX = in.mouseX;
    state.prevMouseY = in.mouseY;
    state.prevButtons = in.buttons;
}

bool startUp() {
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, windowTitle);
    if (graph_status() == grOk) set_gl_drawing(true);
    if (graph_status() != grOk) {
        // Without a window or its OpenGL the loop could neither be seen nor ended.
        std::fprintf(stderr, "tetragir: %s\n", window_error()[0] != '\0' ? window_error() : "no OpenGL drawing");
        close_window();
        return false;
    }
    set_frame_rate(framesPerSecond);
    initLoop(window_last_x(), window_last_y(), tick_count());
    setupView(state.camera);
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

}  // namespace tetragir
