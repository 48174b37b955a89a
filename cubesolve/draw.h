// The picture: the corner points projected onto the 320 x 200 cell raster, the triangles sorted far to near, and
// every triangle that faces the viewer filled cell by cell, each cell a 3 x 3 pixel square of the window. The pick
// (the triangle under the cursor) falls out of the drawing.
#pragma once

#include <cstdint>

#include "cubesolve/state.h"

namespace cubesolve {

// Projects every corner point through the view angles and the perspective (eye 200 units away, scale 128) onto
// the raster centred at cell (160, 100), into state.screenVertex.
void projectVertices();

// Orders the records far to near by the sum of their three depths, in the exchange sort's order exactly
// (cubie::sortByDepth).
void sortFacets();

// Fills every record that faces the viewer, in array order, and picks the nearest triangle under the cursor
// (only when no turn runs and the left button is or was down).
void drawFacets();

// The frame's picture and pick: projectVertices, sortFacets, drawFacets.
void drawPicture();

// Scanline fill of a triangle on the raster, each painted cell through plotCell; runs are painted from their
// smaller to their larger x, and only cells on the raster are painted.
void fillTriangle(int32_t colour, const CellPoint& p0, const CellPoint& p1, const CellPoint& p2);

// Paints one cell as the square of window pixels from (x, y) * cellScale to (x + 1, y + 1) * cellScale, both
// corners included, so neighbouring cells overlap by one pixel.
void plotCell(int32_t x, int32_t y, int32_t colour);

// Cross product that decides whether a triangle faces the viewer (negative) on the raster.
double facingCross(const CellPoint& p0, const CellPoint& p1, const CellPoint& p2);

}  // namespace cubesolve
