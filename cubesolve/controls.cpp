#include "cubesolve/controls.h"

#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "window/window.h"

namespace cubesolve {

int32_t wrapDegrees(int64_t angle) { return static_cast<int32_t>(((angle % 360) + 360) % 360); }

void readMouse() {
    const int32_t scale = state.cellScale > 0 ? state.cellScale : 1;
    state.mouseX = mouse_x() / scale;
    state.mouseY = mouse_y() / scale;
    state.buttons = mouse_buttons();
}

void dragGesture() {
    cubie::turnByDrag(state.puzzle, state.dragStartCubie, state.dragStartFace, state.pickedCubie, state.pickedFace,
                      state.buttons, state.previousButtons);
}

void viewDrag() {
    if (state.buttons != rightButtonAlone) return;
    state.viewAngle[0] = wrapDegrees(int64_t{state.viewAngle[0]} + state.mouseX - state.previousX);
    state.viewAngle[1] = wrapDegrees(int64_t{state.viewAngle[1]} + state.mouseY - state.previousY);
}

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (key == keyPattern) playPattern();
    if (key == keySolve && state.puzzle.gridSize == 3) solveCube();
    // The size key sets the next size (2 after 5); resizeCube builds it with the start view.
    if (cubie::applyKeyAction(state.puzzle, cubie::keyAction(keyLetters, key))) resizeCube(state.puzzle.gridSize);
    return true;
}

void resizeCube(int32_t n) {
    state.cellScale = startCellScale;
    for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = startViewAngle[a];
    buildCube(state.puzzle, n);
    for (CellPoint& p : state.screenVertex) p = CellPoint{};
}

}  // namespace cubesolve
