// The player's controls: the left-button drag that turns a layer, the right-button drag that turns the view, and
// the keys.
#pragma once

#include <cstdint>

#include "cubie/keys.h"

namespace cubesolve {

// The letters of the cube keys this program has: a queues thirty random quarter turns, one per main-loop round;
// s sets the next size. Upper-case letters do nothing; Escape (keyEscape) ends the program.
inline constexpr cubie::KeyLetters keyLetters{.scramble = 'a', .size = 's'};

// The program's own keys: a pattern, and the solve of the 3-cube.
inline constexpr uint8_t keyPattern = 'm';
inline constexpr uint8_t keySolve = 'r';

// Press over a sticker records the drag's start; release over another cubie turns the layer the drag chooses.
// Runs after drawing, when this frame has picked a triangle.
void dragGesture();

// With the right button alone held, one degree of view turn per cell of mouse motion since the last frame. The
// angles are kept in 0 to 359, so no amount of dragging overflows them.
void viewDrag();

// Wraps an angle in whole degrees into 0 to 359.
int32_t wrapDegrees(int64_t angle);

// Acts on one key byte. Returns false for Escape; shutDown closes the window.
bool actOnKey(uint8_t key);

// Rebuilds a solved cube of edge n with the start view, as the size key leaves it.
void resizeCube(int32_t n);

}  // namespace cubesolve
