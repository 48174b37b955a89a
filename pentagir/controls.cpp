#include "pentagir/controls.h"

#include "pentagir/puzzle.h"
#include "pentagir/state.h"
#include "play/turn_clock.h"
#include "scene/vec.h"

namespace pentagir {
namespace {

// Moving from the anchor onto a ring neighbour starts that turn; the drag goes on from wherever the pointer is.
void handleDrag() {
    if (!play::held(state.pointer, play::buttonLeft)) return;
    if (state.pressedSticker >= 0 && state.pressedSticker != state.hoveredSticker) {
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

// The frame that applies a turn has already shown the layer a full fifth on, so the change is seamless.
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

}  // namespace pentagir
