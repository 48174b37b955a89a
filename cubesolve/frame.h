// The frame routine: everything the program does in one frame, and the turn that runs frames until it ends.
#pragma once

#include <cstdint>

namespace cubesolve {

// With startTurn, begins a quarter turn of the given axis and layer at step degrees a frame and runs frames until
// it has ended. Without, runs one frame, or, when a random or dragged turn starts in it, frames until that turn
// has ended; a random turn takes step as its step. Each frame draws the cube, picks, and follows the mouse.
void playFrames(int32_t axis, int32_t layer, int32_t step, bool startTurn);

// Reads the mouse into the state: position in cells, buttons as the layer's mask.
void readMouse();

// Press over a sticker records the drag's start; release over another cubie turns the layer the drag chooses.
// Runs after drawing, when this frame has picked a triangle.
void dragGesture();

// With the right button alone held, one degree of view turn per cell of mouse motion since the last frame. The
// angles are kept in 0 to 359, so no amount of dragging overflows them.
void viewDrag();

// Wraps an angle in whole degrees into 0 to 359.
int32_t wrapDegrees(int64_t angle);

}  // namespace cubesolve
