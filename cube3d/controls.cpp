#include "cube3d/controls.h"

#include "cube3d/state.h"
#include "play/view_turn.h"
#include "window/window.h"

namespace cube3d {

void dragGesture() {
    cubie::turnByDrag(state.puzzle, state.dragStartCubie, state.dragStartFace, state.pickedCubie, state.pickedFace,
                      state.pointer.buttons, state.pointer.previousButtons);
}

void orbit() { play::dragDegrees(state.pointer, state.cameraYaw, state.cameraPitch); }

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (cubie::applyKeyAction(state.puzzle, cubie::keyAction(keyLetters, key), "cube3d") && !rebuild())
        cubie::reportRefusedLoad(state.puzzle, "cube3d");
    return true;
}

bool rebuild() {
    if (!cubie::buildPuzzle(state.puzzle)) return false;
    state.cameraYaw = startAngle;
    state.cameraPitch = startAngle;
    return true;
}

}  // namespace cube3d
