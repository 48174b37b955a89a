// The configurations the cubie model's tests, benchmark and fuzzer run: the three cuboid programs' own, and two
// more that stand for the other cube programs' sizes.
#pragma once

#include "cubie.h"
#include "cuboid/configs.h"

namespace cubie_test {

using cuboid::cuboidAConfig;
using cuboid::cuboidBConfig;
using cuboid::cuboidCConfig;
using cubie::CubieConfig;
using cubie::FacetShape;

// The largest grid the model must carry: up to 10 x 10 x 10 quads, inset 1, one degree per frame, re-filing only
// the slots that share a coordinate with the turned layer (the values of cube3d).
inline constexpr CubieConfig largeGridConfig{10, 10, 6000, FacetShape::quad, {12, 13, 9, 2, 15, 14}, 1, 1, true, 240};

// A cube of half the span, -60 to +60 with cellSize = 120 div N, N up to 5 in triangles (the values of cubesolve).
inline constexpr CubieConfig halfSpanConfig{
    5, 3, 1500, FacetShape::triangle, {2, 9, 14, 15, 13, 12}, 2, 5, false, 120};

}  // namespace cubie_test
