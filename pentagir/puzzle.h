// The dodecahedron puzzle's rules: sticker numbering, the turn table, layer turns and the scramble.
//
// Sticker s = 11 * face + position. Positions 0, 2, 4, 6, 8 are the corner stickers (position 2i at template
// corner i), odd positions the edge stickers (2i + 1 on the edge from corner i to corner i + 1), 10 the centre.
#pragma once

#include <array>
#include <cstdint>

namespace pentagir {

constexpr int32_t faceCount = 12;
constexpr int32_t layerCount = faceCount;  // one turning layer for each row of turnTable
constexpr int32_t stickersPerFace = 11;
constexpr int32_t stickerCount = faceCount * stickersPerFace;
constexpr int32_t rowLength = 26;   // 5 corners, 5 edges, 15 neighbour stickers, the centre
constexpr int32_t ringLength = 15;  // neighbour stickers around a turned face
constexpr int32_t centrePosition = 10;

// One row per turn axis (the face the axis passes through); the layer that moves is the opposite face's.
// Entries 0-4: turned face corners 8, 6, 4, 2, 0; 5-9: its edges 9, 7, 5, 3, 1; 10+c, 15+c, 20+c: corner, edge,
// corner of neighbour column c along the shared edge; 25: the turned face's centre (moves, never changes colour).
// clang-format off
constexpr int32_t turnTable[faceCount][rowLength] = {
    { 74,  72,  70,  68,  66,   75,  73,  71,  69,  67,   83, 127, 116, 105,  94,   84, 128, 117, 106,  95,   85, 129, 118, 107,  96,   76},
    { 96,  94,  92,  90,  88,   97,  95,  93,  91,  89,   33,  81,  72, 107,  46,   34,  82,  73, 108,  47,   35,  83,  74,  99,  48,   98},
    {107, 105, 103, 101,  99,  108, 106, 104, 102, 100,   44,  92,  74, 118,  57,   45,  93,  75, 119,  58,   46,  94,  66, 110,  59,  109},
    {118, 116, 114, 112, 110,  119, 117, 115, 113, 111,   66, 129,  13,  55, 103,   67, 130,  14,  56, 104,   68, 121,  15,  57, 105,  120},
    {129, 127, 125, 123, 121,  130, 128, 126, 124, 122,   11, 114,  68,  85,  24,   12, 115,  69,  86,  25,   13, 116,  70,  77,  26,  131},
    { 85,  83,  81,  79,  77,   86,  84,  82,  80,  78,   22, 125,  70,  96,  35,   23, 126,  71,  97,  36,   24, 127,  72,  88,  37,   87},
    {  8,   6,   4,   2,   0,    9,   7,   5,   3,   1,   28,  39,  50,  61,  17,   29,  40,  51,  62,  18,   30,  41,  52,  63,  19,   10},
    { 63,  61,  59,  57,  55,   64,  62,  60,  58,  56,    4,  52, 101, 110,  15,    5,  53, 102, 111,  16,    6,  44, 103, 112,  17,   65},
    { 19,  17,  15,  13,  11,   20,  18,  16,  14,  12,    2,  63, 112, 121,  26,    3,  64, 113, 122,  27,    4,  55, 114, 123,  28,   21},
    { 30,  28,  26,  24,  22,   31,  29,  27,  25,  23,    0,  19, 123,  77,  37,    1,  20, 124,  78,  38,    2,  11, 125,  79,  39,   32},
    { 41,  39,  37,  35,  33,   42,  40,  38,  36,  34,    8,  30,  79,  88,  48,    9,  31,  80,  89,  49,    0,  22,  81,  90,  50,   43},
    { 52,  50,  48,  46,  44,   53,  51,  49,  47,  45,    6,  41,  90,  99,  59,    7,  42,  91, 100,  60,    8,  33,  92, 101,  61,   54},
};
// clang-format on

// Sticker at ring position q (0-14) of a row: column by column, each column's corner, edge and corner.
constexpr int32_t ringSticker(int32_t row, int32_t q) { return turnTable[row][10 + 5 * (q % 3) + q / 3]; }

// Colour index (0-11, the face that shows it when solved) of every sticker: the whole puzzle state.
using Colours = std::array<int32_t, stickerCount>;

// A turn of a layer (a row of turnTable, 0-11) by count fifths (1 or 4); count 0 means no turn.
struct Move {
    int32_t layer, count;
};

// The solved state: every sticker in its own face's colour.
void resetColours(Colours& colours);

// count fifths of a turn of layer (+72 degrees each, right hand about the axis through face layer); count is taken
// modulo 5 with truncation, so a negative count changes nothing.
void turn(Colours& colours, int32_t layer, int32_t count);

// One random turn, applied at once, drawn from the generator (play/random.h).
void scrambleStep(Colours& colours, uint64_t& random);

// The turn that a drag from sticker `from` onto `to` asks for: count 1 or 4 when the two are neighbours in the ring
// of a layer, 0 otherwise.
Move moveFromDrag(int32_t from, int32_t to);

}  // namespace pentagir
