#include "cuboid/program.h"

#include "cuboid/draw.h"
#include "cuboid/state.h"
#include "play/page_flip.h"
#include "play/program_window.h"
#include "play/session.h"
#include "window/window.h"

namespace cuboid {

bool startUp() {
    // The window is all these programs need; a missing OpenGL context does not matter to them.
    if (!play::openProgramWindow(variant.name, windowTitle, framesPerSecond, play::Drawing::pages)) return false;
    state.centreX = window_last_x() / 2.0;
    state.centreY = window_last_y() / 2.0;
    resetProgram(tick_count());
    return true;
}

void resetProgram(uint32_t seed) {
    state.drawPage = 0;
    state.pointer = {};
    state.dragStartCubie = state.dragStartFace = 0;
    state.pickedCubie = state.pickedFace = -1;
    state.diceMode = false;
    cubie::startPuzzle(state.puzzle, seed);
    rebuild();
}

bool playFrame(const FrameInput& input) {
    play::takeMouse(state.pointer, input);
    cubie::advanceTurn(state.puzzle);
    drawPicture();
    dragGesture();
    viewDrag();
    play::rememberMouse(state.pointer);
    return actOnKey(input.key);
}

bool runFrame() {
    // Paint the hidden page, from blank, while the one painted last frame is shown.
    play::flipPages(state.drawPage);
    clear_page();
    return playFrame(play::readOneKey());
}

void shutDown() { play::closeProgramWindow(play::Drawing::pages); }

uint64_t stateDigest() {
    play::Digest digest;
    cubie::addToDigest(digest, state.puzzle);
    digest.add(state.viewAngle);
    digest.add(state.diceMode);
    return digest.value;
}

}  // namespace cuboid
