#include "pentagir/puzzle.h"

#include <cstdint>

#include "pentagir/state.h"

namespace pentagir {
namespace {

// xorshift64*: small, fast and uniform enough for scrambling; no allocation, no global library state.
uint64_t nextRandom() {
    uint64_t& r = state.randomState;
    r ^= r >> 12;
    r ^= r << 25;
    r ^= r >> 27;
    return r * 0x2545F4914F6CDD1Dull;
}

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
    int32_t k = 1 + randomBelow(4);  // drawn before the row, so a seed replays the same scramble
    int32_t row = randomBelow(faceCount);
    turn(row, k);
}

void seedRandom(uint32_t seed) {
    state.randomState = 0x9E3779B97F4A7C15ull ^ seed;
    if (state.randomState == 0) state.randomState = 1;
    nextRandom();
}

int32_t randomBelow(int32_t n) {
    if (n <= 0) return 0;
    // Rejection keeps every value equally likely.
    uint64_t range = static_cast<uint64_t>(n);
    uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    uint64_t r = nextRandom();
    while (r >= limit) r = nextRandom();
    return static_cast<int32_t>(r % range);
}

}  // namespace pentagir
