#include "cube3d/program.h"

#include <cstdio>

#include "cube3d/config.h"
#include "cube3d/state.h"
#include "cube3d/view.h"
#include "window/window.h"

namespace cube3d {

bool startUp() {
    set_frame_rate(framesPerSecond);
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, windowTitle);
    if (graph_status() != grOk) {
        std::fprintf(stderr, "cube3d: %s\n", window_error());
        close_window();  // a window without OpenGL stays open otherwise
        return false;
    }
    set_gl_drawing(true);
    state.glDrawing = graph_status() == grOk;
    state.areaWidth = window_last_x() + 1;
    state.areaHeight = window_last_y() + 1;
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.mouseX = state.mouseY = state.buttons = 0;
    state.previousX = state.previousY = state.previousButtons = 0;
    state.dragStartCubie = state.dragStartFace = 0;
    state.pickedCubie = state.pickedFace = -1;
    cubie::seedRandom(state.puzzle, seed);
    cubie::resetGrid(state.puzzle);
    rebuild();
}

bool playFrame(const FrameInput& input) {
    state.mouseX = input.mouseX;
    state.mouseY = input.mouseY;
    state.buttons = input.buttons;
    cubie::advanceTurn(state.puzzle);
    drawCube(cubie::pickAllowed(state.puzzle.turning, state.buttons, state.previousButtons), state.mouseX,
             state.mouseY);
    dragGesture();
    orbit();
    state.previousX = state.mouseX;
    state.previousY = state.mouseY;
    state.previousButtons = state.buttons;
    return actOnKey(input.key);
}

bool runFrame() { return playFrame(readInput()); }

void shutDown() {
    set_gl_drawing(false);
    close_window();
    state.glDrawing = false;
}

}  // namespace cube3d
