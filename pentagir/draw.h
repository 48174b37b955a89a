// The camera and the OpenGL drawing of one frame.
#pragma once

#include <cstdint>

#include "pentagir/geometry.h"

namespace pentagir {

// The camera for a drawing area whose largest coordinates are lastX, lastY: a 4-degree vertical field of view,
// near 4, far 900, eye (0, 0, -30) looking at the origin, +y up.
void setupCamera(int32_t lastX, int32_t lastY);

// Where the camera's eye is, in the space OpenGL receives points in.
Vec3 eyePosition();

// OpenGL state for drawing through the camera, after setupCamera.
void setupProjection();

// Draws the puzzle for this frame: face frames, animation, then in two batched calls the fills and outlines of
// the stickers the picture needs (visibility.h), or of all 132 with state.everySticker; all 132 one primitive at a
// time when state.batchedDrawing is false.
void drawPuzzle();

// The same picture one primitive at a time (264 begin/end pairs): the reference the batched drawing is compared
// with.
void drawPuzzleImmediate();

// A whole frame's picture: clears the window, draws the puzzle and hands the commands to OpenGL.
void drawFrame();

}  // namespace pentagir
