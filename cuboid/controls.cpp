#include "cuboid/controls.h"

#include <cstring>

#include "cuboid/state.h"
#include "cuboid/view.h"
#include "window/window.h"

namespace cuboid {
namespace {

void nextGridSize() {
    cubie::growGrid(state.puzzle);
    rebuild();
}

void shrinkAxis(int32_t axis) {
    cubie::shrinkAxis(state.puzzle, axis);
    rebuild();
}

void save() {
    showBusyMark(colourRed);
    // A failed save leaves the previous file as it was; the player can simply save again.
    cubie::saveState(state.puzzle);
}

void load() {
    showBusyMark(colourGreen);
    state.puzzle.loadRequested = true;
    rebuild();
}

}  // namespace

FrameInput readInput() {
    FrameInput in;
    in.mouseX = mouse_x();
    in.mouseY = mouse_y();
    in.buttons = mouse_buttons();
    in.key = take_key();
    return in;
}

void dragGesture() {
    cubie::turnByDrag(state.puzzle, state.dragStartCubie, state.dragStartFace, state.pickedCubie, state.pickedFace,
                      state.buttons, state.previousButtons);
}

void viewDrag() {
    if (state.buttons != rightButtonAlone) return;
    state.viewAngle[0] += state.mouseX - state.previousX;
    state.viewAngle[1] += state.mouseY - state.previousY;
}

bool actOnKey(uint8_t key) {
    switch (key) {
        case keyScramble: state.puzzle.scrambleLeft = scrambleTurns; break;
        case keyDice:
            if (variant.hasDiceMode) state.diceMode = !state.diceMode;
            break;
        case keySave: save(); break;
        case keyLoad: load(); break;
        case keySize: nextGridSize(); break;
        case keyShapeX: shrinkAxis(0); break;
        case keyShapeY: shrinkAxis(1); break;
        case keyShapeZ: shrinkAxis(2); break;
        case keyEscape: close_window(); return false;
        default: break;
    }
    return true;
}

bool rebuild() {
    if (!cubie::buildPuzzle(state.puzzle)) return false;
    resetView();
    // The old puzzle's projected points mean nothing for the new one.
    std::memset(state.screenVertex, 0, sizeof state.screenVertex);
    return true;
}

}  // namespace cuboid
