#include "pentagir/puzzle.h"

#include <cstdint>

#include "play/random.h"

namespace pentagir {
namespace {

// Colour at b goes to a, c to b, d to c, e to d, a to e.
void cycle5(Colours& colours, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) {
    int32_t first = colours[a];
    colours[a] = colours[b];
    colours[b] = colours[c];
    colours[c] = colours[d];
    colours[d] = colours[e];
    colours[e] = first;
}

// One fifth of a turn, forward (colour of g[j+1] to g[j]) or backward (g[j] to g[j+1]), on all five cycle groups.
void step(Colours& colours, const int32_t* row, bool forward) {
    for (int32_t group = 0; group < 5; ++group) {
        const int32_t* g = row + 5 * group;
        if (forward) cycle5(colours, g[0], g[1], g[2], g[3], g[4]);
        else cycle5(colours, g[4], g[3], g[2], g[1], g[0]);
    }
}

}  // namespace

void resetColours(Colours& colours) {
    for (int32_t s = 0; s < stickerCount; ++s) colours[s] = s / stickersPerFace;
}

void turn(Colours& colours, int32_t layer, int32_t count) {
    if (layer < 0 || layer >= layerCount) return;
    count %= 5;
    // Two steps at most: counts 3 and 4 are done as two and one backward steps.
    int32_t steps = count < 5 - count ? count : 5 - count;
    for (int32_t i = 0; i < steps; ++i) step(colours, turnTable[layer], count <= 2);
}

void scrambleStep(Colours& colours, uint64_t& random) {
    // The fifths are drawn before the layer, so a seed replays the same scramble.
    int32_t count = 1 + play::randomBelow(random, 4);
    int32_t layer = play::randomBelow(random, layerCount);
    turn(colours, layer, count);
}

Move moveFromDrag(int32_t from, int32_t to) {
    for (int32_t layer = 0; layer < layerCount; ++layer) {
        for (int32_t q = 0; q < ringLength; ++q) {
            int32_t a = ringSticker(layer, q), b = ringSticker(layer, (q + ringLength - 1) % ringLength);
            if (from == a && to == b) return {layer, 1};
            if (from == b && to == a) return {layer, 4};
        }
    }
    return {0, 0};
}

}  // namespace pentagir
