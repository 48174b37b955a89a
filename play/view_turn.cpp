#include "play/view_turn.h"

namespace play {

ViewTurn keyViewTurn(const FrameInput& input, double clockStep) {
    int32_t h = 0, v = 0, r = 0;
    if (input.right) h = 1;
    if (input.left) h = -1;  // Left wins when both are held, as do Down and Z
    if (input.up) v = 1;
    if (input.down) v = -1;
    if (input.spinX) r = 1;
    if (input.spinZ) r = -1;
    return {viewKeyStep * clockStep * h, viewKeyStep * clockStep * v, viewKeyStep * clockStep * r, true};
}

ViewTurn dragViewTurn(const Pointer& pointer, int32_t lastX, int32_t lastY) {
    return {-viewDragTurn * (pointer.mouseX - pointer.previousX) / lastX,
            -viewDragTurn * (pointer.mouseY - pointer.previousY) / lastY, 0.0, false};
}

bool dragDegrees(const Pointer& pointer, int32_t& across, int32_t& upDown) {
    if (pointer.buttons != rightButtonAlone) return false;
    across += pointer.mouseX - pointer.previousX;
    upDown += pointer.mouseY - pointer.previousY;
    return true;
}

}  // namespace play
