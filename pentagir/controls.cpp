#include "pentagir/controls.h"

#include "pentagir/geometry.h"
#include "pentagir/state.h"

namespace pentagir {
namespace {

constexpr double viewStep = 2.0;  // times clockStep: 0.002 rad a frame while an arrow, X or Z is held
constexpr double dragTurn = 8.0;  // radians for a right-button drag across the whole window

// A press anchors the drag on the sticker under the pointer and a release ends it, in every frame: a turn running
// when the button goes down or up must not leave the anchor of an earlier drag for the frame after it.
void trackPress() {
    if (!(state.buttons & 1))
        state.pressedSticker = -1;
    else if (!(state.prevButtons & 1))
        state.pressedSticker = state.hoveredSticker;
}

// Moving from the anchor onto a ring neighbour starts that turn; the drag goes on from wherever the pointer is.
void handleDrag() {
    if (!(state.buttons & 1)) return;
    if (state.pressedSticker >= 0 && state.pressedSticker != state.hoveredSticker) {
        Move move = moveFromDrag(state.pressedSticker, state.hoveredSticker);
        state.animK = move.k;
        if (move.k != 0) {
            state.animRow = move.row;
            state.animStart = state.frameClock;
        }
    }
    state.pressedSticker = state.hoveredSticker;
}

}  // namespace

Move moveFromDrag(int32_t pressed, int32_t hovered) {
    for (int32_t row = 0; row < faceCount; ++row) {
        for (int32_t q = 0; q < ringLength; ++q) {
            int32_t a = ringSticker(row, q), b = ringSticker(row, (q + ringLength - 1) % ringLength);
            if (pressed == a && hovered == b) return {row, 1};
            if (pressed == b && hovered == a) return {row, 4};
        }
    }
    return {0, 0};
}

void keyboardViewTurn(const FrameInput& in) {
    int32_t h = 0, v = 0, w = 0;
    if (in.right) h = 1;
    if (in.left) h = -1;
    if (in.up) v = 1;
    if (in.down) v = -1;
    if (in.spinX) w = 1;
    if (in.spinZ) w = -1;
    double step = viewStep * state.clockStep;
    rotatePair(state.viewZ, state.viewX, step * h);
    rotatePair(state.viewZ, state.viewY, step * v);
    rotatePair(state.viewX, state.viewY, step * w);
}

void advanceTurn() {
    trackPress();
    if (state.animStart < 0.0) {
        handleDrag();
    } else if (state.frameClock >= state.animStart + state.animDuration) {
        turn(state.animRow, state.animK);
        state.animStart = -1.0;
    }
}

void rightDragViewTurn() {
    if (!(state.buttons & 2)) return;
    rotatePair(state.viewZ, state.viewX, dragTurn * (state.pointerX - state.prevPointerX) / state.areaLastX);
    rotatePair(state.viewZ, state.viewY, dragTurn * (state.pointerY - state.prevPointerY) / state.areaLastY);
}

}  // namespace pentagir
