#include "cuboid/program.h"

#include <cstdio>

#include "cuboid/state.h"
#include "cuboid/view.h"
#include "window/window.h"

namespace cuboid {
namespace {

// Paint the hidden page while the one painted last frame is shown.
void flipPages() {
    select_draw_page(state.drawPage);
    state.drawPage = static_cast<int16_t>(1 - state.drawPage);
    select_shown_page(state.drawPage);
    clear_page();
}

}  // namespace

bool startUp() {
    set_frame_rate(framesPerSecond);
    int16_t driver = driverPalette, mode = size640x480;
    open_window(driver, mode, windowTitle);
    // The window is all these programs need; a missing OpenGL context (status -9) does not matter to them.
    if (graph_status() != grOk && graph_status() != grNoOpenGL) {
        std::fprintf(stderr, "%s: %s\n", variant.name, window_error());
        return false;
    }
    state.centreX = window_last_x() / 2.0;
    state.centreY = window_last_y() / 2.0;
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.drawPage = 0;
    state.mouseX = state.mouseY = state.buttons = 0;
    state.previousX = state.previousY = state.previousButtons = 0;
    state.dragStartCubie = state.dragStartFace = 0;
    state.pickedCubie = state.pickedFace = -1;
    state.diceMode = false;
    cubie::seedRandom(state.puzzle, seed);
    cubie::resetGrid(state.puzzle);
    rebuild();
}

bool playFrame(const FrameInput& input) {
    state.mouseX = input.mouseX;
    state.mouseY = input.mouseY;
    state.buttons = input.buttons;
    cubie::advanceTurn(state.puzzle);
    projectVertices();
    sortFacets();
    drawFacets();
    dragGesture();
    viewDrag();
    state.previousX = state.mouseX;
    state.previousY = state.mouseY;
    state.previousButtons = state.buttons;
    return actOnKey(input.key);
}

bool runFrame() {
    flipPages();
    return playFrame(readInput());
}

void shutDown() { close_window(); }

}  // namespace cuboid
