#include "tetragir/controls.h"

#include "tetragir/puzzle.h"
#include "scene/vec.h"
#include "tetragir/state.h"

namespace tetragir {

namespace {

constexpr double viewStep = 2.0;  // times clockStep: 0.002 radian a frame while an arrow, X or Z is held
constexpr double dragTurn = 8.0;  // radians for a right-button drag across the whole drawing area

// A press starts a drag on the sticker under the pointer and a release ends it, in every frame: a turn running
// when the button goes down or up must not leave the sticker of an earlier drag for the frame after it.
void trackPress(int32_t buttons) {
    if (!(buttons & 1))
        state.dragSticker = -1;
    else if (!(state.prevButtons & 1))
        state.dragSticker = state.pickedSticker;
}

// A drag turns a layer each time the pointer crosses from one sticker onto a neighbour the drag rule accepts;
// any other crossing, or leaving the model, only moves the drag on.
void followDrag(int32_t buttons) {
    if (!(buttons & 1)) return;
    if (state.dragSticker != -1 && state.dragSticker != state.pickedSticker) {
        Move m = moveFromDrag(state.dragSticker, state.pickedSticker);
        if (m.count != 0) {
            state.animMove = m.move;
            state.animCount = m.count;
            state.animStart = state.frameClock;
        }
    }
    state.dragSticker = state.pickedSticker;
}

}  // namespace

void keyboardViewTurn(const FrameInput& in) {
    int32_t h = 0, v = 0, r = 0;
    if (in.right) h = 1;
    if (in.left) h = -1;  // Left wins when both are held, as do Down and Z
    if (in.up) v = 1;
    if (in.down) v = -1;
    if (in.spinX) r = 1;
    if (in.spinZ) r = -1;
    ViewFrame& f = state.view;
    scene::rotatePair(f.e2, f.e0, viewStep * state.clockStep * h);
    scene::rotatePair(f.e2, f.e1, viewStep * state.clockStep * v);
    scene::rotatePair(f.e0, f.e1, viewStep * state.clockStep * r);
}

// The frame that applies a turn has already shown the layer a full third on, so the change is seamless.
void advanceTurn(const FrameInput& in) {
    trackPress(in.buttons);
    if (state.animStart < 0.0) {
        followDrag(in.buttons);
    } else if (state.frameClock >= state.animStart + state.animDuration) {
        turn(state.colours, state.animMove, state.animCount);
        state.animStart = -1.0;
    }
}

void rightDragViewTurn(const FrameInput& in) {
    if (!(in.buttons & 2)) return;
    scene::rotatePair(state.view.e2, state.view.e0, -dragTurn * (in.mouseX - state.prevMouseX) / state.lastX);
    scene::rotatePair(state.view.e2, state.view.e1, -dragTurn * (in.mouseY - state.prevMouseY) / state.lastY);
}

}  // namespace tetragir
