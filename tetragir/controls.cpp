#include "tetragir/controls.h"

#include "play/turn_clock.h"
#include "scene/vec.h"
#include "tetragir/puzzle.h"
#include "tetragir/state.h"

namespace tetragir {

namespace {

// A drag turns a layer each time the pointer crosses from one sticker onto a neighbour the drag rule accepts;
// any other crossing, or leaving the model, only moves the drag on.
void followDrag() {
    if (!play::held(state.pointer, play::buttonLeft)) return;
    if (state.pressedSticker != -1 && state.pressedSticker != state.hoveredSticker) {
        Move m = moveFromDrag(state.pressedSticker, state.hoveredSticker);
        if (m.count != 0) {
            state.animMove = m.move;
            state.animCount = m.count;
            play::startTurnAnimation(state.clock);
        }
    }
    state.pressedSticker = state.hoveredSticker;
}

}  // namespace

void turnView(const play::ViewTurn& turn) {
    ViewFrame& f = state.view;
    scene::rotatePair(f.e2, f.e0, turn.across);
    scene::rotatePair(f.e2, f.e1, turn.upDown);
    if (turn.spins) scene::rotatePair(f.e0, f.e1, turn.spin);
}

// The frame that applies a turn has already shown the layer a full third on, so the change is seamless.
void advanceTurn() {
    play::trackPress(state.pressedSticker, state.pointer, state.hoveredSticker);
    if (!play::turnAnimating(state.clock)) {
        followDrag();
    } else if (play::turnAnimationDue(state.clock)) {
        turn(state.colours, state.animMove, state.animCount);
        play::endTurnAnimation(state.clock);
    }
}

void rightDragViewTurn() {
    if (!play::held(state.pointer, play::buttonRight)) return;
    turnView(play::dragViewTurn(state.pointer, state.lastX, state.lastY));
}

}  // namespace tetragir
