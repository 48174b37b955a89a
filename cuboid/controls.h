// The player's controls: the mouse and key input of a frame, the left-button drag that turns a layer, the
// right-button drag that turns the view, and the single-letter keys.
#pragma once

#include <cstdint>

#include "cubie/keys.h"
#include "play/input.h"

namespace cuboid {

// A frame reads the mouse once, then at most one key (0 for none): play::readOneKey.
using play::FrameInput;

// The letters of the cube keys: z, x and c make the puzzle one cubie thinner along x, y and z. Escape (keyEscape)
// ends the program.
inline constexpr cubie::KeyLetters keyLetters{
    .scramble = 'a', .save = 'k', .load = 'l', .size = 's', .shapeX = 'z', .shapeY = 'x', .shapeZ = 'c'};

// cuboid-a's key that shows the puzzle as dice and back; the other two ignore it.
inline constexpr uint8_t keyDice = 'd';

// Press over a facet records the drag's start; release over another cubie turns the layer the drag chooses.
// Runs after painting, when this frame has picked a facet with a known face.
void dragGesture();

// With the right button alone held, one degree of view turn per pixel of mouse motion since the last frame.
void viewDrag();

// Acts on the frame's key. A key without a character arrives as the byte 0 and a code; the code stands in for the
// key, so the close button's 0, 107 acts as the save key. Returns false when the program should end (Escape);
// shutDown closes the window.
bool actOnKey(uint8_t key);

// Builds the puzzle afresh (or from the save file when a load was requested) and, when that succeeded, turns the
// view back to its start and clears the projected points. A failed load changes nothing at all.
bool rebuild();

}  // namespace cuboid
