#include "cuboid/controls.h"

#include <cstring>

#include "cuboid/draw.h"
#include "cuboid/state.h"
#include "play/view_turn.h"
#include "window/window.h"

namespace cuboid {

void dragGesture() {
    cubie::turnByDrag(state.puzzle, state.dragStartCubie, state.dragStartFace, state.pickedCubie, state.pickedFace,
                      state.pointer.buttons, state.pointer.previousButtons);
}

void viewDrag() { play::dragDegrees(state.pointer, state.viewAngle[0], state.viewAngle[1]); }

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (key == keyDice && variant.hasDiceMode) state.diceMode = !state.diceMode;
    const cubie::KeyAction action = cubie::keyAction(keyLetters, key);
    // The mark is on show while the file is written or read.
    if (action == cubie::KeyAction::save) showBusyMark(colourRed);
    if (action == cubie::KeyAction::load) showBusyMark(colourGreen);
    if (cubie::applyKeyAction(state.puzzle, action, variant.name) && !rebuild())
        cubie::reportRefusedLoad(state.puzzle, variant.name);
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
