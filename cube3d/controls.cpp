#include "cube3d/controls.h"

#include "cube3d/state.h"
#include "window/window.h"

namespace cube3d {
namespace {

void nextGridSize() {
    cubie::growGrid(state.puzzle);
    rebuild();
}

void shrinkAxis(int32_t axis) {
    cubie::shrinkAxis(state.puzzle, axis);
    rebuild();
}

void load() {
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

void orbit() {
    if (state.buttons != rightButtonAlone) return;
    state.cameraYaw += state.mouseX - state.previousX;
    state.cameraPitch += state.mouseY - state.previousY;
}

bool actOnKey(uint8_t key) {
    switch (key) {
        case scrambleKey: state.puzzle.scrambleLeft = scrambleTurns; break;
        // A failed save leaves the previous file as it was; the player can simply save again.
        case saveKey: cubie::saveState(state.puzzle); break;
        case loadKey: load(); break;
        case sizeKey: nextGridSize(); break;
        case shapeXKey: shrinkAxis(0); break;
        case shapeYKey: shrinkAxis(1); break;
        case shapeZKey: shrinkAxis(2); break;
        case escapeKey: return false;
        default: break;
    }
    return true;
}

bool rebuild() {
    if (!cubie::buildPuzzle(state.puzzle)) return false;
    state.cameraYaw = startAngle;
    state.cameraPitch = startAngle;
    return true;
}

}  // namespace cube3d
