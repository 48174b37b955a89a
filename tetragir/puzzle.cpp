#include "tetragir/puzzle.h"

#include <cassert>

#include "play/random.h"

namespace tetragir {

namespace {

// New colour of x is the old colour of y, y gets z's, z gets x's.
void cycle3(Colours& colours, int32_t x, int32_t y, int32_t z) {
    int32_t first = colours[x];
    colours[x] = colours[y];
    colours[y] = colours[z];
    colours[z] = first;
}

// Every column of a table of three rows, cycled t thirds (1 or 2).
template <int32_t Columns>
void cycleColumns(Colours& colours, const int32_t (&rows)[3][Columns], int32_t t) {
    for (int32_t c = 0; c < Columns; ++c) cycle3(colours, rows[0][c], rows[t][c], rows[3 - t][c]);
}

// Reads a band's three rows as one ring of nine.
constexpr int32_t bandEntry(int32_t v, int32_t c) { return middleBand[v][c / 3][c % 3]; }

}  // namespace

void resetColours(Colours& colours) {
    for (int32_t i = 0; i < stickerCount; ++i) colours[i] = i / placesPerFace;
}

void turn(Colours& colours, int32_t layer, int32_t count) {
    assert(layer >= 0 && layer < layerCount && "a layer is 0 to 11");
    int32_t t = (count % 3 + 3) % 3;
    if (t == 0) return;
    int32_t v = layer % 4;
    if (layer < 8) {
        cycle3(colours, tipCycle[v][0], tipCycle[v][t], tipCycle[v][3 - t]);
        if (layer >= 4) cycleColumns(colours, middleBand[v], t);
    } else {
        cycleColumns(colours, sideBand[v], t);
        cycleColumns(colours, baseCycle[v], t);
    }
}

void scrambleStep(Colours& colours, uint64_t& random) {
    for (int32_t v = 0; v < cornerCount; ++v) turn(colours, v, play::randomBelow(random, 3));
    int32_t count = 1 + play::randomBelow(random, 2);  // drawn before the corner, so a seed replays the same scramble
    int32_t layer = 4 + play::randomBelow(random, 4);
    turn(colours, layer, count);
}

Move moveFromDrag(int32_t from, int32_t to) {
    if (from < 0 || to < 0) return {0, 0};
    for (int32_t v = 0; v < cornerCount; ++v)
        for (int32_t c = 0; c < 3; ++c) {
            if (tipCycle[v][c] != from) continue;
            if (tipCycle[v][(c + 2) % 3] == to) return {v, 1};
            if (tipCycle[v][(c + 1) % 3] == to) return {v, 2};
        }
    // The two edge middles facing each other across an edge of the tetrahedron are neighbours in the bands of
    // both the edge's corners: such a drag names no one turn and is ignored.
    int32_t matches = 0;
    Move found{0, 0};
    for (int32_t v = 0; v < cornerCount; ++v)
        for (int32_t c = 0; c < 9; ++c) {
            if (bandEntry(v, c) != from) continue;
            if (bandEntry(v, (c + 8) % 9) == to) {
                ++matches;
                found = {4 + v, 1};
            }
            if (bandEntry(v, (c + 1) % 9) == to) {
                ++matches;
                found = {4 + v, 2};
            }
        }
    return matches == 1 ? found : Move{0, 0};
}

}  // namespace tetragir
