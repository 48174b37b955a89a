#include "cubesolve/controls.h"

#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "play/view_turn.h"
#include "window/window.h"

namespace cubesolve {

int32_t wrapDegrees(int64_t angle) { return static_cast<int32_t>(((angle % 360) + 360) % 360); }

void dragGesture() {
    cubie::turnByDrag(state.puzzle, state.dragStartCubie, state.dragStartFace, state.pickedCubie, state.pickedFace,
                      state.pointer.buttons, state.pointer.previousButtons);
}

// The angles come in 0 to 359 and the pointer moves at most across the window, so the sum cannot overflow.
void viewDrag() {
    if (!play::dragDegrees(state.pointer, state.viewAngle[0], state.viewAngle[1])) return;
    state.viewAngle[0] = wrapDegrees(state.viewAngle[0]);
    state.viewAngle[1] = wrapDegrees(state.viewAngle[1]);
}

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (key == keyPattern) playPattern();
    if (key == keySolve && state.puzzle.gridSize == 3) solveCube();
    // The size key sets the next size (2 after 5); resizeCube builds it with the start view.
    if (cubie::applyKeyAction(state.puzzle, cubie::keyAction(keyLetters, key), "cubesolve"))
        resizeCube(state.puzzle.gridSize);
    return true;
}

void resizeCube(int32_t n) {
    state.cellScale = startCellScale;
    for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = startViewAngle[a];
    buildCube(state.puzzle, n);
    for (CellPoint& p : state.screenVertex) p = CellPoint{};
}

}  // namespace cubesolve
