#include "cubesolve/moves.h"

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

}  // namespace cubesolve
