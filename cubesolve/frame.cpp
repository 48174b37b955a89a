#include "cubesolve/frame.h"

#include "cubesolve/raster.h"
#include "cubesolve/state.h"
#include "window/window.h"

namespace cubesolve {
namespace {

// Draw on one page while the other is shown. The very first frame is drawn and never shown.
void flipPages() {
    select_draw_page(state.drawPage);
    state.drawPage = static_cast<int16_t>(1 - state.drawPage);
    select_shown_page(state.drawPage);
}

void oneFrame(int32_t step) {
    Model& m = state.puzzle;
    ++state.framesRun;
    if (state.showFrames) {
        clear_page();
        readMouse();
    }
    if (m.scrambleLeft > 0 && !m.turning) {
        m.turnStep = step;  // a random turn goes the way the caller's step says
        cubie::startRandomTurn(m);
    }
    if (m.turning) cubie::stepTurn(m);
    if (!state.showFrames) return;
    projectVertices();
    sortFacets();
    drawFacets();
    dragGesture();
    viewDrag();
    state.previousX = state.mouseX;
    state.previousY = state.mouseY;
    state.previousButtons = state.buttons;
    flipPages();
}

}  // namespace

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

void playFrames(int32_t axis, int32_t layer, int32_t step, bool startTurn) {
    Model& m = state.puzzle;
    if (startTurn) {
        m.turnAxis = axis;
        m.turnLayer = layer;
        m.turnStep = step;
        m.turnAngle = 0;
        m.turning = true;
    }
    do oneFrame(step);
    while (m.turning);
}

}  // namespace cubesolve
