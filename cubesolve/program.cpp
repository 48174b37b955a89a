#include "cubesolve/program.h"

#include <cstdio>

#include "cubesolve/controls.h"
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

bool startUp() {
    set_frame_rate(framesPerSecond);
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, windowTitle);
    // The raster is all this program draws; a missing OpenGL context (status -9) does not matter to it.
    if (graph_status() != grOk && graph_status() != grNoOpenGL) {
        std::fprintf(stderr, "cubesolve: %s\n", window_error());
        return false;
    }
    // Pages are flipped at the end of each frame, so the first frame draws on the page the window shows at
    // first; with direct refresh on, every cell of it would reach the screen one by one.
    present_frame(presentDirectOff);
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.drawPage = 0;
    state.mouseX = state.mouseY = state.buttons = 0;
    state.previousX = state.previousY = state.previousButtons = 0;
    state.pickedCubie = state.pickedFace = -1;
    state.dragStartCubie = state.dragStartFace = 0;
    cubie::seedRandom(state.puzzle, seed);
    resizeCube(cubeConfig.startGrid);
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

bool runFrame() {
    playFrames(0, 0, state.puzzle.stepSize, false);
    return actOnKey(take_key());
}

void shutDown() { close_window(); }

}  // namespace cubesolve
