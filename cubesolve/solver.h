// The layer-by-layer solver of the 3-cube and the eight patterns. The solver never searches: each stage reads a
// few stickers, compares them with the centres, and plays the move string its rules prescribe, every letter
// animated. Between passes the whole cube turns a quarter about the vertical axis ("diU"), so the rules only look
// at the front, front-right and up-front-right positions.
#pragma once

#include <cstdint>

namespace cubesolve {

// A stage ends once its goal has been counted four times, when a key is waiting after a pass, or after this
// many passes. A solvable cube needs at most about two dozen passes in a stage; the bound only stops a stage
// that cannot finish (a cube an earlier stage cut short left unfinished, or two up corners swapped).
inline constexpr int32_t maxPasses = 96;

// The loops that turn until a sticker shows up give up after this many turns and end their stage: on a cube the
// earlier stages finished, four turns always find it.
inline constexpr int32_t maxRepeats = 4;

// Solves a 3-cube: stages 1 to 7 in order (down edges, down corners, middle edges, up edges into place, up
// corners into place, up corners turned, up edges turned). A key pressed meanwhile ends the running stage after
// its pass, and every later stage runs one pass; the key is left waiting for the main loop. Always ends.
void solveCube();

// The eight pattern strings; playPattern plays one of them.
// clang-format off
inline constexpr const char* patterns[8] = {
    "fuBUUbURUUrFBDfDDFdlDDLb",
    "BRldRRDrLbRRUBBuDRRd",
    "RUFFdRlFbdfrFFRUUFRRfrufUUFR",
    "lRRflbUBLFRuRL",
    "LLFFRRLLFFRRFB",
    "IJij",
    "FBRLFBRLFBRLUDUD",
    "FFRRBBLLFFRRBBLLFFRRBBLL",
};
// clang-format on

// Plays a pattern chosen at random; on any size (the letters turn layers 0 to 2).
void playPattern();

// Plays pattern r (0 to 7); nothing for any other r.
void playPatternNumber(int32_t r);

}  // namespace cubesolve
