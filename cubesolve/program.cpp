#include "cubesolve/program.h"

#include "cubesolve/controls.h"
#include "cubesolve/player.h"
#include "cubesolve/state.h"
#include "play/program_window.h"
#include "play/session.h"
#include "window/window.h"

namespace cubesolve {

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

bool runFrame() {
    playRound();
    return actOnKey(takeKey());
}

void shutDown() { play::closeProgramWindow(play::Drawing::pages); }

uint64_t stateDigest() {
    play::Digest digest;
    cubie::addToDigest(digest, state.puzzle);
    digest.add(state.viewAngle);
    digest.add(state.cellScale);
    return digest.value;
}

}  // namespace cubesolve
