// The player's controls: the mouse and key input of a frame, the left-button drag that turns a layer, the
// right-button drag that orbits the camera, and the single-letter keys.
#pragma once

#include <cstdint>

#include "cubie/keys.h"
#include "play/input.h"

namespace cube3d {

// A frame reads the mouse once, then at most one key (0 for none): play::readOneKey.
using play::FrameInput;

// The letters of the cube keys: x, z and c make the puzzle one cubie thinner along x, y and z. Escape (keyEscape)
// ends the program.
inline constexpr cubie::KeyLetters keyLetters{
    .scramble = 'a', .save = 'k', .load = 'l', .size = 's', .shapeX = 'x', .shapeY = 'z', .shapeZ = 'c'};

// Press over a facet records the drag's start; release over another cubie turns the layer the drag chooses.
// Runs after the picture, when this frame has picked a facet with a known face.
void dragGesture();

// With the right button alone held, one degree of yaw and pitch per pixel of mouse motion since the last frame.
void orbit();

// Acts on the frame's key. A key without a character arrives as the byte 0 and a code; the code stands in for the
// key, so the close button's 0, 107 acts as the save key. Returns false when the program should end (Escape);
// shutDown closes the window.
bool actOnKey(uint8_t key);

// Builds the puzzle afresh (or from the save file when a load was requested) and, when that succeeded, puts the
// camera back at its start. A failed load changes nothing at all: puzzle, camera, running turn and scramble stay.
bool rebuild();

}  // namespace cube3d
