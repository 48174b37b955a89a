// The OpenGL drawing of one frame: 36 filled stickers and their 8-pixel black outlines.
#pragma once

#include "scene/polygon_batch.h"

namespace tetragir {

constexpr float outlineWidth = 8.0f;

// Draws this frame's puzzle from the program state, the turning layer turned, part by part: all fills, then
// outlines that stay whole over their fills however steeply a face is seen. While a layer turns the puzzle is two
// convex parts on either side of the cut; the part beyond the cut is drawn first, then the depth buffer is cleared
// and the part on the eye's side is drawn over it, so the part in front can hide the other but never be hidden by
// it, and an outline of the part behind, pulled towards the eye, cannot show through it.
void drawPuzzle(scene::DrawingMode mode);

// A whole frame's picture: clears the window, draws the puzzle the way state.drawingMode says and hands the
// commands to OpenGL.
void drawFrame();

}  // namespace tetragir
