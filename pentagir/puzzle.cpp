#include "pentagir/puzzle.h"

#include <cstdint>

#include "pentagir/state.h"
#include "play/random.h"

namespace pentagir {
namespace {

// One fifth of a turn, forward (colour of g[j+1] to g[j]) or backward (g[j] to g[j+1]), on all five cycle groups.
void step(const int32_t* row, bool forward) {
    for (int32_t group = 0; group < 5; ++group) {
        const int32_t* g = row + 5 * group;
        if (forward) cycle5(g[0], g[1], g[2], g[3], g[4]);
        else cycle5(g[4], g[3], g[2], g[1], g[0]);
    }
}

}  // namespace

void resetColours() {
    for (int32_t s = 0; s < stickerCount; ++s) state.stickerColour[s] = s / stickersPerFace;
}

void cycle5(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) {
    int32_t* colour = state.stickerColour;
    int32_t first = colour[a];
    colour[a] = colour[b];
    colour[b] = colour[c];
    colour[c] = colour[d];
    colour[d] = colour[e];
    colour[e] = first;
}

void turn(int32_t row, int32_t k) {
    if (row < 0 || row >= faceCount) return;
    k %= 5;
    // Two steps at most: k = 3 and 4 are done as two and one backward steps.
    int32_t steps = k < 5 - k ? k : 5 - k;
    for (int32_t i = 0; i < steps; ++i) step(turnTable[row], k <= 2);
}

void scrambleStep() {
    // The fifths are drawn before the row, so a seed replays the same scramble.
    int32_t k = 1 + play::randomBelow(state.randomState, 4);
    int32_t row = play::randomBelow(state.randomState, faceCount);
    turn(row, k);
}

}  // namespace pentagir
