// The solver cube: a 2 to 5 cube kept as geometry by the shared cubie model (twelve triangles a cubie), the
// sticker lookup by slot and axis on which the solver reads the cube, and the build at a given size.
//
// Frame of the solver: axis 0 runs from the down layer (i = 0) to the up layer, axis 1 from back (j = 0) to
// front, axis 2 from left (k = 0) to right. The solved cube shows down yellow, up white, back light magenta,
// front light red, left light blue and right green.
#pragma once

#include <cstdint>

#include "cubie/cubie.h"

namespace cubesolve {

// The cube spans -60 to +60 on every axis whatever N is.
inline constexpr int32_t cubeSpan = 120;

// Up to 5 x 5 x 5 cubies of twelve triangles, inset 2, turning 5 degrees a frame. Colours of the outer faces by
// face number of cubie::faceCorners (0 +z, 1 -z, 2 -x, 3 +x, 4 -y, 5 +y); by triangle group (-z, -x, +z, +x,
// -y, +y) they read 9, 14, 2, 15, 13, 12.
// clang-format off
inline constexpr cubie::CubieConfig cubeConfig{
    .maxGrid = 5, .startGrid = 3, .recordCount = 1500, .shape = cubie::FacetShape::triangle,
    .faceColours = {2, 9, 14, 15, 13, 12}, .inset = 2, .stepSize = 5, .restrictedRefile = false, .span = cubeSpan};
// clang-format on

using Model = cubie::CubieModel<cubeConfig>;
using Facet = Model::Facet;

inline constexpr int32_t smallestGrid = 2;
inline constexpr int32_t largestGrid = cubeConfig.maxGrid;

// Colour of a triangle that no sticker shows.
inline constexpr int32_t innerColour = cubie::innerColour;

// Rebuilds a solved cube of edge n (2 to 5): cubies of pitch 120 div n, no turn, no scramble.
void buildCube(Model& m, int32_t n);

// Colour of the sticker of slot (i, j, k) whose plane is perpendicular to axis, -1 when the slot has none on that
// axis (an inner slot, or a middle layer). Reads the points where they lie, so call it between turns.
int32_t slotSticker(const Model& m, int32_t i, int32_t j, int32_t k, int32_t axis);

}  // namespace cubesolve
