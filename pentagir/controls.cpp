#include "pentagir/controls.h"

#include "pentagir/geometry.h"
#include "pentagir/state.h"
#include "play/turn_clock.h"

namespace pentagir {
namespace {

// Moving from the anchor onto a ring neighbour starts that turn; the drag goes on from wherever the pointer is.
void handleDrag() {
    if (!play::held(state.pointer, play::buttonLeft)) return;
    if (state.pressedSticker >= 0 && state.pressedSticker != state.hoveredSticker) {
        Move move = moveFromDrag(state.pressedSticker, state.hoveredSticker);
        state.animK = move.k;
        if (move.k != 0) {
            state.animRow = move.row;
            play::startTurnAnimation(state.clock);
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

void turnView(const play::ViewTurn& turn) {
    rotatePair(state.viewZ, state.viewX, turn.across);
    rotatePair(state.viewZ, state.viewY, turn.upDown);
    if (turn.spins) rotatePair(state.viewX, state.viewY, turn.spin);
}

void advanceTurn() {
    play::trackPress(state.pressedSticker, state.pointer, state.hoveredSticker);
    if (!play::turnAnimating(state.clock)) {
        handleDrag();
    } else if (play::turnAnimationDue(state.clock)) {
        turn(state.animRow, state.animK);
        play::endTurnAnimation(state.clock);
    }
}

void rightDragViewTurn() {
    if (!play::held(state.pointer, play::buttonRight)) return;
    turnView(play::dragViewTurn(state.pointer, state.lastX, state.lastY));
}

}  // namespace pentagir
