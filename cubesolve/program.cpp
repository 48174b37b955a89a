#include "cubesolve/program.h"

#include <cstdio>

#include "cubesolve/frame.h"
#include "cubesolve/solver.h"
#include "cubesolve/state.h"
#include "window/window.h"

namespace cubesolve {

ProgramState state;

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

void resizeCube(int32_t n) {
    state.cellScale = startCellScale;
    for (int32_t a = 0; a < 3; ++a) state.viewAngle[a] = startViewAngle[a];
    buildCube(state.puzzle, n);
    for (CellPoint& p : state.screenVertex) p = CellPoint{};
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

bool actOnKey(uint8_t key) {
    if (key == keyEscape) return false;
    if (key == keyPattern) playPattern();
    if (key == keySolve && state.puzzle.gridSize == 3) solveCube();
    // The size key sets the next size (2 after 5); resizeCube builds it with the start view.
    if (cubie::applyKeyAction(state.puzzle, cubie::keyAction(keyLetters, key))) resizeCube(state.puzzle.gridSize);
    return true;
}

bool runFrame() {
    playFrames(0, 0, state.puzzle.stepSize, false);
    return actOnKey(take_key());
}

void shutDown() { close_window(); }

}  // namespace cubesolve
