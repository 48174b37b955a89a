#include "cubesolve/moves.h"

#include "cubesolve/program.h"
#include "cubesolve/state.h"

namespace cubesolve {

bool letterTurn(char c, LetterTurn& turn, int32_t& direction) {
    const bool lower = c >= 'a' && c <= 'z';
    const char upper = lower ? static_cast<char>(c - 'a' + 'A') : c;
    for (const LetterTurn& t : letterTurns)
        if (t.letter == upper) {
            turn = t;
            direction = lower ? -1 : +1;
            return true;
        }
    return false;
}

void runMoves(const char* moves) {
    for (int32_t at = 0; at < maxMoveString && moves[at] != '\0'; ++at) {
        LetterTurn turn;
        int32_t direction;
        if (!letterTurn(moves[at], turn, direction)) continue;
        if (state.logMoves && state.moveLogLength < moveLogCapacity) state.moveLog[state.moveLogLength++] = moves[at];
        playFrames(turn.axis, turn.layer, direction * turn.sign * state.puzzle.stepSize, true);
        ++state.lettersPlayed;
    }
}

}  // namespace cubesolve
