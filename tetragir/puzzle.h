// Sticker colours of the tetrahedron puzzle, the tables of stickers that travel together, and the turns.
//
// Sticker i = 9 * face + place. Face f lies opposite corner 3 - f. A place is one of the nine small triangles of a
// face, given by its corners in lattice thirds (a, b): face corner 0 + a/3 (face corner 1 - face corner 0)
// + b/3 (face corner 2 - face corner 0). Places 0, 4, 8 are the tips at face corners 0, 2, 1.
#pragma once

#include <array>
#include <cstdint>

namespace tetragir {

constexpr int32_t cornerCount = 4;
constexpr int32_t faceCount = 4;
constexpr int32_t placesPerFace = 9;
constexpr int32_t stickerCount = faceCount * placesPerFace;
constexpr int32_t layerCount = 12;  // 0-3 tip, 4-7 tip and middle layer, 8-11 layer at the opposite face

// Corners of each face: face corner 0, 1, 2.
constexpr int32_t tetraFaces[faceCount][3] = {
    {0, 2, 1},
    {0, 1, 3},
    {0, 3, 2},
    {1, 2, 3},
};

// Lattice corners (a, b) of each place, in drawing order.
// clang-format off
constexpr int32_t stickerCorners[placesPerFace][3][2] = {
    {{0, 0}, {1, 0}, {0, 1}},
    {{0, 1}, {1, 1}, {0, 2}},
    {{0, 1}, {1, 0}, {1, 1}},
    {{1, 0}, {2, 0}, {1, 1}},
    {{0, 2}, {1, 2}, {0, 3}},
    {{0, 2}, {1, 1}, {1, 2}},
    {{1, 1}, {2, 1}, {1, 2}},
    {{1, 1}, {2, 0}, {2, 1}},
    {{2, 0}, {3, 0}, {2, 1}},
};
// clang-format on

// In every table below, entries [v][0][c], [v][1][c], [v][2][c] are three stickers a turn about corner v carries
// into one another's places.

// The three tips at corner v.
// clang-format off
constexpr int32_t tipCycle[cornerCount][3] = {
    { 0, 18,  9},
    { 4, 17, 27},
    { 8, 35, 22},
    {13, 26, 31},
};
// clang-format on

// The layer next to corner v's tip, one row per face; read row after row it is a ring of nine, each sharing an
// edge with the next.
// clang-format off
constexpr int32_t middleBand[cornerCount][3][3] = {
    {{ 1,  2,  3}, {19, 20, 21}, {10, 11, 12}},
    {{ 6,  5,  1}, {12, 16, 15}, {28, 29, 30}},
    {{ 3,  7,  6}, {30, 34, 33}, {24, 23, 19}},
    {{15, 14, 10}, {21, 25, 24}, {33, 32, 28}},
};
// clang-format on

// The rows of five that the faces meeting at corner v have along the face opposite v.
// clang-format off
constexpr int32_t sideBand[cornerCount][3][5] = {
    {{ 4,  5,  6,  7,  8}, {22, 23, 24, 25, 26}, {13, 14, 15, 16, 17}},
    {{ 8,  7,  3,  2,  0}, { 9, 11, 10, 14, 13}, {31, 32, 33, 34, 35}},
    {{ 0,  2,  1,  5,  4}, {27, 29, 28, 32, 31}, {26, 25, 21, 20, 18}},
    {{17, 16, 12, 11,  9}, {18, 20, 19, 23, 22}, {35, 34, 30, 29, 27}},
};
// clang-format on

// The face opposite corner v, turning within itself.
// clang-format off
constexpr int32_t baseCycle[cornerCount][3][3] = {
    {{27, 29, 30}, {35, 34, 33}, {31, 32, 28}},
    {{18, 20, 21}, {26, 25, 24}, {22, 23, 19}},
    {{ 9, 11, 12}, {17, 16, 15}, {13, 14, 10}},
    {{ 0,  2,  3}, { 8,  7,  6}, { 4,  5,  1}},
};
// clang-format on

// Colour index (0-3, the face that shows it when solved) of every sticker: the whole puzzle state.
using Colours = std::array<int32_t, stickerCount>;

// A turn of a layer (0-11) by count thirds (1 or 2); count 0 means no turn.
struct Move {
    int32_t layer, count;
};

// The solved state: every sticker in its own face's colour.
void resetColours(Colours& colours);

// count thirds of a turn of layer (0-11), each +120 degrees right-handed about the axis from the layer's corner
// through the centre; count is taken modulo 3, so a negative count turns the other way.
void turn(Colours& colours, int32_t layer, int32_t count);

// Every tip by 0, 1 or 2 thirds, then one tip with its middle layer by one or two thirds; applied at once, drawn
// from the generator (play/random.h).
void scrambleStep(Colours& colours, uint64_t& random);

// The turn that a drag from sticker `from` onto its neighbour `to` asks for (tips first, then a middle band that
// holds the pair exactly once); count 0 for none, also when either is -1.
Move moveFromDrag(int32_t from, int32_t to);

}  // namespace tetragir
