#include "tetragir/controls.h"

#include "play/turn_clock.h"
#include "scene/vec.h"
#include "tetragir/puzzle.h"
#include "tetragir/state.h"

namespace tetragir {
namespace {

// A drag turns a layer each time the pointer crosses from one sticker onto a neighbour the drag rule accepts;
// any other crossing, or leaving the model, only moves the drag on.
void handleDrag() {
    if (!play::held(state.pointer, play::buttonLeft)) return;
    if (state.pressedSticker != -1 && state.pressedSticker != state.hoveredSticker) {
        Move move = moveFromDrag(state.pressedSticker, state.hoveredSticker);
        if (move.count != 0) {
            state.animMove = move;
            play::startTurnAnimation(state.clock);
        }
    }
    state.pressedSticker = state.hoveredSticker;
}

}  // namespace

void turnView(const play::ViewTurn& turn) {
    ViewFrame& view = state.view;
    scene::rotatePair(view.z, view.x, turn.across);
    scene::rotatePair(view.z, view.y, turn.upDown);
    if (turn.spins) scene::rotatePair(view.x, view.y, turn.spin);
}

// The frame that applies a turn has already shown the layer a full third on, so the change is seamless.
void advanceTurn() {
    play::trackPress(state.pressedSticker, state.pointer, state.hoveredSticker);
    if (!play::turnAnimating(state.clock)) {
        handleDrag();
    } else if (play::turnAnimationDue(state.clock)) {
        turn(state.colours, state.animMove.layer, state.animMove.count);
        play::endTurnAnimation(state.clock);
    }
}

void rightDragViewTurn() {
    if (!play::held(state.pointer, play::buttonRight)) return;
    turnView(play::dragViewTurn(state.pointer, state.lastX, state.lastY));
}

}  // namespace tetragir
