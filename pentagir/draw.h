// The OpenGL drawing of one frame: 132 filled stickers and their black outlines.
#pragma once

#include "scene/polygon_batch.h"

namespace pentagir {

// Draws this frame's puzzle from the program state: the face frames, the turning layer turned, then the fills and
// outlines of the stickers the picture needs (visibility.h), or of all 132 unless the mode is batched.
void drawPuzzle(scene::DrawingMode mode);

// A whole frame's picture: clears the window, draws the puzzle the way state.drawingMode says and hands the
// commands to OpenGL.
void drawFrame();

}  // namespace pentagir
