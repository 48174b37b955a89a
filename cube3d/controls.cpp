#include "cube3d/controls.h"

#include "cube3d/state.h"
#include "window/window.h"

namespace cube3d {

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

void orbit() {
    if (state.buttons != rightButtonAlone) return;
    state.cameraYaw += state.mouseX - state.previousX;
    state.cameraPitch += state.mouseY - state.previousY;
}

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (cubie::applyKeyAction(state.puzzle, cubie::keyAction(keyLetters, key))) rebuild();
    return true;
}

bool rebuild() {
    if (!cubie::buildPuzzle(state.puzzle)) return false;
    state.cameraYaw = startAngle;
    state.cameraPitch = startAngle;
    return true;
}

}  // namespace cube3d
