#include "cubesolve/player.h"

#include "cubesolve/controls.h"
#include "cubesolve/draw.h"
#include "cubesolve/moves.h"
#include "cubesolve/state.h"
#include "play/input.h"
#include "play/page_flip.h"
#include "window/window.h"

namespace cubesolve {
namespace {

// A scramble's next random turn starts in the first frame with no turn running, and goes stepSize degrees a
// frame; then the running turn takes its step.
void advanceTurn() {
    Model& m = state.puzzle;
    if (m.scrambleLeft > 0 && !m.turning) {
        m.turnStep = m.stepSize;
        cubie::startRandomTurn(m);
    }
    if (m.turning) cubie::stepTurn(m);
}

// One frame, in this order: the mouse, the turn's step, the picture and its pick, the gestures on that pick, the
// page flip. Headless, the turn's step alone.
void frame() {
    ++state.probe.framesRun;
    if (state.probe.headless) {
        advanceTurn();
        return;
    }
    clear_page();
    play::takeMouse(state.pointer, play::readMouse(state.cellScale));
    advanceTurn();
    drawPicture();
    dragGesture();
    viewDrag();
    play::rememberMouse(state.pointer);
    // Draw on one page while the other is shown. The very first frame is drawn and never shown.
    play::flipPages(state.drawPage);
}

// A turn that starts in a frame runs on frame by frame until it has ended.
void framesUntilStill() {
    do frame();
    while (state.puzzle.turning);
}

void logLetter(char letter) {
    ProbeSwitches& probe = state.probe;
    if (probe.logMoves && probe.moveLogLength < moveLogCapacity) probe.moveLog[probe.moveLogLength++] = letter;
}

}  // namespace

void playTurn(int32_t axis, int32_t layer, int32_t step) {
    Model& m = state.puzzle;
    m.turnAxis = axis;
    m.turnLayer = layer;
    m.turnStep = step;
    m.turnAngle = 0;
    m.turning = true;
    framesUntilStill();
}

void playRound() { framesUntilStill(); }

uint8_t takeKey() { return take_key(); }

void runMoves(const char* moves) {
    for (int32_t at = 0; at < maxMoveString && moves[at] != '\0'; ++at) {
        LetterTurn turn;
        int32_t direction;
        if (!letterTurn(moves[at], turn, direction)) continue;
        logLetter(moves[at]);
        playTurn(turn.axis, turn.layer, direction * turn.sign * state.puzzle.stepSize);
        ++state.probe.lettersPlayed;
    }
}

bool keyPending() {
    const ProbeSwitches& probe = state.probe;
    if (probe.keyAfterLetters >= 0 && probe.lettersPlayed >= probe.keyAfterLetters) return true;
    return key_waiting();
}

}  // namespace cubesolve
