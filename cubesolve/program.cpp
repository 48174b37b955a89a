#include "cubesolve/program.h"

#include "cubesolve/controls.h"
#include "cubesolve/draw.h"
#include "cubesolve/state.h"
#include "play/input.h"
#include "play/page_flip.h"
#include "play/program_window.h"
#include "window/window.h"

namespace cubesolve {
namespace {

void oneFrame(int32_t step) {
    Model& m = state.puzzle;
    ++state.framesRun;
    if (state.showFrames) {
        clear_page();
        play::takeMouse(state.pointer, play::readMouse(state.cellScale));
    }
    if (m.scrambleLeft > 0 && !m.turning) {
        m.turnStep = step;  // a random turn goes the way the caller's step says
        cubie::startRandomTurn(m);
    }
    if (m.turning) cubie::stepTurn(m);
    if (!state.showFrames) return;
    drawPicture();
    dragGesture();
    viewDrag();
    play::rememberMouse(state.pointer);
    // Draw on one page while the other is shown. The very first frame is drawn and never shown.
    play::flipPages(state.drawPage);
}

}  // namespace

bool startUp() {
    // The raster is all this program draws; a missing OpenGL context does not matter to it.
    if (!play::openProgramWindow("cubesolve", windowTitle, framesPerSecond, play::Drawing::pages)) return false;
    // Pages are flipped at the end of each frame, so the first frame draws on the page the window shows at
    // first; with direct refresh on, every cell of it would reach the screen one by one.
    present_frame(presentDirectOff);
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.drawPage = 0;
    state.pointer = {};
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

void shutDown() { play::closeProgramWindow(play::Drawing::pages); }

}  // namespace cubesolve
