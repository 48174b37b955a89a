#include "cube3d/program.h"

#include "cube3d/draw.h"
#include "cube3d/state.h"
#include "play/program_window.h"
#include "play/session.h"
#include "window/window.h"

namespace cube3d {

bool startUp() {
    // Without OpenGL drawing every frame would show nothing: the program ends instead, as the others do.
    if (!play::openProgramWindow("cube3d", windowTitle, framesPerSecond, play::Drawing::openGl)) return false;
    state.glDrawing = true;
    state.areaWidth = window_last_x() + 1;
    state.areaHeight = window_last_y() + 1;
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.pointer = {};
    state.dragStartCubie = state.dragStartFace = 0;
    state.pickedCubie = state.pickedFace = -1;
    cubie::startPuzzle(state.puzzle, seed);
    rebuild();
}

bool playFrame(const FrameInput& input) {
    play::takeMouse(state.pointer, input);
    cubie::advanceTurn(state.puzzle);
    const play::Pointer& pointer = state.pointer;
    drawCube(cubie::pickAllowed(state.puzzle.turning, pointer.buttons, pointer.previousButtons), pointer.mouseX,
             pointer.mouseY);
    dragGesture();
    orbit();
    play::rememberMouse(state.pointer);
    return actOnKey(input.key);
}

bool runFrame() { return playFrame(play::readOneKey()); }

void shutDown() {
    play::closeProgramWindow(play::Drawing::openGl);
    state.glDrawing = false;
}

uint64_t stateDigest() {
    play::Digest digest;
    cubie::addToDigest(digest, state.puzzle);
    digest.add(state.cameraYaw);
    digest.add(state.cameraPitch);
    return digest.value;
}

}  // namespace cube3d
