#include "controls.h"

#include "state.h"
#include "window.h"

namespace cube3d {
namespace {

// The size key: one cubie more per edge, from the largest grid back to 2, and a cube again.
void nextGridSize() {
    Model& m = state.puzzle;
    m.gridSize = m.gridSize >= Model::maxGrid ? 2 : m.gridSize + 1;
    for (int32_t& d : m.dims) d = m.gridSize;
    rebuild();
}

// The shape keys: one layer fewer along an axis, from 1 back to the full grid.
void shrinkAxis(int32_t axis) {
    Model& m = state.puzzle;
    m.dims[axis] = m.dims[axis] - 1 < 1 ? m.gridSize : m.dims[axis] - 1;
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
    const cubie::DragTurn turn = cubie::followDrag(state.dragStartCubie, state.dragStartFace, state.pickedCubie,
                                                   state.pickedFace, state.buttons, state.previousButtons,
                                                   state.puzzle.gridSize);
    if (turn.valid) cubie::startTurn(state.puzzle, turn.axis, turn.layer, turn.sense);
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
